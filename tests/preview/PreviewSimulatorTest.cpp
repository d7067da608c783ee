// The simulation's settings and geometry, the simulator's drawing schedule and its background.

#include <gtest/gtest.h>

#include <QFile>
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

TEST(PreviewSimulator, ReadsLengthsInThousandthsOrTheDefaultsAndAppliesTheBlock) {
    VirtualClock clock;
    MemorySettingsStore store;
    {
        MemorySettingsStore empty;
        PreviewSimulator simulator(clock, empty);
        EXPECT_EQ(simulator.currentSettings(), SimulationSettings{});
        EXPECT_TRUE(simulator.backgroundViewed());
    }
    for (const auto& [key, value] : {std::pair{"RotorRadius", "6000"},
                                     {"LampDiameter", "1500"},
                                     {"ViewerY", "-12000"},
                                     {"ViewerAngle", "-30"},
                                     {"FramesPerSecond", "30"},
                                     {"DoAnimation", "1"},
                                     {"BackgroundViewed", "0"}}) {
        store.set(key, value);
    }
    PreviewSimulator simulator(clock, store);
    const SimulationSettings s = simulator.currentSettings();
    EXPECT_EQ(s.rotorRadius, 12.0);  // half a foot: raised to the minimum
    EXPECT_EQ(s.viewerDistance, 720.0);
    EXPECT_EQ(s.lampDiameter, 1.5);
    EXPECT_EQ(s.viewerY, -12.0);
    EXPECT_EQ(s.viewerAngle, -30);
    EXPECT_TRUE(s.doAnimation);
    EXPECT_FALSE(simulator.backgroundViewed());
    EXPECT_EQ(simulator.frameClock().period(), 33u);
}

TEST(PreviewSimulator, WritesEverySettingBackTruncated) {
    VirtualClock clock;
    MemorySettingsStore store;
    {
        PreviewSimulator simulator(clock, store);
        SimulationSettings s = simulator.currentSettings();
        s.framesPerSecond = 7.5;
        s.rotorRadius = 80.0006;
        s.viewerY = -1.2345;
        s.degreesPerSecond = 359.9;
        s.drawsPerSecond = 12.7;
        s.doAnimation = true;
        simulator.applySettings(s);
        EXPECT_EQ(simulator.framesPerSecond(), 7.5) << "used as given";
        simulator.setFramesPerSecond(50.0);  // the engine's rate, not the block's
        simulator.setBackgroundViewed(false);
    }
    for (const auto& [key, value] : {std::pair{"FramesPerSecond", "7"},
                                     {"RotorRadius", "80000"},
                                     {"ViewerY", "-1234"},
                                     {"ViewerDistance", "720000"},
                                     {"LampDiameter", "2000"},
                                     {"LampSpacingY", "2625"},
                                     {"ViewerAngle", "90"},
                                     {"DegreesPerSecond", "359"},
                                     {"DrawsPerSecond", "12"},
                                     {"DoAnimation", "1"},
                                     {"BackgroundViewed", "0"}}) {
        EXPECT_EQ(store.setting(key), value) << key;
    }
    EXPECT_EQ(store.readString("Settings", "BackgroundPath"), std::nullopt);
}

TEST(PreviewSimulator, TheFirstResizeFitsTheRotorAndLaterResizesKeepTheUsersRatio) {
    test::SimulatorFixture f(800, 600);
    const auto fittedIn = [](int width, int height) {
        SimulationGeometry fitted;
        fitted.setClientRect({0, 0, width, height});
        fitted.fitDistance();
        return fitted.settings().viewerDistance;
    };
    EXPECT_DOUBLE_EQ(f.simulator.currentSettings().viewerDistance, fittedIn(800, 600));

    // The user halves the distance, then the window grows.
    SimulationSettings s = f.simulator.currentSettings();
    s.viewerDistance /= 2.0;
    f.simulator.applySettings(s);
    f.simulator.resize({0, 0, 1000, 700});
    EXPECT_NEAR(f.simulator.currentSettings().viewerDistance, fittedIn(1000, 700) / 2.0, 1e-9);
    EXPECT_EQ(f.simulator.image().size(), QSize(1000, 700));

    // A zero-width window changes nothing.
    const SimulationGeometry before = f.simulator.geometry();
    f.simulator.resize({0, 0, 0, 600});
    EXPECT_EQ(f.simulator.geometry().clientRect(), before.clientRect());
    EXPECT_EQ(f.simulator.geometry().settings(), before.settings());
}

