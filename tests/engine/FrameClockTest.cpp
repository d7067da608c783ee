// The frame clock on a virtual clock: the period, the frame grid also across the clock wrap,
// catching up after a stall, and the frame time.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

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

TEST(FrameClockRate, PeriodIsTheRoundedMillisecondsPerFrameAndTheRateAtLeastOne) {
    // 1000 / 30 = 33.3 and 1000 / 16 = 62.5 round half up; however fast the rate, the worker
    // waits at least a millisecond.
    const struct {
        double requested, rate;
        std::uint32_t period;
    } cases[] = {{8, 8, 125},   {30, 30, 33},    {16, 16, 63},
                 {3, 3, 333},   {0.5, 1, 1000},  {0, 1, 1000},
                 {-5, 1, 1000}, {2500, 2500, 1}, {std::nan(""), 1, 1000}};
    test::EngineRig rig;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.requested);
        rig.engine.setFramesPerSecond(c.requested);
        EXPECT_EQ(rig.engine.framesPerSecond(), c.rate);
        EXPECT_EQ(rig.engine.frameClock().period(), c.period);
    }
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

TEST(FrameClockSchedule, FramesStayOnTheGridAlsoAcrossTheClockWrap) {
    const std::uint32_t start = 0xFFFFFF00u;  // 256 ms before the 32-bit millisecond clock wraps
    ClockRig rig(start);
    // The first frame 3 ms late: the next is due at 125; one 3 ms late at 125 leaves the next
    // due at 250; one 50 ms late at 250 (past the wrap) leaves the next due at 375.
    const struct {
        std::uint32_t ms;
        std::int32_t wait;
        int frames;
    } ticks[] = {{3, 122, 1}, {124, 1, 1}, {128, 122, 2}, {300, 75, 3}, {374, 1, 3}};
    for (const auto& t : ticks) {
        EXPECT_EQ(rig.tickAt(start + t.ms), t.wait) << t.ms;
        EXPECT_EQ(rig.frames, t.frames) << t.ms;
        EXPECT_EQ(rig.frameClock.lag(), 0u) << t.ms;
    }
    EXPECT_EQ(rig.frameClock.frameTime(), start + 374);
}

}  // namespace
}  // namespace rova
