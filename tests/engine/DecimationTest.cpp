// Decimation: the random lamp masks, how many frames a decimation takes at different frame
// rates, what each of those frames shows, and killing a player that is already decimating.

#include <gtest/gtest.h>

#include <bit>

#include "Decimation.h"
#include "EngineTestSupport.h"

namespace rova {
namespace {

using test::EngineRig;
using test::makeSet;

int lampsOff(std::uint16_t mask) {
    return 16 - std::popcount(mask);
}

TEST(DecimationMasks, EachStepSwitchesOffAboutSixteenOverDMoreLamps) {
    // Lamps off in masks[0], masks[1], … for d steps: with q = 16 / d, step index i (counted
    // down from d − 1) switches lamps off until 0.5 + count reaches (d − i) × q. For d = 5:
    // targets 3.2, 6.4, 9.6, 12.8, 16 give 3, 6, 10, 13, 16 lamps.
    struct Case {
        std::uint32_t steps;
        std::vector<int> off;
    };
    const Case cases[] = {
        {1, {16}},
        {2, {16, 8}},
        {3, {16, 11, 5}},
        {5, {16, 13, 10, 6, 3}},
        {8, {16, 14, 12, 10, 8, 6, 4, 2}},
        {16, {16, 15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1}},
    };
    DecimationRandom random(12345);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.steps);
        DecimationMasks masks{};
        buildDecimationMasks(masks, c.steps, random);
        for (int phase = 0; phase < 16; ++phase) {
            for (std::uint32_t i = 0; i < c.steps; ++i) {
                EXPECT_EQ(lampsOff(masks[i][phase]), c.off[i]);
                // A lamp once off stays off in every later (lower) step.
                if (i + 1 < c.steps) {
                    EXPECT_EQ(masks[i][phase] & ~masks[i + 1][phase], 0);
                }
            }
        }
    }
}

// A player lighting every lamp of all 360 columns in blue.
PlayerParameters wholeCircle(DeathType death) {
    PlayerParameters record = test::plainRecord();
    record.origin = 0.0;
    record.width = 360.0;
    record.deathType = static_cast<std::uint32_t>(death);
    return record;
}

// Kills a whole-circle player and returns how many lamps each column shows in each frame from
// the kill until the player is gone. Checks on the way that all columns show the same number,
// that the pattern repeats every 16 columns, and that no lamp comes back on.
std::vector<int> litLampsWhileDecimating(double framesPerSecond, DeathType death) {
    EngineRig rig;
    rig.engine.setFramesPerSecond(framesPerSecond);
    rig.engine.seedRandom(99);
    rig.engine.addPlayer(makeSet(wholeCircle(death), test::fullColumns(16)), false);
    rig.engine.compose(1);
    LampFrame previous = rig.engine.frame();
    EXPECT_EQ(test::litColumns(previous).size(), 360u);
    EXPECT_EQ(previous.columns[123][0], 0xFFFF);

    rig.engine.killTopPlayer(false);
    std::vector<int> lit;
    while (rig.engine.playerCount() > 0 && lit.size() < 100) {
        rig.engine.compose(1);
        const LampFrame frame = rig.engine.frame();
        const int lamps = std::popcount(frame.columns[0][0]);
        for (int c = 0; c < LampFrame::kColumns; ++c) {
            EXPECT_EQ(std::popcount(frame.columns[c][0]), lamps);
            EXPECT_EQ(frame.columns[c][0], frame.columns[c % 16][0]);
            EXPECT_EQ(frame.columns[c][0] & ~previous.columns[c][0], 0);
        }
        lit.push_back(lamps);
        previous = frame;
    }
    return lit;
}

std::vector<int> countDown(int from, int step) {
    std::vector<int> values;
    for (int v = from; v >= 0; v -= step) {
        values.push_back(v);
    }
    return values;
}

