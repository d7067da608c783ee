#pragma once

#include <cstdint>

namespace rova {

// The simulated rotor and its viewer, always copied and applied as one block. Lengths are
// inches, angles degrees.
struct SimulationSettings {
    double framesPerSecond = 8.0;
    double rotorRadius = 74.0;      // axis to lamps
    double viewerDistance = 720.0;  // eye to axis, horizontally
    double viewerY = 48.0;          // bottom of the lamp column above the eye
    std::int32_t viewerAngle = 90;  // frame column viewerAngle faces the viewer
    double screenDistance = 8.0;    // eye to screen at 72 pixels per inch; never stored
    double lampDiameter = 2.0;
    double lampSpacingY = 2.625;  // between neighbouring lamp centres
    double degreesPerSecond = 720.0;
    double drawsPerSecond = 16.0;
    bool doAnimation = false;

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
