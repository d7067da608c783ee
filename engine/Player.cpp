#include "Player.h"

#include <algorithm>
#include <cmath>

#include "Numeric.h"

namespace rova {

namespace {

bool flagChanged(const PlayerParameters& a, const PlayerParameters& b, std::uint32_t flag) {
    return ((a.playerFlags ^ b.playerFlags) & flag) != 0;
}

// Death time as far as a change of the top player cares: none without its enabled bit.
double effectiveDeathAfter(const PlayerParameters& p) {
    return p.hasCommandFlag(CommandFlags::DeathAfterEnabled) ? p.deathAfter : 0.0;
}

}  // namespace

bool Player::assign(const ParameterSet& set) {
    parameters_ = set.parameters;
    return content_.copyFrom(set.content);
}

// ---- derived quantities -------------------------------------------------------------------

double Player::spring(double target, double value, double speed, double strength) const {
    const double fps = framesPerSecond();
    double accel = std::fabs(strength) / (fps * fps);
    accel = (target - value) * accel / 90.0;
    if (accel != 0.0) {
        accel -= speed / (20.0 * fps);  // damping
    }
    return accel;
}

void Player::deriveOriginSpeed() {
    state_.originSpeed = parameters_.originSpeed / framesPerSecond();
}

void Player::deriveOriginAccel() {
    const double fps = framesPerSecond();
    state_.originAccel = parameters_.originAccel / (fps * fps);
    if (has(PlayerFlags::OriginSpring)) {
        state_.originAccel =
            spring(parameters_.origin, state_.origin, state_.originSpeed, parameters_.originAccel);
    }
}

void Player::deriveWidthSpeed() {
    state_.widthSpeed = parameters_.widthSpeed / framesPerSecond();
}

void Player::deriveWidthAccel() {
    const double fps = framesPerSecond();
    state_.widthAccel = parameters_.widthAccel / (fps * fps);
    if (has(PlayerFlags::WidthSpring)) {
        state_.widthAccel =
            spring(parameters_.width, state_.width, state_.widthSpeed, parameters_.widthAccel);
    }
}

void Player::deriveVerticalSpeed() {
    state_.verticalSpeed = parameters_.verticalSpeed / framesPerSecond();
}

void Player::deriveFlashRate() {
    state_.flashRate = parameters_.flashing / framesPerSecond();
}

void Player::deriveFlashRateChange() {
    const double fps = framesPerSecond();
    state_.flashRateChange = parameters_.flashingAccel / (fps * fps);
}

void Player::resetClip() {
    const double start = parameters_.clipStart;
    const double end = parameters_.clipEnd;
    state_.clipStart = start;
    state_.clipEnd = end;
    if (end != start && end < start + 359.0) {
        state_.clipActive = true;
    } else {
        state_.clipEnd = start + 359.0;
        state_.clipActive = !has(PlayerFlags::WrapAround);
    }
}

// ---- geometry -----------------------------------------------------------------------------

void Player::normalise() {
    const bool wrap = has(PlayerFlags::WrapAround);
    const std::uint32_t projections = parameters_.effectiveProjections();
    if (wrap || projections >= 2) {
        const double limit = static_cast<double>(360 / projections);
        state_.width = std::clamp(state_.width, -limit, limit);
    }
    if (wrap && !has(PlayerFlags::OriginSpring)) {
        state_.origin = wrapDegrees(state_.origin);
    }
    if (wrap) {
        state_.clipStart = wrapDegrees(state_.clipStart);
        state_.clipEnd = wrapDegrees(state_.clipEnd);
        if (state_.clipStart > state_.clipEnd) {
            state_.clipStart -= 360.0;  // the window contains 0°
        }
    }
}

Span Player::span() const {
    const double x = state_.origin;
    const double w = state_.width;
    double left = x - w / 2.0;
    switch (static_cast<OriginAnchor>(parameters_.originAnchor)) {
        case OriginAnchor::LeftEdge:
            left = x;
            break;
        case OriginAnchor::RightEdge:
            left = x - w;
            break;
        default:  // Middle; unknown stored anchors act as the default anchor
            break;
    }
    Span result{};
    if (w >= 0.0) {
        result = {left, left + std::max(w - 1.0, 0.0)};
    } else {
        result = {left + std::min(w + 1.0, 0.0), left};
    }
    if (has(PlayerFlags::WrapAround)) {
        result.start = wrapDegrees(result.start);
        result.end = wrapDegrees(result.end);
        if (result.start > result.end) {
            result.start -= 360.0;
        }
        if (state_.clipStart < 0.0) {
            if (result.start > state_.clipEnd) {
                result.start -= 360.0;
                result.end -= 360.0;
            }
        } else if (result.end < state_.clipStart) {
            result.start += 360.0;
            result.end += 360.0;
        }
    }
    return result;
}

void Player::placeStartAt(double position) {
    const double w = state_.width;
    const double left = w >= 0.0 ? position : position - (w + 1.0);
    switch (static_cast<OriginAnchor>(parameters_.originAnchor)) {
        case OriginAnchor::LeftEdge:
            state_.origin = left;
            break;
        case OriginAnchor::RightEdge:
            state_.origin = left + w;
            break;
        default:
            state_.origin = left + w / 2.0;
            break;
    }
    normalise();
}

// ---- life cycle ---------------------------------------------------------------------------

void Player::start() {
    const double fps = framesPerSecond();
    state_.deathCountdown = parameters_.deathAfter * fps;
    state_.decimationSteps = 0;
    state_.bits = parameters_.hasCommandFlag(CommandFlags::DeathAfterEnabled)
                      ? PlayerStateBits::CountingDown
                      : 0;

    state_.origin = parameters_.origin;
    resetClip();
    deriveOriginSpeed();
    deriveOriginAccel();

    state_.width = parameters_.width;
    deriveWidthSpeed();
    deriveWidthAccel();

    normalise();

    state_.verticalOffset = parameters_.yShift;
    deriveVerticalSpeed();

    state_.flashPhase = 0;
    deriveFlashRate();
    deriveFlashRateChange();
}

bool Player::applyChange(const PlayerParameters& parameters, const PlayerContent* content,
                         bool restart) {
    const PlayerParameters old = parameters_;
    parameters_ = parameters;
    const bool copied = content == nullptr || content_.copyFrom(*content);

    const bool fading = (state_.bits & (PlayerStateBits::Decimating | PlayerStateBits::Retiring));
    const bool deathChanged =
        effectiveDeathAfter(old) != effectiveDeathAfter(parameters_) ||
        old.hasCommandFlag(CommandFlags::Solo) != parameters_.hasCommandFlag(CommandFlags::Solo);
    if (!copied || restart || fading || deathChanged) {
        start();
    } else {
        applyOriginChange(old);
        applyWidthChange(old);
        applyClipChange(old);
        applyVerticalChange(old);
        applyFlashChange(old);
    }
    if (content_.empty()) {
        retire();
    }
    return copied;
}

void Player::applyOriginChange(const PlayerParameters& old) {
    if (old.originAnchor != parameters_.originAnchor || old.origin != parameters_.origin ||
        flagChanged(old, parameters_, PlayerFlags::OriginSync)) {
        state_.origin = parameters_.origin;
        resetClip();
        deriveOriginSpeed();
        deriveOriginAccel();
    } else if (old.originSpeed != parameters_.originSpeed) {
        deriveOriginSpeed();
        deriveOriginAccel();
    } else if (old.originAccel != parameters_.originAccel ||
               flagChanged(old, parameters_, PlayerFlags::OriginSpring)) {
        deriveOriginAccel();
    }
}

void Player::applyWidthChange(const PlayerParameters& old) {
    if (old.width != parameters_.width || old.projections != parameters_.projections ||
        flagChanged(old, parameters_, PlayerFlags::WrapAround)) {
        state_.width = parameters_.width;
        deriveWidthSpeed();
        deriveWidthAccel();
    } else if (old.widthSpeed != parameters_.widthSpeed) {
        deriveWidthSpeed();
        deriveWidthAccel();
    } else if (old.widthAccel != parameters_.widthAccel ||
               flagChanged(old, parameters_, PlayerFlags::WidthSpring)) {
        deriveWidthAccel();
    }
}

void Player::applyClipChange(const PlayerParameters& old) {
    if (old.clipStart != parameters_.clipStart || old.clipEnd != parameters_.clipEnd ||
        flagChanged(old, parameters_, PlayerFlags::OriginSync | PlayerFlags::WrapAround)) {
        resetClip();
    }
    normalise();
}

void Player::applyVerticalChange(const PlayerParameters& old) {
    if (old.yShift != parameters_.yShift) {
        state_.verticalOffset = parameters_.yShift;
        deriveVerticalSpeed();
    } else if (old.verticalSpeed != parameters_.verticalSpeed) {
        deriveVerticalSpeed();
    }
}

void Player::applyFlashChange(const PlayerParameters& old) {
    if (old.flashing != parameters_.flashing) {
        deriveFlashRate();
        deriveFlashRateChange();
    } else if (old.flashingAccel != parameters_.flashingAccel) {
        deriveFlashRateChange();
    }
}

void Player::retire() {
    if (parameters_.hasCommandFlag(CommandFlags::DeathAfterEnabled) ||
        (state_.bits & (PlayerStateBits::Decimating | PlayerStateBits::Retiring))) {
        return;
    }
    state_.deathCountdown = framesPerSecond() * 10.0;
    state_.bits |= PlayerStateBits::CountingDown | PlayerStateBits::Retiring;
}

void Player::decimate(double seconds, DecimationRandom& random) {
    if (state_.bits & PlayerStateBits::Decimating) {
        return;
    }
    const double frames = framesPerSecond() * seconds;
    const auto steps =
        static_cast<std::uint32_t>(std::clamp<std::int64_t>(truncToInt(frames), 1, 16));
    buildDecimationMasks(masks_, steps, random);
    state_.decimationSteps = steps;
    state_.deathCountdown = frames;
    state_.bits |= PlayerStateBits::CountingDown | PlayerStateBits::Decimating;
}

Countdown Player::countDown() {
    if (!(state_.bits & PlayerStateBits::CountingDown)) {
        return Countdown::Alive;
    }
    if (state_.decimationSteps > 0) {
        if (--state_.decimationSteps == 0) {
            return Countdown::Finished;  // the frame that used masks[0] has been drawn
        }
    }
    state_.deathCountdown -= 1.0;
    if (state_.deathCountdown <= 0.0) {
        return (state_.bits & (PlayerStateBits::Decimating | PlayerStateBits::Retiring))
                   ? Countdown::Finished
                   : Countdown::Expired;
    }
    return Countdown::Alive;
}

// ---- the frame step -----------------------------------------------------------------------

void Player::step() {
    state_.width += state_.widthSpeed;
    state_.origin += state_.originSpeed;
    if (has(PlayerFlags::OriginSync)) {
        state_.clipStart += state_.originSpeed;
        state_.clipEnd += state_.originSpeed;
    }
    normalise();

    if (has(PlayerFlags::BounceAtStart | PlayerFlags::BounceAtEnd)) {
        bounceOffClipWindow();
    }

    state_.originSpeed += state_.originAccel;
    state_.widthSpeed += state_.widthAccel;
    if (state_.widthSpeed < 0.0 && state_.width <= 0.0 && has(PlayerFlags::BounceAtZero)) {
        state_.width = -state_.width;
        state_.widthSpeed = -state_.widthSpeed;
    }

    if (has(PlayerFlags::OriginSpring)) {
        state_.originAccel =
            spring(parameters_.origin, state_.origin, state_.originSpeed, parameters_.originAccel);
    }
    if (has(PlayerFlags::WidthSpring)) {
        state_.widthAccel =
            spring(parameters_.width, state_.width, state_.widthSpeed, parameters_.widthAccel);
    }

    moveVertically();
    advanceFlash();
}

void Player::bounceOffClipWindow() {
    // g: the rate at which the width's size grows.
    double growth = state_.width >= 0.0 ? state_.widthSpeed : -state_.widthSpeed;
    const Span covered = span();
    const bool synced = has(PlayerFlags::OriginSync);
    if (covered.start <= state_.clipStart && has(PlayerFlags::BounceAtStart)) {
        if (-state_.originSpeed >= growth && state_.originSpeed < 0.0 && !synced) {
            placeStartAt(state_.clipStart);
            state_.originSpeed = -state_.originSpeed;
        } else if (growth > 0.0) {
            state_.widthSpeed = -state_.widthSpeed;
            growth = 0.0;
        }
    } else if (covered.end >= state_.clipEnd && has(PlayerFlags::BounceAtEnd)) {
        if (state_.originSpeed >= growth && state_.originSpeed > 0.0 && !synced) {
            placeStartAt(state_.clipEnd - std::fabs(state_.width));
            state_.originSpeed = -state_.originSpeed;
        } else if (growth > 0.0) {
            state_.widthSpeed = -state_.widthSpeed;
            growth = 0.0;
        }
    }
    if ((state_.clipEnd - state_.clipStart) <= (covered.end - covered.start) && growth > 0.0) {
        state_.widthSpeed = -state_.widthSpeed;
    }
}

void Player::moveVertically() {
    state_.verticalOffset += state_.verticalSpeed;
    if (!has(PlayerFlags::VerticalBounce)) {
        return;
    }
    const std::int64_t rows = content_.rowCount();
    const std::int64_t centre = (48 - rows) / 2;
    const std::int64_t shift = truncToInt(static_cast<double>(centre) + state_.verticalOffset);
    std::int64_t target = 0;
    bool bounce = false;
    if (shift < 16 && state_.verticalSpeed < 0.0) {
        // Moving up past the top lamp.
        if (rows <= 16) {
            target = 16, bounce = true;
        } else if (rows + shift - 16 < 16) {
            target = 32 - rows, bounce = true;
        }
    } else if (rows + shift - 16 > 16 && state_.verticalSpeed > 0.0) {
        // Moving down past the bottom lamp.
        if (rows <= 16) {
            target = 32 - rows, bounce = true;
        } else if (shift > 16) {
            target = 16, bounce = true;
        }
    }
    if (bounce) {
        state_.verticalOffset = static_cast<double>(target - centre);
        state_.verticalSpeed = -state_.verticalSpeed;
    }
}

void Player::advanceFlash() {
    const std::int64_t advance = truncToInt(state_.flashRate * 65536.0);
    state_.flashPhase = static_cast<std::uint16_t>(state_.flashPhase + (advance & 0xFFFF));
    state_.flashRate += state_.flashRateChange;
    if (state_.flashRate >= 0.5) {
        state_.flashRate = 0.5;
    } else if (state_.flashRate <= 0.0) {
        state_.flashRate = 0.0;
        state_.flashPhase = 0;
    }
}

}  // namespace rova
