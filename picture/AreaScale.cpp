#include "AreaScale.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <vector>

namespace rova {

namespace {

// For each target pixel along one axis, the source pixels under it and their weights. On a
// common scale target pixel t spans [t × S, (t + 1) × S) and source pixel s spans
// [s × T, (s + 1) × T), S and T being the source and target lengths; a weight is the length of
// an overlap, so the weights of one target pixel add up to S.
struct AxisWeights {
    std::vector<std::size_t> first;  // per target pixel its first entry, plus the end
    std::vector<int> source;
    std::vector<std::uint64_t> weight;
};

AxisWeights axisWeights(std::int64_t sourceLength, std::int64_t targetLength) {
    AxisWeights axis;
    axis.first.reserve(static_cast<std::size_t>(targetLength) + 1);
    for (std::int64_t t = 0; t < targetLength; ++t) {
        axis.first.push_back(axis.source.size());
        const std::int64_t begin = t * sourceLength;
        const std::int64_t end = begin + sourceLength;
        for (std::int64_t s = begin / targetLength; s * targetLength < end; ++s) {
            const std::int64_t overlap =
                std::min(end, (s + 1) * targetLength) - std::max(begin, s * targetLength);
            axis.source.push_back(static_cast<int>(s));
            axis.weight.push_back(static_cast<std::uint64_t>(overlap));
        }
    }
    axis.first.push_back(axis.source.size());
    return axis;
}

struct ChannelSums {
    std::uint64_t red = 0;
    std::uint64_t green = 0;
    std::uint64_t blue = 0;
};

// Sums one source row into the target columns, weighted.
void reduceRow(std::span<const QRgb> row, const AxisWeights& columns,
               std::vector<ChannelSums>& sums) {
    for (std::size_t x = 0; x + 1 < columns.first.size(); ++x) {
        ChannelSums sum;
        for (std::size_t k = columns.first[x]; k < columns.first[x + 1]; ++k) {
            const QRgb colour = row[static_cast<std::size_t>(columns.source[k])];
            const std::uint64_t weight = columns.weight[k];
            sum.red += weight * static_cast<std::uint64_t>(qRed(colour));
            sum.green += weight * static_cast<std::uint64_t>(qGreen(colour));
            sum.blue += weight * static_cast<std::uint64_t>(qBlue(colour));
        }
        sums[x] = sum;
    }
}

int roundedMean(std::uint64_t total, std::uint64_t area) {
    return static_cast<int>((total + area / 2) / area);
}

}  // namespace

QImage scaleByAreaAverage(QSize sourceSize, const RowReader& readRow, QSize targetSize) {
    if (sourceSize.isEmpty() || targetSize.isEmpty()) {
        return {};
    }
    QImage target(targetSize, QImage::Format_RGB32);
    if (target.isNull()) {
        return {};
    }
    try {
        const AxisWeights columns = axisWeights(sourceSize.width(), targetSize.width());
        const AxisWeights rows = axisWeights(sourceSize.height(), targetSize.height());
        const auto targetWidth = static_cast<std::size_t>(targetSize.width());
        std::vector<QRgb> sourceRow(static_cast<std::size_t>(sourceSize.width()));
        // A source row on the border of two target rows is needed by both; keep it reduced.
        std::vector<ChannelSums> reduced(targetWidth);
        int reducedRow = -1;
        std::vector<ChannelSums> totals(targetWidth);
        const std::uint64_t area = static_cast<std::uint64_t>(sourceSize.width()) *
                                   static_cast<std::uint64_t>(sourceSize.height());

        for (int y = 0; y < targetSize.height(); ++y) {
            std::fill(totals.begin(), totals.end(), ChannelSums{});
            for (std::size_t k = rows.first[static_cast<std::size_t>(y)];
                 k < rows.first[static_cast<std::size_t>(y) + 1]; ++k) {
                if (rows.source[k] != reducedRow) {
                    reducedRow = rows.source[k];
                    readRow(reducedRow, sourceRow);
                    reduceRow(sourceRow, columns, reduced);
                }
                const std::uint64_t weight = rows.weight[k];
                for (std::size_t x = 0; x < targetWidth; ++x) {
                    totals[x].red += weight * reduced[x].red;
                    totals[x].green += weight * reduced[x].green;
                    totals[x].blue += weight * reduced[x].blue;
                }
            }
            auto* line = reinterpret_cast<QRgb*>(target.scanLine(y));
            for (std::size_t x = 0; x < targetWidth; ++x) {
                line[x] = qRgb(roundedMean(totals[x].red, area), roundedMean(totals[x].green, area),
                               roundedMean(totals[x].blue, area));
            }
        }
    } catch (const std::bad_alloc&) {
        return {};
    }
    return target;
}

}  // namespace rova