TEST(PreviewSimulator, DrawsEveryComposedFrameOrWhenAnimatingASweepEveryMsPerDraw) {
    test::SimulatorFixture f(400, 300);
    f.simulator.addPlayer(test::colourBlock(0, 0, 0xFFFF0000u), true);
    f.simulator.composeFrame();
    EXPECT_FALSE(test::allBlack(f.simulator.image()));

    SimulationSettings s = f.simulator.currentSettings();
    s.doAnimation = true;  // 16 draws per second: 63 ms apart, 45 degrees each
    f.simulator.applySettings(s);
    int drawings = 0;
    f.simulator.setDrawnHandler([&drawings] { ++drawings; });
    f.clock.set(1000);
    f.simulator.frameClock().begin();
    f.simulator.composeFrame();
    EXPECT_EQ(drawings, 0) << "composing alone does not draw";
    // The first tick composes frame 1 and draws the first sweep; the next sweep is due before
    // the next frame (125 ms).
    const struct {
        std::uint32_t ms;
        int drawings;
    } ticks[] = {{1000, 1}, {1062, 1}, {1063, 2}};
    for (const auto& t : ticks) {
        f.clock.set(t.ms);
        f.simulator.frameClock().readNow();
        const std::int32_t wait = f.simulator.tick();
        EXPECT_EQ(drawings, t.drawings) << t.ms;
        if (t.ms == 1000) {
            EXPECT_EQ(wait, 63);
        }
    }
}

// A simulator in a 400 × 300 window whose stored background is a picture of four quadrants.
// With no players the frame is dark: a drawing shows the background alone.
class PreviewBackground : public ::testing::Test {
  protected:
    void layOut(const QString& path) {
        store.set("BackgroundPath", path);
        simulator = std::make_unique<PreviewSimulator>(clock, store);
        simulator->resize({0, 0, 400, 300});
    }
    QRgb pixel(int x, int y) const { return simulator->image().pixel(x, y) & 0xFFFFFF; }
    // The four quadrants' middles: red, green on top; blue, white below.
    std::vector<QRgb> quadrants() const {
        return {pixel(50, 40), pixel(350, 40), pixel(50, 260), pixel(350, 260)};
    }
    const std::vector<QRgb> kShown{0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};

    QTemporaryDir dir;
    const QString quadrantsPath = test::saveQuadrants(dir, "quadrants.bmp");
    VirtualClock clock;
    MemorySettingsStore store;
    std::unique_ptr<PreviewSimulator> simulator;
};

TEST_F(PreviewBackground, IsStretchedOverTheWholeWindowUnlessSwitchedOff) {
    layOut(quadrantsPath);
    simulator->composeFrame();
    EXPECT_EQ(quadrants(), kShown);
    simulator->setBackgroundViewed(false);
    simulator->composeFrame();
    EXPECT_TRUE(test::allBlack(simulator->image()));
    simulator->setBackgroundViewed(true);
    simulator->composeFrame();
    EXPECT_EQ(quadrants(), kShown);
}

TEST_F(PreviewBackground, AnUnreadableChoiceKeepsThePreviousPictureAndSetting) {
    layOut(quadrantsPath);
    QFile bad(dir.filePath("notes.bmp"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("this is not a bitmap");
    bad.close();
    const int writesBefore = store.writeCount();
    EXPECT_FALSE(simulator->chooseBackground(bad.fileName()));
    EXPECT_EQ(simulator->backgroundPath(), quadrantsPath);
    EXPECT_EQ(store.writeCount(), writesBefore);
    simulator->eraseBackground();  // the next drawing repaints everything
    simulator->composeFrame();
    EXPECT_EQ(quadrants(), kShown);

    // A readable choice is shown and stored, and switches the background on.
    const QString second = test::saveQuadrants(dir, "second.bmp");
    simulator->setBackgroundViewed(false);
    EXPECT_TRUE(simulator->chooseBackground(second));
    EXPECT_TRUE(simulator->backgroundViewed());
    EXPECT_EQ(store.setting("BackgroundPath"), second);
}

TEST_F(PreviewBackground, AMissingFileAtTheFirstLayoutGivesBlack) {
    layOut("/nonexistent/background.bmp");
    simulator->composeFrame();
    EXPECT_TRUE(test::allBlack(simulator->image()));
}

TEST_F(PreviewBackground, ErasingWithThePreviewOffPaintsTheBackgroundAtOnce) {
    layOut(quadrantsPath);
    simulator->setPreviewEnabled(false);
    EXPECT_TRUE(test::allBlack(simulator->image()));
    simulator->eraseBackground();
    EXPECT_EQ(quadrants(), kShown);
}

}  // namespace
}  // namespace rova
