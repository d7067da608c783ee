#include <gtest/gtest.h>

#include "PreviewTestSupport.h"

namespace rova {
namespace {

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

}  // namespace
}  // namespace rova
