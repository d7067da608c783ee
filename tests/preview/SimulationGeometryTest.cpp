#include <gtest/gtest.h>

#include <cmath>

#include "PreviewTestSupport.h"
#include "SimulationGeometry.h"

namespace rova {
namespace {

TEST(SimulationGeometry, EnforcesItsMinimumsAlsoOnNaN) {
    SimulationGeometry g;
    g.apply({.rotorRadius = 6.0,
             .viewerDistance = 3.0,
             .lampDiameter = 0.1,
             .lampSpacingY = -2.0,
             .degreesPerSecond = 0.0,
             .drawsPerSecond = std::nan("")});
    EXPECT_EQ(g.settings(), (SimulationSettings{.rotorRadius = 12.0,
                                                .viewerDistance = 13.0,
                                                .lampDiameter = 0.5,
                                                .lampSpacingY = 0.5,
                                                .degreesPerSecond = 1.0,
                                                .drawsPerSecond = 1.0}));
    g.apply({.viewerDistance = 50.0});  // inside the default 74-inch rotor
    EXPECT_EQ(g.settings().viewerDistance, 75.0);
}

TEST(SimulationGeometry, DerivesTheDrawTimingAndTheDegreesOfALampSpacing) {
    SimulationGeometry g;
    EXPECT_EQ(g.MsPerDraw(), 63);                               // 1000 / 16 = 62.5, rounded half up
    EXPECT_NEAR(g.degreesPerLampColumn(), 2.0324516381, 1e-9);  // 2.625 / 74 radians
    g.apply({.drawsPerSecond = 3.0});
    EXPECT_EQ(g.MsPerDraw(), 333);
    EXPECT_DOUBLE_EQ(g.DegreesPerDraw(), 240.0);
}

TEST(SimulationGeometry, FittingPlacesTheViewerWhereTheTightestMarginIsJustKept) {
    // Across: the rotor's sides meet the line of sight through the window's edge less 5 pixels,
    // at 72 pixels an inch 8 inches away: D = 74 / sin(atan(across / 576)). Up: the column's
    // top, 41.375 + 48 inches above the eye at its nearest, lands 5 pixels below the window's
    // top: D = 74 + 89.375 × 576 / up. Down likewise for a column reaching below the eye.
    const struct {
        int width, height;
        double viewerY;
        double distance;
    } cases[] = {
        {800, 600, 48.0, 196.280285},    // up = 426 − 5: 74 + 51480 / 421
        {1200, 200, 48.0, 452.529412},   // up = 141 − 5: 74 + 51480 / 136
        {300, 900, 48.0, 301.177693},    // across = 300 − 149 − 5: 74 / sin(atan(146 / 576))
        {640, 480, -120.0, 254.469974},  // down = 480 − 92 − 5: 74 + 120 × 576 / 383
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height);
        SimulationGeometry g;
        g.apply({.viewerY = c.viewerY});
        g.setClientRect({0, 0, c.width, c.height});
        g.fitDistance();
        EXPECT_NEAR(g.settings().viewerDistance, c.distance, 1e-6);
    }
}

}  // namespace
}  // namespace rova
