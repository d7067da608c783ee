// A player's motion: per-frame rates, springs, the clip window, normalising, the span, bounces,
// vertical motion, flashing, and how a changed record is applied to a running player.

#include <gtest/gtest.h>

#include <cmath>

#include "EngineTestSupport.h"

namespace rova {
namespace {

using test::PlayerRig;
using test::PlayerSetup;
using St = PlayerState;

constexpr std::uint32_t kWrap = PlayerFlags::WrapAround;
constexpr std::uint32_t kBoth = PlayerFlags::BounceAtStart | PlayerFlags::BounceAtEnd;
constexpr std::uint32_t kSprings = PlayerFlags::OriginSpring | PlayerFlags::WidthSpring;
constexpr OriginAnchor kMiddle = OriginAnchor::Middle;
constexpr OriginAnchor kRight = OriginAnchor::RightEdge;

// The setup inside a clip window from 100 to `end`, bouncing as `flags` say.
PlayerSetup window(PlayerSetup s, std::uint32_t flags = kBoth, double end = 200.0) {
    s.flags = flags;
    s.clipStart = 100.0;
    s.clipEnd = end;
    return s;
}

// A player of `rows` rows started from `setup`, its state after `steps` frames at 8 frames a
// second.
struct MotionCase {
    const char* name;
    PlayerSetup setup;
    int steps;
    std::vector<std::pair<double St::*, double>> expected;
    std::uint32_t rows;
};
MotionCase motion(const char* name, PlayerSetup setup, int steps,
                  std::vector<std::pair<double St::*, double>> expected, std::uint32_t rows = 16) {
    return {name, setup, steps, std::move(expected), rows};
}

TEST(PlayerMotion, StartAndStepsMoveThePlayerByItsRules) {
    const PlayerSetup springs{
        .speed = 10, .accel = 10, .widthSpeed = 10, .widthAccel = -10, .flags = kSprings};
    const PlayerSetup rising{.verticalSpeed = -2, .flags = PlayerFlags::VerticalBounce};
    const PlayerSetup moving{.origin = 170, .width = 20, .speed = 10};
    const MotionCase cases[] = {
        motion("rates are per second: 8 deg/s² is 1/8 a frame²", {.accel = 1}, 2,
               {{&St::origin, 91}, {&St::originSpeed, 2}}),
        motion("no wrap: past 360", {.origin = 350, .speed = 2}, 10, {{&St::origin, 370}}),
        motion("a spring origin is never wrapped",
               {.origin = 350, .speed = 2, .flags = kWrap | PlayerFlags::OriginSpring}, 10,
               {{&St::origin, 370}}),
        // The sign of a spring's strength does not matter.
        motion("at its field a spring neither pulls nor damps", springs, 0,
               {{&St::originAccel, 0}, {&St::widthAccel, 0}}),
        // x = 100 against 90 (width 150 against 140), v = 10: a = 10 × (−10) / 90 − 10 / (20 × 8)
        // = −10/9 − 1/16 = −169/144.
        motion("a spring pulls toward its field with damping", springs, 1,
               {{&St::origin, 100},
                {&St::originAccel, -169.0 / 144},
                {&St::width, 150},
                {&St::widthAccel, -169.0 / 144}}),
        motion("equal ends mean the full circle from the start", {.clipStart = 50, .clipEnd = 50},
               0, {{&St::clipStart, 50}, {&St::clipEnd, 409}}),
        motion("wrap limits a mirrored width to the projections' spacing",
               {.width = -200, .flags = kWrap, .projections = 2}, 0, {{&St::width, -180}}),
        motion("several projections limit it without wrap", {.width = 200, .projections = 3}, 0,
               {{&St::width, 120}}),
        motion("one projection without wrap: no limit", {.width = 200}, 0, {{&St::width, 200}}),
        motion("one projection with wrap: the whole circle, and the origin on it",
               {.origin = -30, .width = 400, .flags = kWrap}, 0,
               {{&St::origin, 330}, {&St::width, 360}}),
        motion("BounceAtZero turns a shrinking width at 0",
               {.width = 10, .widthSpeed = -5, .flags = PlayerFlags::BounceAtZero}, 2,
               {{&St::width, 0}, {&St::widthSpeed, 5}}),
        motion("without it the width turns negative", {.width = 10, .widthSpeed = -5}, 4,
               {{&St::width, -10}, {&St::widthSpeed, -5}}),
        // Bounces in the window 100..200: 180..199 does not touch 200 yet, 190..209 does.
        motion("190..209: placed to start at 200 − 20 and turned", window(moving), 2,
               {{&St::origin, 180}, {&St::originSpeed, -10}, {&St::width, 20}}),
        motion("100..119 touches the start: placed there and turned",
               window({.origin = 110, .width = 20, .speed = -10}), 1,
               {{&St::origin, 100}, {&St::originSpeed, 10}}),
        motion("middle anchor: the start at 180 puts the origin at 190",
               window({.origin = 180, .width = 20, .speed = 10, .anchor = kMiddle}), 2,
               {{&St::origin, 190}, {&St::originSpeed, -10}}),
        // The span is x + 1 .. x + 20; placing its start at 180 gives left = 180 − (−20 + 1) =
        // 199 and x = 199 − 20.
        motion("mirrored, right edge",
               window({.origin = 170, .width = -20, .speed = 10, .anchor = kRight}), 1,
               {{&St::origin, 179}, {&St::originSpeed, -10}}),
        motion("170..189 in a window ending at 185: placed at 165", window(moving, kBoth, 185), 1,
               {{&St::origin, 165}, {&St::originSpeed, -10}, {&St::clipEnd, 185}}),
        motion("with OriginSync the window travels along: neither placed nor turned",
               window(moving, kBoth | PlayerFlags::OriginSync, 185), 1,
               {{&St::origin, 180}, {&St::originSpeed, 10}, {&St::clipEnd, 195}}),
        motion("a zero width is one column: 200..200 touches the end",
               window({.origin = 190, .width = 0, .speed = 10}), 1,
               {{&St::origin, 200}, {&St::originSpeed, -10}}),
        // 104 wide after a frame, 98..201: the start rule turns the growth; the too-narrow
        // window rule must not turn it back.
        motion("a width growing past both ends turns once",
               window({.origin = 150, .width = 96, .widthSpeed = 8, .anchor = kMiddle}), 1,
               {{&St::origin, 150}, {&St::width, 104}, {&St::widthSpeed, -8}}),
        motion("101..210 with only BounceAtStart: the window is too narrow",
               window({.origin = 101, .width = 102, .widthSpeed = 8}, PlayerFlags::BounceAtStart),
               1, {{&St::width, 110}, {&St::widthSpeed, -8}}),
        motion("120..157 inside the window keeps growing",
               window({.origin = 120, .width = 30, .widthSpeed = 8}, PlayerFlags::BounceAtStart), 1,
               {{&St::width, 38}, {&St::widthSpeed, 8}}),
        motion("no bounce flag: the width just grows",
               window({.origin = 101, .width = 102, .widthSpeed = 8}, 0), 1,
               {{&St::width, 110}, {&St::widthSpeed, 8}}),
        // 8 rows: c = 20, s = 20 + offset. Going up, s = 14 < 16 sets s back to 16 (offset −4);
        // going down, s = 26 puts the bottom row past lamp 0 (8 + 26 − 16 > 16), so s = 24.
        motion("8 rows turn at the top lamp", rising, 3,
               {{&St::verticalOffset, -4}, {&St::verticalSpeed, 2}}, 8),
        motion("at the bottom", rising, 8, {{&St::verticalOffset, 4}, {&St::verticalSpeed, -2}}, 8),
        // 24 rows: c = 12. Up until the bottom row reaches lamp 0 (s = 8), down until the top row
        // reaches lamp 15 (s = 16).
        motion("24 rows turn when their last row is on the lamps", rising, 3,
               {{&St::verticalOffset, -4}, {&St::verticalSpeed, 2}}, 24),
        motion("and down", rising, 8, {{&St::verticalOffset, 4}, {&St::verticalSpeed, -2}}, 24),
        motion("without VerticalBounce nothing stops it", {.verticalSpeed = -2}, 8,
               {{&St::verticalOffset, -16}, {&St::verticalSpeed, -2}}, 8),
    };
    for (const MotionCase& c : cases) {
        SCOPED_TRACE(c.name);
        PlayerRig rig(8.0);
        rig.start(test::record(c.setup), test::fullColumns(1), c.rows);
        rig.steps(c.steps);
        for (const auto& [field, value] : c.expected) {
            EXPECT_DOUBLE_EQ(rig.state().*field, value);
        }
    }
}

TEST(PlayerMotion, SpanFollowsTheAnchorTheWidthsSignAndTheWrappedWindow) {
    // A player 20 wide at `x` with WrapAround, in the window `from`..`to`.
    const auto wrapped = [](double x, double from, double to) {
        return PlayerSetup{
            .origin = x, .width = 20, .flags = kWrap, .clipStart = from, .clipEnd = to};
    };
    const struct {
        const char* name;
        PlayerSetup setup;
        double start, end;
    } cases[] = {
        {"right edge", {.origin = 100, .width = 20, .anchor = kRight}, 80, 99},
        {"less than a degree: one column", {.origin = 100, .width = 0.5}, 100, 100},
        {"an unknown stored anchor: the middle", {.width = 20, .anchor = OriginAnchor{7}}, 80, 99},
        {"wrapped 355..14: the start below zero", wrapped(355, 0, 360), -5, 14},
        {"after the end of a window across 0: a turn back", wrapped(200, 300, 60), -160, -141},
        {"before the start of a window: a turn on", wrapped(10, 100, 200), 370, 389},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PlayerRig rig;
        rig.start(test::record(c.setup));
        EXPECT_EQ(std::pair(rig.player.span().start, rig.player.span().end),
                  std::pair(c.start, c.end));
    }
}

TEST(PlayerMotion, FlashPhaseAdvancesByTheClampedRateAndDarkensFramesPastTheThreshold) {
    const struct {
        const char* name;
        double flashing, flashingAccel;  // Hz and Hz a second, at 8 frames a second
        std::uint16_t threshold;
        std::vector<int> phases;  // after each frame
        const char* shown;        // each frame lit (#) or dark (.), drawn before its step
    } cases[] = {
        // 0.6103515625 cycles a frame: 40000, above the threshold 32768, then the rate is held
        // at 0.5: 40000 + 32768 − 65536 = 7232.
        {"4.8828125 Hz", 4.8828125, 0, 0x8000, {40000, 7232, 40000, 7232}, "#.#."},
        // A phase at the threshold is still lit.
        {"2 Hz", 2.0, 0, 0x8000, {16384, 32768, 49152, 0}, "###."},
        // 1.25 cycles a frame: the first step still uses it (trunc(1.25 × 65536) mod 65536).
        {"10 Hz", 10.0, 0, 0x8000, {16384, 49152, 16384, 49152}, "##.#"},
        {"not flashing", 0.0, 0, 0x8000, {0, 0, 0, 0}, "####"},
        // 0.1 cycles a frame falling by 0.1 a frame²: the rate reaches 0 and the phase goes back.
        {"falling to zero", 0.8, -6.4, 0x8000, {0, 0, 0, 0}, "####"},
        // Each step advances by the rate from before its own change: trunc(0.1 × 65536) = 6553,
        // then trunc(0.11 × 65536) = 7208, 7864 and 8519.
        {"rising by 0.01 a frame²", 0.8, 0.64, 0x8000, {6553, 13761, 21625, 30144}, "####"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PlayerRig rig(8.0);
        PlayerParameters record = test::record({.origin = 0.0, .width = 1.0});
        record.flashing = c.flashing;
        record.flashingAccel = c.flashingAccel;
        record.flashDutyThreshold = c.threshold;
        rig.start(record, test::numberedColumns(1));
        std::vector<int> phases;
        std::string shown;
        for (int i = 0; i < 4; ++i) {
            shown += test::frameIsDark(rig.frame()) ? '.' : '#';
            phases.push_back(rig.state().flashPhase);
        }
        EXPECT_EQ(phases, c.phases);
        EXPECT_EQ(shown, c.shown);
    }
}

// Records come from files anyone can write: huge, infinite or NaN positions stay defined.
TEST(PlayerMotion, WrapKeepsHugePositionsOnTheCircle) {
    test::PlayerRig rig(8.0);
    PlayerParameters record = test::record(
        {.origin = 1e300, .flags = PlayerFlags::WrapAround, .clipStart = -1e300, .clipEnd = 1e300});
    record.originSpeed = 1e300;
    rig.start(record, test::numberedColumns(10));
    for (int frame = 0; frame < 5; ++frame) {
        rig.frame();
        EXPECT_TRUE(rig.state().origin >= 0.0 && rig.state().origin < 360.0) << rig.state().origin;
        EXPECT_GT(rig.state().clipStart, -360.0);
        EXPECT_LT(rig.state().clipEnd, 360.0);
        EXPECT_GT(rig.player.span().start, -720.0);
        EXPECT_LT(rig.player.span().end, 720.0);
    }
    // An infinite or NaN origin has no place on the circle: it must not turn the span into NaN.
    for (const double origin : {HUGE_VAL, std::nan("")}) {
        record.origin = origin;
        rig.start(record, test::numberedColumns(10));
        rig.frame();
        EXPECT_FALSE(std::isnan(rig.player.span().start));
    }
}

// ---- applying a changed record ------------------------------------------------------------

// A player that has moved three frames: origin 90 → 120, width 140 → 164, vertical offset
// 1 → 4, flash phase 0 → 3 × 16384.
struct MovedPlayer : PlayerRig {
    MovedPlayer() : PlayerRig(8.0) {
        record = test::record({.speed = 10, .widthSpeed = 8, .verticalSpeed = 1});
        record.yShift = 1.0;
        record.flashing = 2.0;  // 0.25 cycles a frame
        start(record, test::fullColumns(4));
        steps(3);
    }
    PlayerParameters record;
    bool restart = false;
    const PlayerContent* content = nullptr;  // the new content, if any
    const PlayerContent empty;
    DecimationRandom random{7};
};

struct ChangeCase {
    const char* name;
    void (*change)(MovedPlayer&, PlayerParameters&);
    std::vector<std::pair<double St::*, double>> expected;
    bool restarts;
};
ChangeCase changed(const char* name, void (*change)(MovedPlayer&, PlayerParameters&),
                   std::vector<std::pair<double St::*, double>> expected, bool restarts = false) {
    return {name, change, std::move(expected), restarts};
}
ChangeCase restarted(const char* name, void (*change)(MovedPlayer&, PlayerParameters&),
                     std::vector<std::pair<double St::*, double>> expected = {}) {
    return {name, change, std::move(expected), true};
}

TEST(PlayerChange, OnlyWhatChangedIsRederivedUnlessThePlayerRestartsAndEmptyContentRetires) {
    using P = PlayerParameters;
    const ChangeCase cases[] = {
        changed("a new speed keeps the position", [](MovedPlayer&, P& p) { p.originSpeed = 160; },
                {{&St::origin, 120}, {&St::originSpeed, 20}, {&St::width, 164}}),
        changed("a new width speed keeps the width", [](MovedPlayer&, P& p) { p.widthSpeed = 16; },
                {{&St::width, 164}, {&St::widthSpeed, 2}, {&St::origin, 120}}),
        changed("a new vertical speed keeps the offset",
                [](MovedPlayer&, P& p) { p.verticalSpeed = 16; },
                {{&St::verticalOffset, 4}, {&St::verticalSpeed, 2}}),
        changed("a new flash acceleration keeps the rate",
                [](MovedPlayer&, P& p) { p.flashingAccel = 8; },
                {{&St::flashRate, 0.25}, {&St::flashRateChange, 0.125}}),
        changed("a new origin is jumped to", [](MovedPlayer&, P& p) { p.origin = 45; },
                {{&St::origin, 45}, {&St::originSpeed, 10}, {&St::width, 164}}),
        changed("a new width too", [](MovedPlayer&, P& p) { p.width = 30; },
                {{&St::width, 30}, {&St::origin, 120}}),
        changed("a new y-shift too", [](MovedPlayer&, P& p) { p.yShift = -2; },
                {{&St::verticalOffset, -2}}),
        changed("a new flashing rate keeps the phase", [](MovedPlayer&, P& p) { p.flashing = 4; },
                {{&St::flashRate, 0.5}}),
        changed("a new window leaves the origin alone",
                [](MovedPlayer&, P& p) { p.clipStart = 20, p.clipEnd = 200; },
                {{&St::clipStart, 20}, {&St::clipEnd, 200}, {&St::origin, 120}}),
        changed("wrap resets the width and normalises the window",
                [](MovedPlayer&, P& p) {
                    p.clipStart = 300, p.clipEnd = 60, p.playerFlags = PlayerFlags::WrapAround;
                },
                {{&St::width, 140}, {&St::clipStart, -60}}),
        changed("a death time without its enabled bit counts as none",
                [](MovedPlayer&, P& p) { p.deathAfter = 9; }, {{&St::origin, 120}}),
        restarted("an enabled death time restarts",
                  [](MovedPlayer&, P& p) { p.commandFlags = CommandFlags::DeathAfterEnabled; },
                  {{&St::deathCountdown, 40}}),
        restarted("so does the solo bit",
                  [](MovedPlayer&, P& p) { p.commandFlags = CommandFlags::Solo; }),
        restarted("and a request", [](MovedPlayer& rig, P&) { rig.restart = true; }),
        restarted("a decimating player is restarted in full",
                  [](MovedPlayer& rig, P&) { rig.player.decimate(2.0, rig.random); }),
        restarted("a retiring one too", [](MovedPlayer& rig, P&) { rig.player.retire(); }),
        // Empty content retires the player in ten seconds at 8 frames a second, unless it has
        // its own death time (three seconds here).
        changed("empty content retires it", [](MovedPlayer& rig, P&) { rig.content = &rig.empty; },
                {{&St::deathCountdown, 80}}),
        restarted("empty content with a death time",
                  [](MovedPlayer& rig, P& p) {
                      rig.content = &rig.empty;
                      p.commandFlags = CommandFlags::DeathAfterEnabled, p.deathAfter = 3;
                  },
                  {{&St::deathCountdown, 24}}),
    };
    for (const ChangeCase& c : cases) {
        SCOPED_TRACE(c.name);
        MovedPlayer rig;
        PlayerParameters record = rig.record;
        c.change(rig, record);
        EXPECT_TRUE(rig.player.applyChange(record, rig.content, rig.restart));
        EXPECT_EQ(rig.player.content().empty(), rig.content != nullptr);
        for (const auto& [field, value] : c.expected) {
            EXPECT_EQ(rig.state().*field, value);
        }
        EXPECT_EQ(rig.state().flashPhase, c.restarts ? 0 : 3 * 16384);
        if (c.restarts) {
            EXPECT_EQ(rig.state().origin, 90.0);
            EXPECT_EQ(rig.state().decimationSteps, 0u);
            EXPECT_EQ(rig.state().bits & ~PlayerStateBits::CountingDown, 0u);
        }
    }
}

}  // namespace
}  // namespace rova
