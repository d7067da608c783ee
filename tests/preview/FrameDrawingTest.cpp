#include <gtest/gtest.h>

#include "PreviewTestSupport.h"

namespace rova {
namespace {

constexpr int kRed = 4;  // lamp colour index: bit 2 is the red plane

// A renderer and the default geometry (rotor radius 74, viewer 720 away, 48 below the column)
// in an 800 × 600 window: screen centre x = 399 and y = 299 + trunc(68.6875 / 324 × 600) = 426.
struct RendererFixture {
    explicit RendererFixture(const SimulationSettings& settings = {}, int top = 0) {
        geometry.apply(settings);
        geometry.setClientRect({0, top, 800, 600});
        renderer.resize(geometry.clientRect());
    }
    bool draw(const LampFrame& frame) { return renderer.drawFrame(frame, geometry); }
    const QImage& image() const { return renderer.image(); }

    SimulationGeometry geometry;
    FrameRenderer renderer;
};

LampFrame frameWithLamp(int column, int lamp, int colour) {
    LampFrame frame;
    for (int plane = 0; plane < 3; ++plane) {
        if (colour & (1 << plane)) {
            frame.columns[column][plane] = static_cast<std::uint16_t>(1u << lamp);
        }
    }
    return frame;
}

void expectOnlyRectLit(const QImage& image, const QRect& rect, QRgb colour) {
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            ASSERT_EQ(image.pixel(x, y) & 0xFFFFFF, colour & 0xFFFFFF) << x << "," << y;
        }
    }
    EXPECT_EQ(test::countPixels(image, qRgb(0, 0, 0)),
              image.width() * image.height() - rect.width() * rect.height());
}

// The sweep starts at the right grazing point, 180° − asin(74 / 720) = 174.10085°, so the step
// that draws a frame column c lies at c + 0.10085°. The lamp spans ± atan(1 / 74) = ± 0.7742°
// around it; x = 399 − 576 × 74 cos θ / (720 − 74 sin θ), the scale is 576 / (720 − 74 sin θ),
// the column's top is at 426 − scale × (41.375 + 48) + 0.5. Brightness: 256 × sin of the angle
// turned by the rotor's half angle toward the viewer, a quarter of its size on the far side.
struct LampCase {
    const char* name;
    int viewerAngle;
    int column;
    int lamp;
    int colour;
    int displayDepth;
    QRect rect;  // in the image
    QRgb shown;
    int clientTop = 0;
};

TEST(FrameDrawing, ALitLampIsDrawnInPerspectiveAtItsShadedColour) {
    const LampCase cases[] = {
        // θ = 90.10085°: x 398.22 .. 400.01, scale 0.891641, top 346.81, 1.78 high; sin 96° ×
        // 256 = 254.6, shown as (255 × 254 + 128) >> 8 = 253.
        {"the top lamp facing the viewer", 90, 90, 15, kRed, 32, QRect(398, 346, 3, 2),
         qRgb(253, 0, 0)},
        {"ViewerAngle 0 turns frame column 0 to the viewer", 0, 0, 15, kRed, 32,
         QRect(398, 346, 3, 2), qRgb(253, 0, 0)},
        // 15 lamp steps of 2.625 × 0.891641 further down: 381.92 .. 383.70.
        {"the bottom lamp facing the viewer, yellow", 90, 90, 0, kRed | 2, 32,
         QRect(398, 381, 3, 2), qRgb(253, 253, 0)},
        {"a client area 20 lower draws at the same place in the image", 90, 90, 15, kRed, 32,
         QRect(398, 346, 3, 2), qRgb(253, 0, 0), 20},
        // θ = 270.10085°: x 398.18 .. 399.63, scale 576 / 794 = 0.725441, top 361.66 .. 363.11;
        // |sin 276°| × 256 / 4 = 63.65.
        {"the far side at a quarter of the brightness", 90, 270, 15, kRed | 1, 32,
         QRect(398, 361, 3, 2), qRgb(63, 0, 63)},
        // ViewerAngle 270 adds 180: the far side's 270° gives column 450, wrapped round to 90.
        {"ViewerAngle 270 turns frame column 90 to the far side", 270, 90, 15, kRed | 1, 32,
         QRect(398, 361, 3, 2), qRgb(63, 0, 63)},
        {"below 16 bits every lamp is at full brightness", 90, 270, 15, 7, 8, QRect(398, 361, 3, 2),
         qRgb(255, 255, 255)},
        // θ = 10.10085°: x 339.59 .. 339.71, top 353.69 .. 355.32; sin 4.2017° × 256 = 18.76.
        {"near the left grazing point: narrow and dim", 90, 10, 15, kRed, 32, QRect(340, 353, 1, 2),
         qRgb(18, 0, 0)},
    };
    for (const LampCase& c : cases) {
        SCOPED_TRACE(c.name);
        SimulationSettings s;
        s.viewerAngle = c.viewerAngle;
        RendererFixture f(s, c.clientTop);
        f.renderer.setDisplayDepth(c.displayDepth);
        EXPECT_TRUE(f.draw(frameWithLamp(c.column, c.lamp, c.colour)));
        expectOnlyRectLit(f.image(), c.rect, c.shown);
        EXPECT_TRUE(f.renderer.dirtyRect().contains(c.rect.translated(0, c.clientTop)));
    }
}

