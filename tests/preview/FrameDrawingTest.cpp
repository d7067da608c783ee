#include <gtest/gtest.h>

#include <cmath>

#include "PreviewTestSupport.h"

namespace rova {
namespace {

constexpr int kRed = 4;  // lamp colour index: bit 2 is the red plane

LampFrame frameWithLamp(int column, int lamp, int colour) {
    LampFrame frame;
    for (int plane = 0; plane < 3; ++plane) {
        if (colour & (1 << plane)) {
            frame.columns[column][plane] = static_cast<std::uint16_t>(1u << lamp);
        }
    }
    return frame;
}

struct ExpectedLamp {
    QRect rect;
    int intensity;
};

// Where the whole-frame sweep draws the top lamp at the step whose angle lies in
// [degree, degree + 1), worked out from the perspective and shading rules.
ExpectedLamp expectedTopLamp(const SimulationGeometry& g, int degree) {
    const double start = 180.0 - g.RotorHalfAngle() * 57.29577951471995;
    const double angle = degree + (start - std::floor(start));
    const double theta = angle * 0.017453292519444445;
    const double x1 = test::expectedScreenX(g, theta - g.LampHalfAngle());
    const double x2 = test::expectedScreenX(g, theta + g.LampHalfAngle());
    const double k = test::expectedScale(g, theta);
    const double y = g.screenCentreY() - k * g.ColumnHeight() - k * g.settings().viewerY + 0.5;
    const bool backHalf = theta >= 1.57079632675 && theta < 4.71238898025;
    double s = std::sin(backHalf ? theta + g.RotorHalfAngle() : theta - g.RotorHalfAngle()) * 256;
    if (s < 0) {
        s *= -0.25;
    }
    // Right and bottom exclusive.
    const QPoint topLeft(static_cast<int>(std::min(x1, x2) + 0.5), static_cast<int>(y));
    const QPoint bottomRight(static_cast<int>(std::max(x1, x2) + 1.5),
                             static_cast<int>(y + k * g.settings().lampDiameter));
    return {QRect(topLeft, bottomRight - QPoint(1, 1)), static_cast<int>(s)};
}

int scaledChannel(int intensity) {
    return ((255 * intensity + 128) >> 8) & 0xFF;
}

void expectOnlyRectLit(const QImage& image, const QRect& rect, QRgb colour) {
    ASSERT_FALSE(rect.isEmpty());
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            ASSERT_EQ(image.pixel(x, y) & 0xFFFFFF, colour & 0xFFFFFF) << x << "," << y;
        }
    }
    EXPECT_EQ(test::countPixels(image, colour), rect.width() * rect.height());
    EXPECT_EQ(test::countPixels(image, qRgb(0, 0, 0)),
              image.width() * image.height() - rect.width() * rect.height());
}

TEST(FrameDrawing, TheColumnFacingTheViewerIsDrawnInTheMiddleAtItsExactBounds) {
    for (const int viewerAngle : {90, 0}) {
        SCOPED_TRACE(viewerAngle);
        SimulationSettings s;
        s.viewerAngle = viewerAngle;
        test::RendererFixture f(800, 600, s);
        // With ViewerAngle v, frame column v is the one drawn at rotor angle 90.
        EXPECT_TRUE(f.draw(frameWithLamp(viewerAngle, 15, kRed)));

        const SimulationGeometry& g = f.geometry;
        const ExpectedLamp lamp = expectedTopLamp(g, 90);
        const int red = scaledChannel(lamp.intensity);
        EXPECT_GT(lamp.intensity, 200) << "facing the viewer";
        expectOnlyRectLit(f.image(), lamp.rect, qRgb(red, 0, 0));
        // The step nearest to rotor angle 90 lies less than a degree past it: within a lamp's
        // width of the window's centre.
        EXPECT_LE(std::abs(lamp.rect.left() + lamp.rect.width() / 2.0 - g.screenCentreX()),
                  lamp.rect.width());
    }
}

