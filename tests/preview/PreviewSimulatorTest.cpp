#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "PreviewTestSupport.h"

namespace rova {
namespace {

TEST(PreviewSimulator, ReadsTheStoredDefaultsWhenNothingIsStored) {
    VirtualClock clock;
    MemorySettingsStore store;
    PreviewSimulator simulator(clock, store);
    EXPECT_EQ(simulator.currentSettings(), SimulationSettings{});
    EXPECT_TRUE(simulator.backgroundViewed());
    EXPECT_EQ(simulator.framesPerSecond(), 8.0);
}

TEST(PreviewSimulator, ReadsLengthsInThousandthsAndAppliesTheBlock) {
    VirtualClock clock;
    MemorySettingsStore store;
    store.set("RotorRadius", "6000");  // half a foot: raised to the minimum
    store.set("LampDiameter", "1500");
    store.set("ViewerY", "-12000");
    store.set("ViewerAngle", "-30");
    store.set("FramesPerSecond", "30");
    store.set("DoAnimation", "1");
    store.set("BackgroundViewed", "0");
    PreviewSimulator simulator(clock, store);
    const SimulationSettings s = simulator.currentSettings();
    EXPECT_EQ(s.rotorRadius, 12.0);
    EXPECT_EQ(s.viewerDistance, 720.0);
    EXPECT_EQ(s.lampDiameter, 1.5);
    EXPECT_EQ(s.viewerY, -12.0);
    EXPECT_EQ(s.viewerAngle, -30);
    EXPECT_TRUE(s.doAnimation);
    EXPECT_FALSE(simulator.backgroundViewed());
    EXPECT_EQ(simulator.framesPerSecond(), 30.0);
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
        simulator.setBackgroundViewed(false);
    }
    EXPECT_EQ(store.setting("FramesPerSecond"), "7");
    EXPECT_EQ(store.setting("RotorRadius"), "80000");
    EXPECT_EQ(store.setting("ViewerY"), "-1234");
    EXPECT_EQ(store.setting("ViewerDistance"), "720000");
    EXPECT_EQ(store.setting("LampDiameter"), "2000");
    EXPECT_EQ(store.setting("LampSpacingY"), "2625");
    EXPECT_EQ(store.setting("ViewerAngle"), "90");
    EXPECT_EQ(store.setting("DegreesPerSecond"), "359");
    EXPECT_EQ(store.setting("DrawsPerSecond"), "12");
    EXPECT_EQ(store.setting("DoAnimation"), "1");
    EXPECT_EQ(store.setting("BackgroundViewed"), "0");
    EXPECT_EQ(store.readString("Settings", "BackgroundPath"), std::nullopt);
}

TEST(PreviewSimulator, TheFirstResizeFitsTheRotorAndLaterResizesKeepTheUsersRatio) {
    test::SimulatorFixture f(800, 600);
    SimulationGeometry fitted;
    fitted.setClientRect({0, 0, 800, 600});
    fitted.fitDistance();
    EXPECT_DOUBLE_EQ(f.simulator.currentSettings().viewerDistance,
                     fitted.settings().viewerDistance);

    // The user halves the distance, then the window grows.
    SimulationSettings s = f.simulator.currentSettings();
    s.viewerDistance /= 2.0;
    f.simulator.applySettings(s);
    f.simulator.resize({0, 0, 1000, 700});
    SimulationGeometry refitted;
    refitted.setClientRect({0, 0, 1000, 700});
    refitted.fitDistance();
    EXPECT_NEAR(f.simulator.currentSettings().viewerDistance,
                refitted.settings().viewerDistance / 2.0, 1e-9);
    EXPECT_EQ(f.simulator.image().size(), QSize(1000, 700));
}

TEST(PreviewSimulator, AZeroWidthResizeChangesNothing) {
    test::SimulatorFixture f(800, 600);
    const SimulationGeometry before = f.simulator.geometry();
    f.simulator.resize({0, 0, 0, 600});
    const SimulationGeometry after = f.simulator.geometry();
    EXPECT_EQ(after.clientRect(), before.clientRect());
    EXPECT_EQ(after.settings(), before.settings());
    EXPECT_EQ(after.screenCentreY(), before.screenCentreY());
}

}  // namespace
}  // namespace rova

namespace rova {
namespace {

// A player whose 16-row picture lights every lamp red over 100 columns.
ParameterSet redBlock() {
    ParameterSet set;
    set.parameters.commandFlags = 0;
    const auto columns = set.content.allocate(100, 16);
    for (ContentColumn& column : columns) {
        column = {0, 0, 0xFFFF0000u};
    }
    return set;
}

TEST(PreviewSimulator, WithoutAnimationEveryComposedFrameIsDrawnWhole) {
    test::SimulatorFixture f(400, 300);
    f.simulator.addPlayer(redBlock(), true);
    EXPECT_TRUE(test::allBlack(f.simulator.image()));
    f.simulator.composeFrame();
    EXPECT_FALSE(test::allBlack(f.simulator.image()));
}

TEST(PreviewSimulator, WhenAnimatingTheTickDrawsASweepEveryMsPerDraw) {
    test::SimulatorFixture f(400, 300);
    SimulationSettings s = f.simulator.currentSettings();
    s.doAnimation = true;  // 16 draws per second: 63 ms apart, 45 degrees each
    f.simulator.applySettings(s);
    f.simulator.addPlayer(redBlock(), true);
    int drawings = 0;
    f.simulator.setDrawnHandler([&drawings] { ++drawings; });
    f.clock.set(1000);
    f.simulator.frameClock().begin();

    f.simulator.composeFrame();
    EXPECT_EQ(drawings, 0) << "composing alone does not draw";

    f.simulator.frameClock().readNow();
    const std::int32_t wait = f.simulator.tick();  // composes frame 1 and draws the first sweep
    EXPECT_EQ(drawings, 1);
    EXPECT_EQ(wait, 63) << "the next sweep is due before the next frame (125 ms)";

    f.clock.set(1062);
    f.simulator.frameClock().readNow();
    f.simulator.tick();
    EXPECT_EQ(drawings, 1) << "not yet due";
    f.clock.set(1063);
    f.simulator.frameClock().readNow();
    f.simulator.tick();
    EXPECT_EQ(drawings, 2);
}

TEST(PreviewSimulator, TheWorkerDrawsUntilStoppedAndTheSettingsAreWrittenAfterwards) {
    SteadyClock clock;
    MemorySettingsStore store;
    {
        PreviewSimulator simulator(clock, store);
        simulator.resize({0, 0, 320, 240});
        simulator.setFramesPerSecond(50.0);
        simulator.addPlayer(redBlock(), true);
        simulator.startDrawing();
        for (int i = 0; i < 200 && test::allBlack(simulator.image()); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        EXPECT_FALSE(test::allBlack(simulator.image()));
    }
    EXPECT_EQ(store.setting("FramesPerSecond"), "8") << "the block's rate, not the engine's";
}

}  // namespace
}  // namespace rova
