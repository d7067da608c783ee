// A player's motion: per-frame rates, springs, the clip window, normalising, the span, bounces,
// vertical motion, flashing, and how a changed record is applied to a running player.

#include <gtest/gtest.h>

#include "EngineTestSupport.h"

namespace rova {
namespace {

using test::plainRecord;
using test::PlayerRig;

TEST(PlayerMotion, SpeedsArePerSecondAndStepPerFrame) {
    PlayerRig rig(8.0);
    PlayerParameters record = plainRecord();
    record.originSpeed = 80.0;  // 80 / 8 = 10 degrees a frame
    rig.start(record);
    rig.steps(1);
    EXPECT_DOUBLE_EQ(rig.state().origin, 100.0);
    rig.steps(1);
    EXPECT_DOUBLE_EQ(rig.state().origin, 110.0);
}

TEST(PlayerMotion, WrapAroundKeepsTheOriginOnTheCircle) {
    PlayerRig rig(10.0);
    PlayerParameters record = plainRecord();
    record.origin = 350.0;
    record.originSpeed = 20.0;  // 2 degrees a frame at 10 frames a second
    record.playerFlags = PlayerFlags::WrapAround;
    rig.start(record);
    rig.steps(1);
    EXPECT_DOUBLE_EQ(rig.state().origin, 352.0);
    rig.steps(9);  // one second in all
    EXPECT_DOUBLE_EQ(rig.state().origin, 10.0);

    record.playerFlags = 0;
    rig.start(record);
    rig.steps(10);
    EXPECT_DOUBLE_EQ(rig.state().origin, 370.0);

    // With OriginSpring the origin is not wrapped, even with WrapAround.
    record.playerFlags = PlayerFlags::WrapAround | PlayerFlags::OriginSpring;
    rig.start(record);
    rig.steps(10);
    EXPECT_DOUBLE_EQ(rig.state().origin, 370.0);
}

TEST(PlayerMotion, SpringPullsTowardTheFieldWithDamping) {
    PlayerRig rig(8.0);
    PlayerParameters record = plainRecord();
    record.playerFlags = PlayerFlags::OriginSpring | PlayerFlags::WidthSpring;
    record.originSpeed = 80.0;   // 10 deg/frame
    record.originAccel = 640.0;  // |A| / F² = 10
    record.widthSpeed = 80.0;
    record.widthAccel = -640.0;  // the sign of the strength does not matter
    rig.start(record);
    // At the start x equals the target: a = 0 and the damping term is skipped.
    EXPECT_EQ(rig.state().originAccel, 0.0);
    EXPECT_EQ(rig.state().widthAccel, 0.0);

    rig.steps(1);
    // x = 100, v = 10: a = 10 × (90 − 100) / 90 − 10 / (20 × 8).
    const double originAccel = 10.0 * (90.0 - 100.0) / 90.0 - 10.0 / 160.0;
    EXPECT_DOUBLE_EQ(rig.state().origin, 100.0);
    EXPECT_DOUBLE_EQ(rig.state().originAccel, originAccel);
    // The width: x = 150 against the field 140.
    EXPECT_DOUBLE_EQ(rig.state().width, 150.0);
    EXPECT_DOUBLE_EQ(rig.state().widthAccel, 10.0 * (140.0 - 150.0) / 90.0 - 10.0 / 160.0);

    rig.steps(1);
    EXPECT_DOUBLE_EQ(rig.state().origin, 110.0);
    EXPECT_DOUBLE_EQ(rig.state().originSpeed, 10.0 + originAccel);
}

TEST(PlayerMotion, SpringWithoutStrengthDoesNotPullBack) {
    PlayerRig rig(8.0);
    PlayerParameters record = plainRecord();
    record.playerFlags = PlayerFlags::OriginSpring;
    record.originSpeed = 80.0;
    rig.start(record);
    rig.steps(3);
    EXPECT_DOUBLE_EQ(rig.state().origin, 120.0);
    EXPECT_EQ(rig.state().originAccel, 0.0);
    EXPECT_DOUBLE_EQ(rig.state().originSpeed, 10.0);
}

TEST(PlayerMotion, ClipResetFromTheFields) {
    PlayerRig rig;
    PlayerParameters record = plainRecord();

    // The default full window: clip end becomes 359; active only without wrap.
    rig.start(record);
    EXPECT_EQ(rig.state().clipStart, 0.0);
    EXPECT_EQ(rig.state().clipEnd, 359.0);
    EXPECT_TRUE(rig.state().clipActive);
    record.playerFlags = PlayerFlags::WrapAround;
    rig.start(record);
    EXPECT_EQ(rig.state().clipEnd, 359.0);
    EXPECT_FALSE(rig.state().clipActive);

    // A window across 0° with wrap: the start moves below zero.
    record.clipStart = 300.0;
    record.clipEnd = 60.0;
    rig.start(record);
    EXPECT_EQ(rig.state().clipStart, -60.0);
    EXPECT_EQ(rig.state().clipEnd, 60.0);
    EXPECT_TRUE(rig.state().clipActive);

    // An ordinary window.
    record.playerFlags = 0;
    record.clipStart = 10.0;
    record.clipEnd = 100.0;
    rig.start(record);
    EXPECT_EQ(rig.state().clipStart, 10.0);
    EXPECT_EQ(rig.state().clipEnd, 100.0);
    EXPECT_TRUE(rig.state().clipActive);

    // Equal ends mean the full circle from the start.
    record.clipStart = 50.0;
    record.clipEnd = 50.0;
    rig.start(record);
    EXPECT_EQ(rig.state().clipEnd, 409.0);
    EXPECT_TRUE(rig.state().clipActive);
}

TEST(PlayerMotion, NormaliseLimitsWidthToProjectionSpacing) {
    PlayerRig rig;
    PlayerParameters record = plainRecord();
    record.playerFlags = PlayerFlags::WrapAround;
    record.projections = 2;
    record.width = 200.0;
    rig.start(record);
    EXPECT_EQ(rig.state().width, 180.0);
    record.width = -200.0;
    rig.start(record);
    EXPECT_EQ(rig.state().width, -180.0);

    // Several projections limit the width even without wrap.
    record.playerFlags = 0;
    record.projections = 3;
    record.width = 200.0;
    rig.start(record);
    EXPECT_EQ(rig.state().width, 120.0);

    // One projection: only wrap limits it, to the whole circle.
    record.projections = 1;
    rig.start(record);
    EXPECT_EQ(rig.state().width, 200.0);
    record.width = 400.0;
    record.playerFlags = PlayerFlags::WrapAround;
    rig.start(record);
    EXPECT_EQ(rig.state().width, 360.0);

    // A negative origin is brought onto the circle.
    record.origin = -30.0;
    rig.start(record);
    EXPECT_EQ(rig.state().origin, 330.0);
}

TEST(PlayerMotion, SpanFollowsTheAnchorAndTheWidthsSign) {
    PlayerRig rig;
    PlayerParameters record = plainRecord();
    record.origin = 100.0;
    record.width = 20.0;
    auto spanFor = [&](OriginAnchor anchor, double width) {
        record.originAnchor = static_cast<std::uint32_t>(anchor);
        record.width = width;
        rig.start(record);
        return rig.player.span();
    };
    Span span = spanFor(OriginAnchor::LeftEdge, 20.0);
    EXPECT_EQ(span.start, 100.0);
    EXPECT_EQ(span.end, 119.0);
    span = spanFor(OriginAnchor::Middle, 20.0);
    EXPECT_EQ(span.start, 90.0);
    EXPECT_EQ(span.end, 109.0);
    span = spanFor(OriginAnchor::RightEdge, 20.0);
    EXPECT_EQ(span.start, 80.0);
    EXPECT_EQ(span.end, 99.0);
    // Mirrored, middle: left = 100 + 10 = 110, start = 110 − 19.
    span = spanFor(OriginAnchor::Middle, -20.0);
    EXPECT_EQ(span.start, 91.0);
    EXPECT_EQ(span.end, 110.0);
    // Less than one degree wide: a single column.
    span = spanFor(OriginAnchor::LeftEdge, 0.5);
    EXPECT_EQ(span.start, 100.0);
    EXPECT_EQ(span.end, 100.0);
}

TEST(PlayerMotion, SpanWithWrapFollowsTheClipWindow) {
    PlayerRig rig;
    PlayerParameters record = plainRecord();
    record.playerFlags = PlayerFlags::WrapAround;
    record.width = 20.0;

    // 355..374 wraps to 355..14, so the start goes below zero.
    record.origin = 355.0;
    rig.start(record);
    EXPECT_EQ(rig.player.span().start, -5.0);
    EXPECT_EQ(rig.player.span().end, 14.0);

    // A window across 0° (−60..60): a span after its end is counted one turn back.
    record.clipStart = 300.0;
    record.clipEnd = 60.0;
    record.origin = 200.0;
    rig.start(record);
    EXPECT_EQ(rig.player.span().start, -160.0);
    EXPECT_EQ(rig.player.span().end, -141.0);

    // A window 100..200: a span before its start is counted one turn on.
    record.clipStart = 100.0;
    record.clipEnd = 200.0;
    record.origin = 10.0;
    rig.start(record);
    EXPECT_EQ(rig.player.span().start, 370.0);
    EXPECT_EQ(rig.player.span().end, 389.0);
}

TEST(PlayerMotion, BounceAtZeroTurnsTheWidthAround) {
    PlayerRig rig(8.0);
    PlayerParameters record = plainRecord();
    record.width = 10.0;
    record.widthSpeed = -40.0;  // −5 degrees a frame
    record.playerFlags = PlayerFlags::BounceAtZero;
    rig.start(record);
    std::vector<double> widths;
    std::vector<double> speeds;
    for (int i = 0; i < 4; ++i) {
        rig.steps(1);
        widths.push_back(rig.state().width);
        speeds.push_back(rig.state().widthSpeed);
    }
    EXPECT_EQ(widths, (std::vector<double>{5.0, 0.0, 5.0, 10.0}));
    EXPECT_EQ(speeds, (std::vector<double>{-5.0, 5.0, 5.0, 5.0}));  // turned at 0

    record.playerFlags = 0;
    rig.start(record);
    widths.clear();
    for (int i = 0; i < 4; ++i) {
        rig.steps(1);
        widths.push_back(rig.state().width);
    }
    EXPECT_EQ(widths, (std::vector<double>{5.0, 0.0, -5.0, -10.0}));
}

// A window from 100 to 200 with both bounce flags, moving 10 degrees a frame.
PlayerParameters bouncingRecord(OriginAnchor anchor, double origin, double width, double speed) {
    PlayerParameters record = plainRecord();
    record.playerFlags = PlayerFlags::BounceAtStart | PlayerFlags::BounceAtEnd;
    record.clipStart = 100.0;
    record.clipEnd = 200.0;
    record.originAnchor = static_cast<std::uint32_t>(anchor);
    record.origin = origin;
    record.width = width;
    record.originSpeed = speed * 8.0;
    return record;
}

TEST(PlayerMotion, BouncesOffTheClipWindowEnds) {
    PlayerRig rig(8.0);
    // Left edge, 20 wide: 180..199 does not touch 200; 190..209 does, and the span is placed
    // to start at 200 − 20 = 180.
    rig.start(bouncingRecord(OriginAnchor::LeftEdge, 170.0, 20.0, 10.0));
    rig.steps(1);
    EXPECT_EQ(rig.state().origin, 180.0);
    EXPECT_EQ(rig.state().originSpeed, 10.0);
    rig.steps(1);
    EXPECT_EQ(rig.state().origin, 180.0);
    EXPECT_EQ(rig.state().originSpeed, -10.0);
    rig.steps(1);
    EXPECT_EQ(rig.state().origin, 170.0);

    // At the start: 100..119 touches 100 and is placed to start there.
    rig.start(bouncingRecord(OriginAnchor::LeftEdge, 110.0, 20.0, -10.0));
    rig.steps(1);
    EXPECT_EQ(rig.state().origin, 100.0);
    EXPECT_EQ(rig.state().originSpeed, 10.0);

    // Middle anchor: placing the start at 180 puts the origin at 180 + 10.
    rig.start(bouncingRecord(OriginAnchor::Middle, 180.0, 20.0, 10.0));
    rig.steps(2);
    EXPECT_EQ(rig.state().origin, 190.0);
    EXPECT_EQ(rig.state().originSpeed, -10.0);

    // Mirrored with the right-edge anchor: the span is x + 1 .. x + 20. At x = 180 it ends at
    // 200; placing its start at 180 gives left = 180 − (−20 + 1) = 199 and x = 199 − 20 = 179.
    rig.start(bouncingRecord(OriginAnchor::RightEdge, 170.0, -20.0, 10.0));
    rig.steps(1);
    EXPECT_EQ(rig.state().origin, 179.0);
    EXPECT_EQ(rig.state().originSpeed, -10.0);
    EXPECT_EQ(rig.player.span().start, 180.0);

    // A span 170..189 in a window ending at 185. Unsynced it is placed to start at 165 and
    // turns; with OriginSync the window travels along, so it is neither placed nor turned.
    PlayerParameters record = bouncingRecord(OriginAnchor::LeftEdge, 170.0, 20.0, 10.0);
    record.clipEnd = 185.0;
    rig.start(record);
    rig.steps(1);
    EXPECT_EQ(rig.state().origin, 165.0);
    EXPECT_EQ(rig.state().originSpeed, -10.0);
    record.playerFlags |= PlayerFlags::OriginSync;
    rig.start(record);
    rig.steps(1);
    EXPECT_EQ(rig.state().origin, 180.0);
    EXPECT_EQ(rig.state().originSpeed, 10.0);
    EXPECT_EQ(rig.state().clipEnd, 195.0);
}

TEST(PlayerMotion, GrowingWidthTurnsAtTheWindowExactlyOnce) {
    PlayerRig rig(8.0);
    // Middle anchor, 96 wide and growing 8 a frame: after one frame 104 wide, 98..201. The
    // start branch negates the growth; the too-narrow-window rule must not negate it back.
    PlayerParameters record = bouncingRecord(OriginAnchor::Middle, 150.0, 96.0, 0.0);
    record.widthSpeed = 64.0;
    rig.start(record);
    rig.steps(1);
    EXPECT_EQ(rig.state().width, 104.0);
    EXPECT_EQ(rig.state().widthSpeed, -8.0);

    // Only BounceAtStart, span 101..210: neither end rule applies, but the 100-degree window
    // is narrower than the 109-degree span, so the growth turns.
    record = bouncingRecord(OriginAnchor::LeftEdge, 101.0, 102.0, 0.0);
    record.playerFlags = PlayerFlags::BounceAtStart;
    record.widthSpeed = 64.0;
    rig.start(record);
    rig.steps(1);
    EXPECT_EQ(rig.state().width, 110.0);
    EXPECT_EQ(rig.state().widthSpeed, -8.0);

    // Without any bounce flag the width just grows.
    record.playerFlags = 0;
    rig.start(record);
    rig.steps(1);
    EXPECT_EQ(rig.state().widthSpeed, 8.0);
}

// Runs `frames` steps and records the vertical offset after each.
std::vector<double> verticalOffsets(PlayerRig& rig, int frames) {
    std::vector<double> offsets;
    for (int i = 0; i < frames; ++i) {
        rig.steps(1);
        offsets.push_back(rig.state().verticalOffset);
    }
    return offsets;
}

TEST(PlayerMotion, VerticalBounceBetweenTopAndBottomLamps) {
    PlayerRig rig(8.0);
    PlayerParameters record = plainRecord();
    record.playerFlags = PlayerFlags::VerticalBounce;
    record.verticalSpeed = -16.0;  // two rows up a frame

    // 8 rows: c = 20, s = 20 + offset. Going up, s = 14 < 16 sets s back to 16 (offset −4);
    // going down, s = 26 puts the bottom row past lamp 0 (8 + 26 − 16 > 16), so s = 24.
    rig.start(record, test::fullColumns(1), 8);
    EXPECT_EQ(verticalOffsets(rig, 8),
              (std::vector<double>{-2.0, -4.0, -4.0, -2.0, 0.0, 2.0, 4.0, 4.0}));
    EXPECT_EQ(rig.state().verticalSpeed, -2.0);

    // 24 rows: c = 12. Going up it may scroll until its bottom row reaches lamp 0 (s = 8);
    // going down until its top row reaches lamp 15 (s = 16).
    rig.start(record, test::fullColumns(1), 24);
    EXPECT_EQ(verticalOffsets(rig, 8),
              (std::vector<double>{-2.0, -4.0, -4.0, -2.0, 0.0, 2.0, 4.0, 4.0}));

    // Without the flag nothing stops it.
    record.playerFlags = 0;
    rig.start(record, test::fullColumns(1), 8);
    EXPECT_EQ(verticalOffsets(rig, 4), (std::vector<double>{-2.0, -4.0, -6.0, -8.0}));
}

TEST(PlayerMotion, FlashRateIsClampedAndAFallingRateResetsThePhase) {
    PlayerRig rig(8.0);
    PlayerParameters record = plainRecord();
    // 10 Hz at 8 frames a second is 1.25 cycles a frame: the first step still uses it
    // (trunc(1.25 × 65536) mod 65536 = 16384), then the rate is held at 0.5.
    record.flashing = 10.0;
    rig.start(record);
    rig.steps(1);
    EXPECT_EQ(rig.state().flashPhase, 16384);
    EXPECT_EQ(rig.state().flashRate, 0.5);
    rig.steps(1);
    EXPECT_EQ(rig.state().flashPhase, 49152);
    rig.steps(1);
    EXPECT_EQ(rig.state().flashPhase, 16384);

    record.flashing = 0.0;
    rig.start(record);
    rig.steps(5);
    EXPECT_EQ(rig.state().flashPhase, 0);

    // 0.8 Hz is 0.1 cycles a frame; −6.4 Hz/s is −0.1 cycles a frame². The phase advances
    // once, then the rate reaches 0 and the phase goes back to 0.
    record.flashing = 0.8;
    record.flashingAccel = -6.4;
    rig.start(record);
    rig.steps(1);
    EXPECT_EQ(rig.state().flashRate, 0.0);
    EXPECT_EQ(rig.state().flashPhase, 0);

    // Each step advances the phase by the rate from before its own change: 0.1 cycles
    // (trunc(6553.6) = 6553), then 0.11 (trunc(7208.96) = 7208).
    record.flashingAccel = 0.64;  // 0.01 cycles a frame²
    rig.start(record);
    rig.steps(1);
    EXPECT_EQ(rig.state().flashPhase, 6553);
    rig.steps(1);
    EXPECT_EQ(rig.state().flashPhase, 6553 + 7208);
}

TEST(PlayerMotion, StartSetsTheDeathCountdown) {
    PlayerRig rig(8.0);
    PlayerParameters record = plainRecord();
    record.deathAfter = 2.0;
    record.commandFlags = CommandFlags::DeathAfterEnabled;
    rig.start(record);
    EXPECT_EQ(rig.state().deathCountdown, 16.0);
    EXPECT_EQ(rig.state().bits, PlayerStateBits::CountingDown);
    EXPECT_EQ(rig.state().decimationSteps, 0u);

    record.commandFlags = 0;
    rig.start(record);
    EXPECT_EQ(rig.state().bits, 0u);

    PlayerRig faster(10.0);
    record.commandFlags = CommandFlags::DeathAfterEnabled;
    faster.start(record);
    EXPECT_EQ(faster.state().deathCountdown, 20.0);
}

// ---- applying a changed record ------------------------------------------------------------

// A player that has moved three frames: origin 90 → 120, width 140 → 164.
struct MovedPlayer : PlayerRig {
    MovedPlayer() : PlayerRig(8.0) {
        record = plainRecord();
        record.originSpeed = 80.0;
        record.widthSpeed = 64.0;
        record.yShift = 1.0;
        record.verticalSpeed = 8.0;
        record.flashing = 2.0;  // 0.25 cycles a frame
        start(record, test::fullColumns(4));
        steps(3);
    }
    bool change(const PlayerParameters& changed, bool restart = false) {
        return player.applyChange(changed, nullptr, restart);
    }
    PlayerParameters record;
};

TEST(PlayerChange, OnlyWhatChangedIsRederived) {
    MovedPlayer rig;
    ASSERT_EQ(rig.state().origin, 120.0);
    ASSERT_EQ(rig.state().width, 164.0);
    ASSERT_EQ(rig.state().verticalOffset, 4.0);
    ASSERT_EQ(rig.state().flashPhase, 3 * 16384);

    // New speeds: the positions stay where they are.
    PlayerParameters changed = rig.record;
    changed.originSpeed = 160.0;
    changed.widthSpeed = 16.0;
    changed.verticalSpeed = 16.0;
    changed.flashingAccel = 8.0;
    EXPECT_TRUE(rig.change(changed));
    EXPECT_EQ(rig.state().origin, 120.0);
    EXPECT_EQ(rig.state().originSpeed, 20.0);
    EXPECT_EQ(rig.state().width, 164.0);
    EXPECT_EQ(rig.state().widthSpeed, 2.0);
    EXPECT_EQ(rig.state().verticalOffset, 4.0);
    EXPECT_EQ(rig.state().verticalSpeed, 2.0);
    EXPECT_EQ(rig.state().flashPhase, 3 * 16384);
    EXPECT_EQ(rig.state().flashRate, 0.25);
    EXPECT_EQ(rig.state().flashRateChange, 0.125);

    // New position fields: the player jumps there; a new flashing rate keeps the phase.
    changed.origin = 45.0;
    changed.width = 30.0;
    changed.yShift = -2.0;
    changed.flashing = 4.0;
    EXPECT_TRUE(rig.change(changed));
    EXPECT_EQ(rig.state().origin, 45.0);
    EXPECT_EQ(rig.state().width, 30.0);
    EXPECT_EQ(rig.state().verticalOffset, -2.0);
    EXPECT_EQ(rig.state().flashRate, 0.5);
    EXPECT_EQ(rig.state().flashPhase, 3 * 16384);
}

TEST(PlayerChange, ClipAndWrapChangesResetTheirParts) {
    MovedPlayer rig;
    PlayerParameters changed = rig.record;
    changed.clipStart = 20.0;
    changed.clipEnd = 200.0;
    rig.change(changed);
    EXPECT_EQ(rig.state().clipStart, 20.0);
    EXPECT_EQ(rig.state().clipEnd, 200.0);
    EXPECT_EQ(rig.state().origin, 120.0);  // the origin is not touched by the clip

    // Turning wrap on resets the width to its field and normalises the clip.
    changed.clipStart = 300.0;
    changed.clipEnd = 60.0;
    changed.playerFlags = PlayerFlags::WrapAround;
    rig.change(changed);
    EXPECT_EQ(rig.state().width, 140.0);
    EXPECT_EQ(rig.state().clipStart, -60.0);
}

TEST(PlayerChange, DeathOrSoloChangesRestartThePlayer) {
    MovedPlayer rig;
    PlayerParameters changed = rig.record;
    // A different death time without its enabled bit counts as no death time: no restart.
    changed.deathAfter = 9.0;
    rig.change(changed);
    EXPECT_EQ(rig.state().origin, 120.0);

    changed.commandFlags = CommandFlags::DeathAfterEnabled;
    rig.change(changed);
    EXPECT_EQ(rig.state().origin, 90.0);
    EXPECT_EQ(rig.state().deathCountdown, 72.0);  // 9 s × 8
    EXPECT_EQ(rig.state().bits, PlayerStateBits::CountingDown);

    rig.steps(2);
    changed.commandFlags |= CommandFlags::Solo;
    rig.change(changed);
    EXPECT_EQ(rig.state().origin, 90.0);

    rig.steps(2);
    rig.change(changed, true);  // an explicit restart request
    EXPECT_EQ(rig.state().origin, 90.0);
    EXPECT_EQ(rig.state().deathCountdown, 72.0);
}

TEST(PlayerChange, FadingPlayerIsRestartedInFull) {
    MovedPlayer rig;
    DecimationRandom random(7);
    rig.player.decimate(2.0, random);
    ASSERT_TRUE(test::isDecimating(rig.player));
    rig.change(rig.record);
    EXPECT_EQ(rig.state().bits, 0u);
    EXPECT_EQ(rig.state().decimationSteps, 0u);
    EXPECT_EQ(rig.state().origin, 90.0);

    rig.steps(2);
    rig.player.retire();
    ASSERT_TRUE(test::isRetiring(rig.player));
    rig.change(rig.record);
    EXPECT_EQ(rig.state().bits, 0u);
    EXPECT_EQ(rig.state().origin, 90.0);
}

TEST(PlayerChange, EmptyContentStartsRetiring) {
    MovedPlayer rig;
    const PlayerContent empty;
    EXPECT_TRUE(rig.player.applyChange(rig.record, &empty, false));
    EXPECT_TRUE(rig.player.content().empty());
    EXPECT_TRUE(test::isRetiring(rig.player));
    EXPECT_EQ(rig.state().deathCountdown, 80.0);  // ten seconds at 8 frames a second

    // A player with its own death time keeps it.
    PlayerParameters timed = rig.record;
    timed.commandFlags = CommandFlags::DeathAfterEnabled;
    timed.deathAfter = 3.0;
    rig.start(timed, test::fullColumns(4));
    EXPECT_TRUE(rig.player.applyChange(timed, &empty, false));
    EXPECT_FALSE(test::isRetiring(rig.player));
    EXPECT_EQ(rig.state().deathCountdown, 24.0);
}

}  // namespace
}  // namespace rova
