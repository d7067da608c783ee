#include "PictureEdits.h"

#include <QPainter>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "PictureDC.h"
#include "StoredValues.h"

namespace rova {

namespace {

// Fills the picture with the entry nearest to the colour, without notification: the pictures
// filled here are results still being built.
bool fillQuietly(Picture& picture, ColourRef colour) {
    PictureDC dc;
    if (!dc.open(picture)) {
        return false;
    }
    dc.painter().fillRect(0, 0, picture.width(), picture.height(), QColor::fromRgb(rgbOf(colour)));
    return dc.release(false);
}

// Copies stored values 1:1 from `from` in the source to `to` in the target, clipped to both;
// the two must have the same bit count.
void copyValues(const Picture& source, QPoint from, Picture& target, QPoint to, QSize size) {
    const int bits = target.bitCount();
    if (source.bitCount() != bits) {
        return;
    }
    for (int dy = 0; dy < size.height(); ++dy) {
        const std::span<const std::uint8_t> sourceRow = source.row(from.y() + dy);
        const std::span<std::uint8_t> targetRow = target.row(to.y() + dy);
        if (sourceRow.empty() || targetRow.empty()) {
            continue;
        }
        for (int dx = 0; dx < size.width(); ++dx) {
            const int sourceX = from.x() + dx;
            const int targetX = to.x() + dx;
            if (sourceX >= 0 && sourceX < source.width() && targetX >= 0 &&
                targetX < target.width()) {
                setStoredValueAt(
                    targetRow.data(), bits, static_cast<std::size_t>(targetX),
                    storedValueAt(sourceRow.data(), bits, static_cast<std::size_t>(sourceX)));
            }
        }
    }
}

}  // namespace

bool invertPicture(Picture& picture) {
    if (!picture.hasPixels()) {
        return false;
    }
    const int bits = picture.bitCount();
    const std::uint32_t allBits = bits == 32 ? 0xFFFFFFFFu : (1u << bits) - 1;
    // With a colour table every index turns into the entry nearest to its inverted colour; an
    // index beyond the table shows black.
    std::vector<std::uint32_t> inverseIndex;
    if (bits < 16) {
        ColourTable entries{};
        std::ranges::copy(picture.colourTable(), entries.begin());
        NearestColour nearest(picture.colourTable());
        for (std::uint32_t index = 0; index <= allBits; ++index) {
            inverseIndex.push_back(nearest.indexOf(~rgbOf(entries[index])));
        }
    }
    for (int y = 0; y < picture.height(); ++y) {
        std::uint8_t* bytes = picture.row(y).data();
        for (std::size_t x = 0; x < static_cast<std::size_t>(picture.width()); ++x) {
            const std::uint32_t value = storedValueAt(bytes, bits, x);
            setStoredValueAt(bytes, bits, x, bits < 16 ? inverseIndex[value] : value ^ allBits);
        }
    }
    return true;
}

std::optional<QRect> contentBounds(const Picture& picture) {
    const int bits = picture.bitCount();
    if (!picture.hasPixels() || bits < 8) {
        return std::nullopt;
    }
    const int width = picture.width();
    int left = width;
    int right = -1;
    int top = -1;
    int bottom = -1;
    for (int y = 0; y < picture.height(); ++y) {
        const std::uint8_t* bytes = picture.row(y).data();
        for (int x = 0; x < width; ++x) {
            if (storedValueAt(bytes, bits, static_cast<std::size_t>(x)) != 0) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = top < 0 ? y : top;
                bottom = y;
            }
        }
    }
    if (top < 0) {
        return std::nullopt;
    }
    return QRect(left, top, right - left + 1, bottom - top + 1);
}

bool cropPicture(Picture& target, const Picture& source, const QRect& rect, ColourRef fill) {
    Picture result;
    if (!source.hasPixels() ||
        !result.create(rect.width(), rect.height(), true, source.bitCount(), source.colourTable(),
                       static_cast<int>(source.header().coloursUsed)) ||
        !fillQuietly(result, fill)) {
        return false;
    }
    copyValues(source, rect.topLeft(), result, QPoint(0, 0), rect.size());
    return target.moveFrom(result);
}

bool resizePicture(Picture& target, const Picture& source, int width, int height, ColourRef fill) {
    Picture result;
    if (!source.hasPixels() || !result.createLike(width, height, source) ||
        !fillQuietly(result, fill)) {
        return false;
    }
    // The source point that lands on the result's top-left corner; where it lies outside the
    // source the source lands that far inside the result instead. Division truncates toward
    // zero, so an odd surplus goes to the right or bottom.
    const int originX = (source.width() - width) / 2;
    const int originY = (source.height() - height) / 2;
    copyValues(source, QPoint(std::max(originX, 0), std::max(originY, 0)), result,
               QPoint(std::max(-originX, 0), std::max(-originY, 0)),
               QSize(std::min(width, source.width()), std::min(height, source.height())));
    return target.moveFrom(result);
}

bool scalePicture(Picture& target, const Picture& source, int width, int height) {
    Picture result;
    if (!result.createLike(width, height, source) ||
        !source.drawInto(result, QRect(0, 0, width, height))) {
        return false;
    }
    return target.moveFrom(result);
}

bool resizePicture(Picture& picture, int width, int height, ColourRef fill) {
    return resizePicture(picture, picture, width, height, fill);
}

bool scalePicture(Picture& picture, int width, int height) {
    return scalePicture(picture, picture, width, height);
}

}  // namespace rova
