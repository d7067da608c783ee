// Drawing a player into the lamp frame: the span on the circle, the clip window, sampling of the
// content columns onto degree columns, vertical shift, projections, flashing and decimation.

#include <algorithm>
#include <cmath>

#include "Numeric.h"
#include "Player.h"

namespace rova {

namespace {

// A negative degree column is brought into [0, 360) the way the rotor counts columns.
std::int64_t wrapColumn(std::int64_t column) {
    if (column < 0) {
        column += 360 * ((359 - column) / 360);
    }
    return column;
}

std::uint32_t shiftOntoLamps(std::uint32_t word, std::int64_t shift) {
    if (shift >= 32 || shift <= -32) {
        return 0;  // only a content of more than 32 rows could ask for this
    }
    const std::uint32_t shifted = shift >= 0 ? word >> shift : word << -shift;
    return shifted & 0xFFFF;
}

}  // namespace

bool Player::shouldRetireOutsideWindow(const Span& covered) const {
    if (state_.widthAccel != 0.0 || state_.widthSpeed > 0.0) {
        return false;  // the width will grow back into the window
    }
    if (state_.widthSpeed < 0.0 && has(PlayerFlags::MirrorAtZero | PlayerFlags::BounceAtZero)) {
        return false;  // it shrinks through zero and comes back
    }
    if (has(PlayerFlags::OriginSync)) {
        return true;  // the window travels with it: it never gets inside
    }
    if (state_.originSpeed == 0.0 && state_.originAccel == 0.0) {
        return true;
    }
    if (has(PlayerFlags::WrapAround)) {
        return false;  // it comes round again
    }
    if (covered.end < state_.clipStart) {
        return !(state_.originSpeed > 0.0 || state_.originAccel > 0.0);
    }
    if (covered.start > state_.clipEnd) {
        return !(state_.originSpeed < 0.0 || state_.originAccel < 0.0);
    }
    return false;
}

void Player::draw(LampFrame& frame) {
    const std::int64_t columnCount = content_.columnCount();
    const double width = state_.width;
    if (columnCount == 0 || width == 0.0 || state_.flashPhase > parameters_.flashDutyThreshold) {
        return;
    }
    if (width < 0.0 && !has(PlayerFlags::MirrorAtZero)) {
        if (state_.widthSpeed <= 0.0 && state_.widthAccel <= 0.0 &&
            !has(PlayerFlags::BounceAtZero)) {
            state_.widthSpeed = 0.0;
            state_.widthAccel = 0.0;
            retire();
        }
        return;
    }

    const std::int64_t rows = content_.rowCount();
    const std::int64_t shift =
        truncToInt(static_cast<double>((48 - rows) / 2) + state_.verticalOffset);
    if (shift <= 16 - rows) {  // wholly above the lamps
        if (!(state_.verticalSpeed > 0.0 || has(PlayerFlags::VerticalBounce))) {
            retire();
        }
        return;
    }
    if (shift >= 32) {  // wholly below the lamps
        if (!(state_.verticalSpeed < 0.0 || has(PlayerFlags::VerticalBounce))) {
            retire();
        }
        return;
    }

    const Span covered = span();
    double visibleStart = covered.start;
    double visibleEnd = covered.end;
    if (state_.clipActive) {
        if (state_.clipStart > visibleStart) {
            visibleStart = state_.clipStart;
        }
        if (state_.clipEnd < visibleEnd) {
            visibleEnd = state_.clipEnd;
        }
    }
    if (visibleStart > visibleEnd) {
        if (shouldRetireOutsideWindow(covered)) {
            retire();
        }
        return;
    }

    // Sampling: `step` content columns per degree column, negative when mirrored. Every content
    // column that falls into a degree column is ORed into it, so thin lines survive squeezing.
    const double n = static_cast<double>(columnCount);
    const std::int64_t skip = truncToInt((visibleStart - covered.start) * n / width);
    const double degreeColumns = width >= 0.0 ? std::ceil(width) : std::floor(width);
    const double step = n / degreeColumns;
    double position = 0.0;
    if (step >= 0.0) {
        position = step < 1.0 ? skip + step / 2.0 : skip + 0.5;
    } else {
        position = step > -1.0 ? n + skip + step / 2.0 : n + skip - 0.5;
    }
    const std::int64_t first = wrapColumn(truncToInt(visibleStart));
    const std::int64_t last = wrapColumn(truncToInt(visibleEnd));
    const int count = static_cast<int>(((last - first) % 360 + 360) % 360) + 1;

    // The sampled picture is the same for every projection; only its place and the decimation
    // mask differ, so it is sampled once.
    std::array<LampFrame::Column, LampFrame::kColumns> samples;
    const std::span<const ContentColumn> columns = content_.columns();
    std::int64_t index = truncToInt(position);
    for (int sample = 0; sample < count; ++sample) {
        position += step;
        // Mirrored sampling runs down to −0.5 after column 0: rounding that down (not toward
        // zero) keeps column 0 in the last degree column, so a thin line there is not lost.
        std::int64_t nextIndex = truncToInt(step >= 0.0 ? position : std::floor(position));
        ContentColumn value{};
        if (step >= 0.0) {
            index = std::clamp<std::int64_t>(index, 0, columnCount - 1);
            nextIndex = std::min(nextIndex, columnCount);
            const std::int64_t end = std::max(nextIndex, index + 1);
            for (std::int64_t i = index; i < end; ++i) {
                for (int plane = 0; plane < 3; ++plane) {
                    value[plane] |= columns[i][plane];
                }
            }
        } else {
            index = std::clamp<std::int64_t>(index, 0, columnCount - 1);
            nextIndex = std::max<std::int64_t>(nextIndex, -1);
            const std::int64_t end = std::min(nextIndex, index - 1);
            for (std::int64_t i = index; i > end; --i) {
                for (int plane = 0; plane < 3; ++plane) {
                    value[plane] |= columns[i][plane];
                }
            }
        }
        for (int plane = 0; plane < 3; ++plane) {
            samples[sample][plane] =
                static_cast<std::uint16_t>(shiftOntoLamps(value[plane], shift));
        }
        index = nextIndex;
    }

    const bool decimating = (state_.bits & PlayerStateBits::Decimating) != 0 &&
                            state_.decimationSteps >= 1 && state_.decimationSteps <= 16;
    const std::uint32_t projections = parameters_.effectiveProjections();
    const std::int64_t spacing = 360 / projections;
    for (std::uint32_t projection = 0; projection < projections; ++projection) {
        int column = static_cast<int>((first + projection * spacing) % 360);
        for (int sample = 0; sample < count; ++sample) {
            const std::uint16_t mask =
                decimating ? masks_[state_.decimationSteps - 1][column % 16] : 0xFFFF;
            LampFrame::Column& target = frame.columns[column];
            for (int plane = 0; plane < 3; ++plane) {
                target[plane] |= samples[sample][plane] & mask;
            }
            column = column + 1 == LampFrame::kColumns ? 0 : column + 1;
        }
    }
}

}  // namespace rova
