// The frame clock on a virtual clock: the period, the frame grid, catching up after a stall,
// the frame time, and resets of the lag.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>

#include "EngineTestSupport.h"

namespace rova {
namespace {

// A frame clock driven by hand, counting the frames it composes.
struct ClockRig {
    explicit ClockRig(std::uint32_t startMs) : clock(startMs) { frameClock.begin(); }

    // Reads the clock at `ms` and ticks once; returns the tick's answer.
    std::int32_t tickAt(std::uint32_t ms) {
        clock.set(ms);
        frameClock.readNow();
        return frameClock.tick([this] { ++frames; });
    }
    // Reads the clock at `ms` and keeps ticking while frames are due, as the frame loop does.
    void settleAt(std::uint32_t ms) {
        while (tickAt(ms) <= 0) {
        }
    }

    VirtualClock clock;
    FrameClock frameClock{clock};
    int frames = 0;
};

TEST(FrameClockRate, PeriodIsTheRoundedMillisecondsPerFrame) {
    VirtualClock clock;
    FrameClock frameClock(clock);
    EXPECT_EQ(frameClock.framesPerSecond(), 8.0);
    EXPECT_EQ(frameClock.period(), 125u);
    frameClock.setFramesPerSecond(30.0);  // 33.3 + 0.5
    EXPECT_EQ(frameClock.period(), 33u);
    frameClock.setFramesPerSecond(16.0);  // 62.5 + 0.5
    EXPECT_EQ(frameClock.period(), 63u);
    frameClock.setFramesPerSecond(3.0);  // 333.3 + 0.5
    EXPECT_EQ(frameClock.period(), 333u);
    for (const double tooSlow : {0.5, 0.0, -5.0, std::nan("")}) {
        frameClock.setFramesPerSecond(tooSlow);
        EXPECT_EQ(frameClock.framesPerSecond(), 1.0);
        EXPECT_EQ(frameClock.period(), 1000u);
    }

    // However fast the rate, the worker waits at least a millisecond between frames.
    frameClock.setFramesPerSecond(2500.0);
    EXPECT_EQ(frameClock.framesPerSecond(), 2500.0);
    EXPECT_EQ(frameClock.period(), 1u);

    // The engine applies the same rule.
    test::EngineRig rig;
    rig.engine.setFramesPerSecond(0.5);
    EXPECT_EQ(rig.engine.framesPerSecond(), 1.0);
    EXPECT_EQ(rig.engine.frameClock().period(), 1000u);
}

TEST(FrameClockSchedule, FramesStayOnTheGrid) {
    ClockRig rig(1000);
    EXPECT_EQ(rig.tickAt(1000), 125);
    EXPECT_EQ(rig.frames, 1);
    EXPECT_EQ(rig.tickAt(1003), 122);  // not due yet
    EXPECT_EQ(rig.tickAt(1124), 1);
    EXPECT_EQ(rig.frames, 1);
    // 3 ms late at 1125: the next frame is still due at 1250.
    EXPECT_EQ(rig.tickAt(1128), 122);
    EXPECT_EQ(rig.frames, 2);
    EXPECT_EQ(rig.frameClock.due(), 1250u);

    // A first frame 3 ms late at due = 1000: the next is due at 1125.
    ClockRig late(1000);
    EXPECT_EQ(late.tickAt(1003), 122);
    EXPECT_EQ(late.frameClock.due(), 1125u);
    EXPECT_EQ(late.frameClock.lag(), 0u);
}

TEST(FrameClockSchedule, StallCatchesUpBackToBack) {
    ClockRig rig(1000);
    rig.tickAt(1000);  // next due at 1125
    // 400 ms late at 1525: four frames at once, each taking a period off the lag.
    const std::uint32_t lags[] = {275, 150, 25, 0};
    const std::uint32_t frameTimes[] = {1250, 1375, 1500, 1525};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        const std::int32_t wait = rig.tickAt(1525);
        EXPECT_EQ(rig.frames, 2 + i);
        EXPECT_EQ(rig.frameClock.lag(), lags[i]);
        EXPECT_EQ(rig.frameClock.frameTime(), frameTimes[i]);
        EXPECT_EQ(wait, i < 3 ? 0 : 100);
    }
    // Then the schedule resumes on the old grid: 1125 + 4 × 125.
    EXPECT_EQ(rig.frameClock.due(), 1625u);
    EXPECT_EQ(rig.tickAt(1525), 100);
    EXPECT_EQ(rig.frames, 5);
}

TEST(FrameClockSchedule, JitteredTicksNeitherSkipNorRepeatFramesAcrossTheClockWrap) {
    // Starts 4096 ms before the 32-bit millisecond clock wraps.
    const std::uint32_t start = 0xFFFFF000u;
    ClockRig rig(start);
    std::mt19937 random(2024);
    std::uint32_t elapsed = 0;
    std::uint32_t previousFrameTime = rig.frameClock.frameTime();
    while (elapsed < 20000) {
        elapsed += 1 + random() % 400;
        rig.settleAt(start + elapsed);
        // One frame for every grid point start + k × 125 reached so far.
        ASSERT_EQ(rig.frames, static_cast<int>(elapsed / 125 + 1)) << "at " << elapsed;
        EXPECT_EQ(rig.frameClock.due(), start + (elapsed / 125 + 1) * 125);
        EXPECT_EQ(rig.frameClock.frameTime(), start + elapsed);
        EXPECT_GE(static_cast<std::int32_t>(rig.frameClock.frameTime() - previousFrameTime), 0);
        previousFrameTime = rig.frameClock.frameTime();
    }
}

TEST(FrameClockLag, ResetDuringATickIsNotLost) {
    ClockRig rig(1000);
    rig.tickAt(1000);
    // 400 ms late, and the lag is reset while the frame is being composed: the tick must
    // schedule from the reset lag (next due 1525 + 125), not catch up.
    rig.clock.set(1525);
    rig.frameClock.readNow();
    rig.frameClock.tick([&rig] { rig.frameClock.resetLag(); });
    EXPECT_EQ(rig.frameClock.lag(), 0u);
    EXPECT_EQ(rig.frameClock.due(), 1650u);
    EXPECT_EQ(rig.tickAt(1525), 125);
}

TEST(FrameClockLag, ResetBetweenTicksEndsTheCatchUp) {
    ClockRig rig(1000);
    rig.tickAt(1000);
    rig.tickAt(1525);
    ASSERT_EQ(rig.frameClock.lag(), 275u);
    rig.frameClock.resetLag();
    EXPECT_EQ(rig.frameClock.frameTime(), 1525u);
    rig.settleAt(1525);
    EXPECT_EQ(rig.frames, 3);  // one more frame, the one due at 1525, and no catch-up
    EXPECT_EQ(rig.frameClock.due(), 1650u);
}

TEST(FrameClockLag, EngineTickComposesThroughTheClock) {
    test::EngineRig rig(500);
    FrameClock& frameClock = rig.engine.frameClock();
    frameClock.begin();
    EXPECT_EQ(rig.engine.tick(), 125);
    EXPECT_EQ(rig.engine.tick(), 125);  // same reading: nothing new is due
    EXPECT_EQ(rig.engine.composedFrames(), 1);
    rig.clock.set(625);
    frameClock.readNow();
    EXPECT_EQ(rig.engine.tick(), 125);
    EXPECT_EQ(rig.engine.composedFrames(), 2);
    EXPECT_EQ(rig.engine.frameTime(), 625u);
}

}  // namespace
}  // namespace rova
