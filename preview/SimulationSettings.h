#pragma once

#include <cstdint>

namespace rova {

// The simulated rotor and its viewer, always copied and applied as one block. Lengths are
// inches, angles degrees.
struct SimulationSettings {
    double FramesPerSecond = 8.0;
    double RotorRadius = 74.0;      // axis to lamps
    double ViewerDistance = 720.0;  // eye to axis, horizontally
    double ViewerY = 48.0;          // bottom of the lamp column above the eye
    std::int32_t ViewerAngle = 90;  // frame column ViewerAngle faces the viewer
    double ScreenDistance = 8.0;    // eye to screen at 72 pixels per inch; never stored
    double LampDiameter = 2.0;
    double LampSpacingY = 2.625;  // between neighbouring lamp centres
    double DegreesPerSecond = 720.0;
    double DrawsPerSecond = 16.0;
    bool DoAnimation = false;

    bool operator==(const SimulationSettings&) const = default;
};

// Settings keys and the enforced minimums.
struct SimulationLimits {
    static constexpr double kMinRotorRadius = 12.0;
    static constexpr double kMinDistanceBeyondRadius = 1.0;
    static constexpr double kMinLampSize = 0.5;
    static constexpr double kMinRate = 1.0;
};

}  // namespace rova
