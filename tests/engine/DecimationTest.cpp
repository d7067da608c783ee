// Decimation: how many frames a decimation takes at different frame rates, what each of those
// frames shows, and killing a player that is already decimating.

#include <gtest/gtest.h>

#include <bit>

#include "EngineTestSupport.h"

namespace rova {
namespace {

using test::EngineRig;
using test::makeSet;

// A player lighting every lamp of all 360 columns in blue.
PlayerParameters wholeCircle(DeathType death) {
    PlayerParameters record = test::record({.origin = 0.0, .width = 360.0});
    record.deathType = static_cast<std::uint32_t>(death);
    return record;
}

TEST(DecimationFrames, StepCountsFollowTheFrameRateAndNoLampComesBack) {
    struct Case {
        double framesPerSecond;
        DeathType death;
        std::vector<int> lit;  // lamps lit in each column, frame by frame after the kill
    };
    const Case cases[] = {
        // F = 1: a fast decimation has one step, and its only frame is dark; a slow one has two.
        {1.0, DeathType::DecimateFast, {0}},
        {1.0, DeathType::DecimateSlow, {8, 0}},
        // F = 8: fast is 8 frames (one second), slow 16 frames (two seconds).
        {8.0, DeathType::DecimateFast, test::countingFrom(14, 8, -2)},
        // F = 5: q = 16 / 5, and each step switches lamps off until 0.5 + the count off reaches
        // the next multiple of q: 3.2, 6.4, 9.6, 12.8, 16 give 3, 6, 10, 13, 16 lamps off.
        {5.0, DeathType::DecimateFast, {13, 10, 6, 3, 0}},
        {8.0, DeathType::DecimateSlow, test::countingFrom(15, 16, -1)},
        // F = 16 and above: both last 16 frames, although the slow countdown is longer.
        {16.0, DeathType::DecimateFast, test::countingFrom(15, 16, -1)},
        {30.0, DeathType::DecimateSlow, test::countingFrom(15, 16, -1)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.framesPerSecond << " fps, death type " << static_cast<int>(c.death));
        EngineRig rig;
        rig.engine.setFramesPerSecond(c.framesPerSecond);
        rig.engine.seedRandom(99);
        rig.engine.addPlayer(makeSet(wholeCircle(c.death), test::fullColumns(16)), false);
        rig.engine.compose(1);
        LampFrame previous = rig.engine.frame();
        ASSERT_EQ(test::litColumns(previous).size(), 360u);

        rig.engine.killTopPlayer(false);
        std::vector<int> lit;
        while (rig.engine.playerCount() > 0 && lit.size() < 100) {
            rig.engine.compose(1);
            const LampFrame frame = rig.engine.frame();
            // Every column shows as many lamps, the pattern repeats every 16 columns, and no
            // lamp comes back on.
            const int lamps = std::popcount(frame.columns[0][0]);
            for (int col = 0; col < LampFrame::kColumns; ++col) {
                EXPECT_EQ(std::popcount(frame.columns[col][0]), lamps);
                EXPECT_EQ(frame.columns[col][0], frame.columns[col % 16][0]);
                EXPECT_EQ(frame.columns[col][0] & ~previous.columns[col][0], 0);
            }
            lit.push_back(lamps);
            previous = frame;
        }
        EXPECT_EQ(lit, c.lit);
    }
}

TEST(DecimationFrames, MasksFollowTheFrameColumnNotTheSample) {
    // A 20-degree player with two projections, 5..24 and 185..204: columns 16 apart show the
    // same mask, also across the projections (5, 21 and 197), in every decimation frame.
    EngineRig rig;
    PlayerParameters small = test::record({.origin = 5, .width = 20, .projections = 2});
    small.deathType = static_cast<std::uint32_t>(DeathType::DecimateSlow);
    rig.engine.addPlayer(makeSet(small, test::fullColumns(16)), false);
    rig.engine.killTopPlayer(false);
    for (int frame = 0; frame < 15; ++frame) {
        rig.engine.compose(1);
        const LampFrame drawn = rig.engine.frame();
        for (const int first : {5, 185}) {
            for (int c = first; c < first + 20; ++c) {
                ASSERT_EQ(drawn.columns[c][0], drawn.columns[5 + (c - 5) % 16][0])
                    << "frame " << frame << ", column " << c;
            }
        }
    }
}

TEST(DecimationFrames, KillTopOnADecimatingPlayerChangesNothing) {
    // A whole-circle player that decimates slowly on top of a green one.
    EngineRig rig;
    rig.engine.addPlayer(makeSet(wholeCircle(DeathType::Immediate),
                                 std::vector<ContentColumn>(4, test::lampColumn(0, 0xFFFF))),
                         false);
    rig.engine.addPlayer(makeSet(wholeCircle(DeathType::DecimateSlow), test::fullColumns(16)),
                         false);
    rig.engine.killTopPlayer(false);
    rig.engine.compose(3);
    rig.engine.killTopPlayer(false);  // a second kill: not restarted, nothing below killed
    ASSERT_EQ(rig.engine.playerCount(), 2u);
    EXPECT_EQ(rig.engine.top().state().decimationSteps, 13u);
    EXPECT_EQ(rig.engine.players()[1]->state().bits, 0u);
    rig.engine.compose(13);
    EXPECT_EQ(rig.engine.playerCount(), 1u);
    EXPECT_EQ(rig.engine.frame().columns[200], (LampFrame::Column{0, 0xFFFF, 0}));
}

}  // namespace
}  // namespace rova
