#include <gtest/gtest.h>

#include <cmath>

#include "PreviewTestSupport.h"
#include "SimulationGeometry.h"

namespace rova {
namespace {

TEST(SimulationGeometry, EnforcesItsMinimums) {
    SimulationGeometry g;
    SimulationSettings s;
    s.rotorRadius = 6.0;
    s.viewerDistance = 3.0;
    s.lampDiameter = 0.1;
    s.lampSpacingY = -2.0;
    s.degreesPerSecond = 0.0;
    s.drawsPerSecond = std::nan("");
    g.apply(s);
    EXPECT_EQ(g.settings().rotorRadius, 12.0);
    EXPECT_EQ(g.settings().viewerDistance, 13.0);
    EXPECT_EQ(g.settings().lampDiameter, 0.5);
    EXPECT_EQ(g.settings().lampSpacingY, 0.5);
    EXPECT_EQ(g.settings().degreesPerSecond, 1.0);
    EXPECT_EQ(g.settings().drawsPerSecond, 1.0);

    s = SimulationSettings{};
    s.viewerDistance = 50.0;  // inside the default 74-inch rotor
    g.apply(s);
    EXPECT_EQ(g.settings().viewerDistance, 75.0);
}

TEST(SimulationGeometry, DerivesDrawTimingAndAngles) {
    SimulationGeometry g;
    SimulationSettings s;
    s.drawsPerSecond = 3.0;
    g.apply(s);
    EXPECT_EQ(g.MsPerDraw(), 333);
    s.drawsPerSecond = 16.0;
    g.apply(s);
    EXPECT_EQ(g.MsPerDraw(), 63);  // 62.5 + 0.5 truncated
    EXPECT_DOUBLE_EQ(g.DegreesPerDraw(), 45.0);
    EXPECT_DOUBLE_EQ(g.LampHalfAngle(), std::atan2(1.0, 74.0));
    EXPECT_DOUBLE_EQ(g.RotorHalfAngle(), std::asin(74.0 / 720.0));
    EXPECT_DOUBLE_EQ(g.ColumnHeight(), 15 * 2.625 + 2.0);
    EXPECT_DOUBLE_EQ(g.degreesPerLampColumn(), 2.625 / 74.0 * 57.29577951471995);
}

TEST(SimulationGeometry, PlacesTheScreenCentreAboveTheMiddleByTheColumnsHeight) {
    SimulationGeometry g;
    g.setClientRect({0, 0, 801, 600});
    EXPECT_EQ(g.screenCentreX(), 400);
    // (0 + 600 - 1) >> 1 = 299, plus trunc((41.375 * 0.5 + 48) / 324 * 600) = trunc(127.78)
    EXPECT_EQ(g.screenCentreY(), 299 + 127);
    g.setClientRect({-11, -11, 10, 20});  // arithmetic shift of negative sums
    EXPECT_EQ(g.screenCentreX(), (-13) >> 1);
}

TEST(SimulationGeometry, PerspectiveFollowsDepth) {
    SimulationGeometry g;
    g.setClientRect({0, 0, 800, 600});
    const double nearest = 90.0 * SimulationGeometry::kDegreesToRadians;
    EXPECT_NEAR(g.screenX(nearest), g.screenCentreX(), 1e-6);
    EXPECT_DOUBLE_EQ(g.scaleAt(nearest), 72.0 * 8.0 / (720.0 - 74.0));
    EXPECT_LT(g.screenX(0.0), g.screenCentreX()) << "angle 0 is at the viewer's left";
    EXPECT_GT(g.screenX(M_PI), g.screenCentreX());
    EXPECT_GT(g.scaleAt(nearest), g.scaleAt(3 * M_PI / 2)) << "the far side is smaller";
}

// The outermost pixels the rotor reaches: across (over every angle) and the column's top at its
// nearest point.
struct Extent {
    double left, right, top, bottom;
};
Extent rotorExtent(const SimulationGeometry& g) {
    Extent e{1e9, -1e9, 1e9, -1e9};
    for (int i = 0; i < 3600; ++i) {
        const double theta = i * M_PI / 1800.0;
        e.left = std::min(e.left, g.screenX(theta));
        e.right = std::max(e.right, g.screenX(theta));
        const double k = g.scaleAt(theta);
        const double bottomY = g.screenCentreY() - k * g.settings().viewerY;
        e.top = std::min(e.top, bottomY - k * g.ColumnHeight());
        e.bottom = std::max(e.bottom, bottomY);
    }
    return e;
}

TEST(SimulationGeometry, FittingKeepsTheRotorInsideTheMarginsWithOneMarginTight) {
    for (const auto& [width, height, viewerY] :
         {std::tuple{800, 600, 48.0}, {300, 900, 48.0}, {1200, 200, 48.0}, {640, 480, -120.0}}) {
        SimulationGeometry g;
        SimulationSettings s;
        s.viewerY = viewerY;
        g.apply(s);
        g.setClientRect({0, 0, width, height});
        g.fitDistance();
        const Extent e = rotorExtent(g);
        SCOPED_TRACE(testing::Message() << width << "x" << height << " ViewerY " << viewerY);
        EXPECT_LE(e.right, width - 5 + 0.5);
        EXPECT_GE(e.top, 5 - 0.5);
        EXPECT_LE(e.bottom, height - 5 + 0.5);
        const double slack = std::min({width - 5 - e.right, e.top - 5, height - 5 - e.bottom});
        EXPECT_LT(slack, 1.5) << "the fit uses the room it has";
    }
}

}  // namespace
}  // namespace rova