TEST(FrameDrawing, TheFarSideShowsAtAQuarterOfItsBrightness) {
    test::RendererFixture f(800, 600);
    f.draw(frameWithLamp(270, 15, kRed | 1));  // magenta
    const ExpectedLamp lamp = expectedTopLamp(f.geometry, 270);
    // A quarter of at most full brightness, less the fall-off toward the grazing points.
    EXPECT_LE(lamp.intensity, 64);
    EXPECT_GT(lamp.intensity, 48);
    const int channel = scaledChannel(lamp.intensity);
    expectOnlyRectLit(f.image(), lamp.rect, qRgb(channel, 0, channel));
}

TEST(FrameDrawing, FewerThanSixteenBitsDrawsEveryLampAtFullBrightness) {
    test::RendererFixture f(800, 600);
    f.renderer.setDisplayDepth(8);
    f.draw(frameWithLamp(270, 15, 7));
    const ExpectedLamp lamp = expectedTopLamp(f.geometry, 270);
    expectOnlyRectLit(f.image(), lamp.rect, qRgb(255, 255, 255));
}

TEST(FrameDrawing, ColumnsAtTheGrazingPointsAreSkipped) {
    test::RendererFixture f(800, 600);
    // The sweep starts exactly at the right grazing point, where the shading is zero.
    const int grazing =
        static_cast<int>(std::floor(180.0 - f.geometry.RotorHalfAngle() * 57.29577951471995));
    f.draw(frameWithLamp(grazing, 15, kRed));
    EXPECT_TRUE(test::allBlack(f.image()));

    f.renderer.setDisplayDepth(8);
    f.draw(frameWithLamp(grazing, 15, kRed));
    EXPECT_GT(test::countPixels(f.image(), qRgb(255, 0, 0)), 0);
}

TEST(FrameDrawing, ThePreviousDrawingIsRepaintedBeforeTheNext) {
    test::RendererFixture f(800, 600);
    f.draw(frameWithLamp(90, 0, kRed));
    const ExpectedLamp top = expectedTopLamp(f.geometry, 90);
    const QRect dirty = f.renderer.dirtyRect();
    EXPECT_LE(dirty.left(), top.rect.left());
    EXPECT_LE(dirty.top(), top.rect.top());
    EXPECT_GT(test::countPixels(f.image(), qRgb(scaledChannel(top.intensity), 0, 0)), 0);

    f.draw(LampFrame{});  // all lamps off
    EXPECT_TRUE(test::allBlack(f.image()));
}

TEST(FrameDrawing, NothingIsDrawnWhileThePreviewIsOff) {
    test::RendererFixture f(400, 300);
    f.renderer.setPreviewEnabled(false);
    EXPECT_FALSE(f.draw(frameWithLamp(90, 15, 7)));
    EXPECT_TRUE(test::allBlack(f.image()));
    EXPECT_EQ(f.renderer.dirtyRect(), QRect(0, 0, 400, 300)) << "kept for later";
}

TEST(FrameDrawing, AnAnimatedDrawingContinuesWhereThePreviousStopped) {
    SimulationSettings s;
    s.doAnimation = true;  // 720 degrees per second at 16 draws: 45 degrees per drawing
    test::RendererFixture f(800, 600, s);
    f.renderer.setDisplayDepth(8);
    const LampFrame frame = frameWithLamp(10, 15, kRed);

    // First drawing: 0-45, 90-135, 180-225, 270-315 include column 10.
    f.draw(frame);
    EXPECT_DOUBLE_EQ(f.renderer.animationAngle(), 45.0);
    EXPECT_GT(test::countPixels(f.image(), qRgb(255, 0, 0)), 0);
    // Second: 45-90, 135-180, 225-270, 315-360 do not; the first drawing is gone.
    f.draw(frame);
    EXPECT_DOUBLE_EQ(f.renderer.animationAngle(), 0.0);
    EXPECT_TRUE(test::allBlack(f.image()));
    f.draw(frame);
    EXPECT_GT(test::countPixels(f.image(), qRgb(255, 0, 0)), 0);
}

}  // namespace
}  // namespace rova