TEST(FrameDrawing, TheColumnAtTheGrazingPointIsSkippedOnlyWhenShaded) {
    // Column 174 is drawn at 174.10085°, where the shading sin 180° is zero.
    RendererFixture f;
    f.draw(frameWithLamp(174, 15, kRed));
    EXPECT_TRUE(test::allBlack(f.image()));

    f.renderer.setDisplayDepth(8);
    f.draw(frameWithLamp(174, 15, kRed));
    // x 458.51 .. 458.51 and top 354.24 .. 355.85: one pixel, the rotor's rightmost, which the
    // next drawing repaints.
    EXPECT_EQ(test::countPixels(f.image(), qRgb(255, 0, 0)), 1);
    f.draw(LampFrame{});
    EXPECT_TRUE(test::allBlack(f.image()));
}

TEST(FrameDrawing, NothingIsDrawnWhileThePreviewIsOff) {
    RendererFixture f;
    f.renderer.setPreviewEnabled(false);
    EXPECT_FALSE(f.draw(frameWithLamp(90, 15, 7)));
    EXPECT_TRUE(test::allBlack(f.image()));
    EXPECT_EQ(f.renderer.dirtyRect(), QRect(0, 0, 800, 600)) << "kept for later";
}

TEST(FrameDrawing, AnAnimatedDrawingContinuesWhereThePreviousStopped) {
    SimulationSettings s;
    s.doAnimation = true;  // 720 degrees per second at 16 draws: 45 degrees per drawing
    RendererFixture f(s);
    f.renderer.setDisplayDepth(8);
    const LampFrame frame = frameWithLamp(10, 15, kRed);

    // First drawing: 0-45, 90-135, 180-225, 270-315 include column 10, drawn at 10° exactly:
    // x 339.59 .. 339.70, top 353.70 .. 355.33, two pixels.
    f.draw(frame);
    EXPECT_DOUBLE_EQ(f.renderer.animationAngle(), 45.0);
    EXPECT_EQ(test::countPixels(f.image(), qRgb(255, 0, 0)), 2);
    // Second: 45-90, 135-180, 225-270, 315-360 do not; the first drawing is gone.
    f.draw(frame);
    EXPECT_DOUBLE_EQ(f.renderer.animationAngle(), 0.0);
    EXPECT_TRUE(test::allBlack(f.image()));
    f.draw(frame);
    EXPECT_EQ(test::countPixels(f.image(), qRgb(255, 0, 0)), 2);
}

}  // namespace
}  // namespace rova
