#pragma once

#include <cmath>
#include <cstdint>

// Number helpers for the engine. Parameters come from files that anyone can write, so every
// conversion from double to integer must stay defined for NaN, infinities and huge values.
namespace rova {

// Truncates toward zero like a C cast, but saturates out-of-range values and maps NaN to 0.
inline std::int64_t truncToInt(double value) {
    constexpr double kLimit = 4.0e18;  // comfortably inside int64_t
    if (std::isnan(value)) {
        return 0;
    }
    if (value >= kLimit) {
        return static_cast<std::int64_t>(kLimit);
    }
    if (value <= -kLimit) {
        return -static_cast<std::int64_t>(kLimit);
    }
    return static_cast<std::int64_t>(value);
}

// Brings an angle into [0, 360), with the result that adding or subtracting 360 repeatedly
// would give (fmod is exact). Non-finite angles have no place on the circle and become 0.
inline double wrapDegrees(double degrees) {
    if (!std::isfinite(degrees)) {
        return 0.0;
    }
    double wrapped = std::fmod(degrees, 360.0);
    if (wrapped < 0.0) {
        wrapped += 360.0;
    }
    if (wrapped >= 360.0) {
        wrapped -= 360.0;
    }
    return wrapped;
}

}  // namespace rova
