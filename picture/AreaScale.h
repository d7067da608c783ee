#pragma once

#include <QImage>
#include <QSize>

#include <functional>
#include <span>

namespace rova {

// Fills `out` with the colours of source row `row`, out.size() of them.
using RowReader = std::function<void(int row, std::span<QRgb> out)>;

// Resamples a picture of `sourceSize` to `targetSize` by area averaging: each target pixel is
// the mean colour of the part of the source it covers, each source pixel weighted by how much of
// it lies under the target pixel, rounded per channel. Enlarging by a whole factor repeats
// pixels; shrinking blends them. The source is read row by row, each row once or twice.
// Returns an RGB32 image, or a null image when a size is empty or memory runs out.
QImage scaleByAreaAverage(QSize sourceSize, const RowReader& readRow, QSize targetSize);

}  // namespace rova
