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

void orInto(ContentColumn& value, const ContentColumn& column) {
    for (int plane = 0; plane < 3; ++plane) {
        value[plane] |= column[plane];
    }
}

// ORs together the content columns that fall into one degree column: from `index` up to before
// `next`, or down to after it when sampling backwards, and always column `index` itself. ORing
// them all in keeps thin lines visible when the content is squeezed.
ContentColumn gatherColumns(std::span<const ContentColumn> columns, std::int64_t index,
                            std::int64_t next, bool forwards) {
    const auto count = static_cast<std::int64_t>(columns.size());
    index = std::clamp<std::int64_t>(index, 0, count - 1);
    ContentColumn value{};
    if (forwards) {
        const std::int64_t end = std::max(std::min(next, count), index + 1);
        for (std::int64_t i = index; i < end; ++i) {
            orInto(value, columns[i]);
        }
    } else {
        const std::int64_t end = std::min(std::max<std::int64_t>(next, -1), index - 1);
        for (std::int64_t i = index; i > end; --i) {
            orInto(value, columns[i]);
        }
    }
    return value;
}

}  // namespace

void Player::draw(LampFrame& frame) {
    if (content_.columnCount() == 0 || state_.width == 0.0 ||
        state_.flashPhase > parameters_.flashDutyThreshold) {
        return;  // nothing to show, or dark in this flash
    }
    if (state_.width < 0.0 && !has(PlayerFlags::MirrorAtZero)) {
        if (shouldRetireAtNegativeWidth()) {
            state_.widthSpeed = 0.0;  // the width stops where it is
            state_.widthAccel = 0.0;
            retire();
        }
        return;  // only a mirroring player shows a negative width
    }
    const std::int64_t shift = lampShift();
    if (!reachesLamps(shift)) {
        if (shouldRetireOffLamps(shift)) {
            retire();
        }
        return;
    }
    const Span covered = span();
    const Span visible = clipToWindow(covered);
    if (visible.start > visible.end) {
        if (shouldRetireOutsideWindow(covered)) {
            retire();
        }
        return;
    }
    drawProjections(sampleContent(covered, visible, shift), frame);
}

// ---- retire checks: nothing can be seen this frame; can it ever be seen again? ----------------

bool Player::shouldRetireAtNegativeWidth() const {
    return state_.widthSpeed <= 0.0 && state_.widthAccel <= 0.0 && !has(PlayerFlags::BounceAtZero);
}

bool Player::shouldRetireOffLamps(std::int64_t shift) const {
    if (has(PlayerFlags::VerticalBounce)) {
        return false;  // it bounces back onto the lamps
    }
    const bool above = shift < 32;  // reachesLamps() leaves only above or below
    return above ? !(state_.verticalSpeed > 0.0) : !(state_.verticalSpeed < 0.0);
}

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

// ---- where the picture lands ------------------------------------------------------------------

std::int64_t Player::lampShift() const {
    const std::int64_t rows = content_.rowCount();
    return truncToInt(static_cast<double>((48 - rows) / 2) + state_.verticalOffset);
}

bool Player::reachesLamps(std::int64_t shift) const {
    const std::int64_t rows = content_.rowCount();
    return shift > 16 - rows && shift < 32;
}

Span Player::clipToWindow(const Span& covered) const {
    Span visible = covered;
    if (state_.clipActive) {
        if (state_.clipStart > visible.start) {
            visible.start = state_.clipStart;
        }
        if (state_.clipEnd < visible.end) {
            visible.end = state_.clipEnd;
        }
    }
    return visible;
}

// ---- sampling -----------------------------------------------------------------------------

double Player::samplingStep() const {
    const double width = state_.width;
    const double degreeColumns = width >= 0.0 ? std::ceil(width) : std::floor(width);
    return static_cast<double>(content_.columnCount()) / degreeColumns;
}

double Player::firstSamplePosition(double clipped, double step) const {
    const double n = static_cast<double>(content_.columnCount());
    const std::int64_t skip = truncToInt(clipped * n / state_.width);
    if (step >= 0.0) {
        return step < 1.0 ? skip + step / 2.0 : skip + 0.5;
    }
    return step > -1.0 ? n + skip + step / 2.0 : n + skip - 0.5;
}

Player::Samples Player::sampleContent(const Span& covered, const Span& visible,
                                      std::int64_t shift) const {
    Samples samples;
    samples.first = wrapColumn(truncToInt(visible.start));
    const std::int64_t last = wrapColumn(truncToInt(visible.end));
    samples.count = static_cast<int>(((last - samples.first) % 360 + 360) % 360) + 1;

    const double step = samplingStep();
    const bool forwards = step >= 0.0;
    double position = firstSamplePosition(visible.start - covered.start, step);
    std::int64_t index = truncToInt(position);
    for (int sample = 0; sample < samples.count; ++sample) {
        position += step;
        // Mirrored sampling runs down to −0.5 after column 0: rounding that down (not toward
        // zero) keeps column 0 in the last degree column, so a thin line there is not lost.
        const std::int64_t next = truncToInt(forwards ? position : std::floor(position));
        const ContentColumn value = gatherColumns(content_.columns(), index, next, forwards);
        for (int plane = 0; plane < 3; ++plane) {
            samples.columns[sample][plane] =
                static_cast<std::uint16_t>(shiftOntoLamps(value[plane], shift));
        }
        index = next;
    }
    return samples;
}

// ---- projections --------------------------------------------------------------------------

Player::ColumnMasks Player::lampMasks() const {
    const bool decimating = (state_.bits & PlayerStateBits::Decimating) != 0 &&
                            state_.decimationSteps >= 1 && state_.decimationSteps <= 16;
    if (decimating) {
        return masks_[state_.decimationSteps - 1];
    }
    ColumnMasks everyLamp;
    everyLamp.fill(0xFFFF);
    return everyLamp;
}

void Player::drawProjections(const Samples& samples, LampFrame& frame) const {
    const ColumnMasks masks = lampMasks();
    const std::uint32_t projections = parameters_.effectiveProjections();
    const std::int64_t spacing = 360 / projections;
    for (std::uint32_t projection = 0; projection < projections; ++projection) {
        const auto column = static_cast<std::size_t>((samples.first + projection * spacing) % 360);
        drawProjection(samples, column, masks, frame);
    }
}

void Player::drawProjection(const Samples& samples, std::size_t column, const ColumnMasks& masks,
                            LampFrame& frame) {
    for (int sample = 0; sample < samples.count; ++sample) {
        const std::uint16_t mask = masks[column % masks.size()];
        LampFrame::Column& target = frame.columns[column];
        for (int plane = 0; plane < 3; ++plane) {
            target[plane] |= samples.columns[sample][plane] & mask;
        }
        column = column + 1 == frame.columns.size() ? 0 : column + 1;
    }
}

}  // namespace rova