TEST(DecimationFrames, StepCountsFollowTheFrameRate) {
    // F = 1: a fast decimation has one step, and its only frame is dark; a slow one has two.
    EXPECT_EQ(litLampsWhileDecimating(1.0, DeathType::DecimateFast), std::vector<int>{0});
    EXPECT_EQ(litLampsWhileDecimating(1.0, DeathType::DecimateSlow), (std::vector<int>{8, 0}));
    // F = 8: fast is 8 frames (one second), slow 16 frames (two seconds).
    EXPECT_EQ(litLampsWhileDecimating(8.0, DeathType::DecimateFast), countDown(14, 2));
    EXPECT_EQ(litLampsWhileDecimating(8.0, DeathType::DecimateSlow), countDown(15, 1));
    // F = 16 and above: both last 16 frames, although the slow countdown is longer.
    EXPECT_EQ(litLampsWhileDecimating(16.0, DeathType::DecimateFast), countDown(15, 1));
    EXPECT_EQ(litLampsWhileDecimating(16.0, DeathType::DecimateSlow), countDown(15, 1));
    EXPECT_EQ(litLampsWhileDecimating(30.0, DeathType::DecimateSlow), countDown(15, 1));
}

TEST(DecimationFrames, MasksFollowTheFrameColumn) {
    // A whole-circle player and a 20-degree one with two projections, decimating with the same
    // masks: wherever the small one is drawn, its lamps match the whole circle's in that column.
    EngineRig whole;
    EngineRig partial;
    PlayerParameters small = wholeCircle(DeathType::DecimateSlow);
    small.origin = 5.0;
    small.width = 20.0;
    small.projections = 2;
    for (EngineRig* rig : {&whole, &partial}) {
        rig->engine.seedRandom(3);
    }
    whole.engine.addPlayer(makeSet(wholeCircle(DeathType::DecimateSlow), test::fullColumns(16)),
                           false);
    partial.engine.addPlayer(makeSet(small, test::fullColumns(16)), false);
    whole.engine.killTopPlayer(false);
    partial.engine.killTopPlayer(false);
    for (int frame = 0; frame < 15; ++frame) {
        whole.engine.compose(1);
        partial.engine.compose(1);
        const LampFrame expected = whole.engine.frame();
        const LampFrame drawn = partial.engine.frame();
        for (const int first : {5, 185}) {
            for (int c = first; c < first + 20; ++c) {
                ASSERT_EQ(drawn.columns[c][0], expected.columns[c][0])
                    << "frame " << frame << ", column " << c;
            }
        }
    }
}

// Two players: a whole-circle one on top that decimates slowly, and a green one below.
struct TwoPlayerEngine : EngineRig {
    TwoPlayerEngine() {
        engine.seedRandom(5);
        PlayerParameters below = wholeCircle(DeathType::Immediate);
        engine.addPlayer(makeSet(below, std::vector<ContentColumn>(4, test::lampColumn(0, 0xFFFF))),
                         false);
        engine.addPlayer(makeSet(wholeCircle(DeathType::DecimateSlow), test::fullColumns(16)),
                         false);
    }
};

TEST(DecimationFrames, KillTopOnADecimatingPlayerChangesNothing) {
    TwoPlayerEngine once;
    TwoPlayerEngine twice;
    once.engine.killTopPlayer(false);
    twice.engine.killTopPlayer(false);
    once.engine.compose(3);
    twice.engine.compose(3);
    twice.engine.killTopPlayer(false);  // a second kill: not restarted, nothing below killed

    ASSERT_EQ(twice.engine.playerCount(), 2u);
    EXPECT_EQ(twice.engine.top().state().decimationSteps, 13u);
    EXPECT_EQ(twice.engine.players()[1]->state().bits, 0u);
    // Both go on with the very same masks, and the green player stays lit throughout.
    for (int frame = 0; frame < 13; ++frame) {
        once.engine.compose(1);
        twice.engine.compose(1);
        ASSERT_EQ(once.engine.frame().columns, twice.engine.frame().columns);
        EXPECT_EQ(twice.engine.frame().columns[200][1], 0xFFFF);
    }
    EXPECT_EQ(twice.engine.playerCount(), 1u);
}

TEST(DecimationFrames, SeedFixesThePattern) {
    TwoPlayerEngine first;
    TwoPlayerEngine second;
    first.engine.killAllPlayers(false);
    second.engine.killAllPlayers(false);
    for (int frame = 0; frame < 16; ++frame) {
        first.engine.compose(1);
        second.engine.compose(1);
        ASSERT_EQ(first.engine.frame().columns, second.engine.frame().columns);
    }
}

}  // namespace
}  // namespace rova
