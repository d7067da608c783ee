// The player stack: adding (new, solo, replace top), changing the top player, killing, deaths
// by time and by retiring, composing frames, the reset-lag flag of each operation, and how many
// frames a decimation takes at different frame rates and what each of them shows.

#include <gtest/gtest.h>

#include <bit>
#include <functional>

#include "EngineTestSupport.h"

namespace rova {
namespace {

using test::EngineRig;
using test::makeSet;
using test::numberedColumns;
using test::TestEngine;

// A visible player 10 degrees wide unless told otherwise, recognisable by its origin.
PlayerParameters playerAt(double origin, DeathType death = DeathType::Immediate,
                          std::uint32_t commandFlags = 0, double width = 10.0) {
    PlayerParameters record = test::record({.origin = origin, .width = width});
    record.deathType = static_cast<std::uint32_t>(death);
    record.commandFlags = commandFlags;
    return record;
}

void add(EngineRig& rig, const PlayerParameters& record) {
    ASSERT_TRUE(rig.engine.addPlayer(makeSet(record, numberedColumns(10)), false));
}

// The origin fields of the players from the top down.
std::vector<double> stackOrigins(const TestEngine& engine) {
    std::vector<double> origins;
    for (const Player* player : engine.players()) {
        origins.push_back(player->parameters().origin);
    }
    return origins;
}

TEST(PlayerStack, SoloKillsEveryOtherPlayerWithItsOwnDeathType) {
    EngineRig rig;
    add(rig, playerAt(10.0, DeathType::Immediate));
    add(rig, playerAt(20.0, DeathType::DecimateFast));
    add(rig, playerAt(30.0, DeathType::DecimateSlow));
    rig.engine.killTopPlayer(false);  // 30 starts a 16-step decimation
    rig.engine.compose(3);
    ASSERT_EQ(rig.engine.top().state().decimationSteps, 13u);

    add(rig, playerAt(40.0, DeathType::Immediate, CommandFlags::Solo));
    EXPECT_EQ(stackOrigins(rig.engine), (std::vector<double>{40.0, 30.0, 20.0}));
    const auto players = rig.engine.players();
    EXPECT_EQ(players[0]->state().bits, 0u);
    // The decimating player keeps its own decimation; the fast one starts 8 steps at F = 8.
    EXPECT_EQ(players[1]->state().decimationSteps, 13u);
    EXPECT_EQ(players[2]->state().bits,
              PlayerStateBits::CountingDown | PlayerStateBits::Decimating);
    EXPECT_EQ(players[2]->state().decimationSteps, 8u);
    // Every player below the top moves on in each frame.
    rig.engine.compose(1);
    EXPECT_EQ(players[1]->state().decimationSteps, 12u);
    EXPECT_EQ(players[2]->state().decimationSteps, 7u);
}

TEST(PlayerStack, ReplaceTopKillsOnlyTheTopPlayer) {
    EngineRig rig;
    add(rig, playerAt(10.0));
    add(rig, playerAt(20.0));
    add(rig, playerAt(30.0, DeathType::Immediate, CommandFlags::ReplaceTop));
    EXPECT_EQ(stackOrigins(rig.engine), (std::vector<double>{30.0, 10.0}));

    // A decimating victim stays until its decimation ends.
    add(rig, playerAt(40.0, DeathType::DecimateFast));
    add(rig, playerAt(50.0, DeathType::Immediate, CommandFlags::ReplaceTop));
    EXPECT_EQ(stackOrigins(rig.engine), (std::vector<double>{50.0, 40.0, 30.0, 10.0}));
    EXPECT_NE(rig.engine.players()[1]->state().bits & PlayerStateBits::Decimating, 0u);

    // Solo wins over replace top.
    add(rig, playerAt(60.0, DeathType::Immediate, CommandFlags::Solo | CommandFlags::ReplaceTop));
    EXPECT_EQ(stackOrigins(rig.engine), (std::vector<double>{60.0, 40.0}));
}

TEST(PlayerStack, ChangeTopPlayerAddsOnAnEmptyStackAndOtherwiseChangesOnlyTheTop) {
    EngineRig rig;
    const ParameterSet changed = makeSet(playerAt(25.0), numberedColumns(4));
    ASSERT_TRUE(rig.engine.changeTopPlayer(makeSet(playerAt(10.0), numberedColumns(3)), true, false,
                                           false));
    add(rig, playerAt(20.0));
    // Record only: the top player keeps its content; with content the new columns replace it.
    EXPECT_TRUE(rig.engine.changeTopPlayer(changed, false, false, false));
    EXPECT_EQ(stackOrigins(rig.engine), (std::vector<double>{25.0, 10.0}));
    EXPECT_EQ(rig.engine.top().state().origin, 25.0);
    EXPECT_EQ(rig.engine.top().content().columnCount(), 10u);
    EXPECT_EQ(rig.engine.players()[1]->content().columnCount(), 3u);
    EXPECT_TRUE(rig.engine.changeTopPlayer(changed, true, false, false));
    EXPECT_EQ(rig.engine.top().content().columnCount(), 4u);
}

TEST(PlayerStack, KillAllUsesEachPlayersDeathTypeAndUnknownTypesActImmediately) {
    EngineRig rig;
    add(rig, playerAt(10.0, DeathType::Immediate));
    add(rig, playerAt(20.0, DeathType::DecimateSlow));
    add(rig, playerAt(30.0, static_cast<DeathType>(3)));
    add(rig, playerAt(40.0, static_cast<DeathType>(4)));
    rig.engine.killAllPlayers(false);
    EXPECT_EQ(stackOrigins(rig.engine), std::vector<double>{20.0});
    EXPECT_EQ(rig.engine.top().state().decimationSteps, 16u);
    rig.engine.compose(15);
    rig.engine.killAllPlayers(false);  // already decimating: not restarted
    EXPECT_EQ(rig.engine.top().state().decimationSteps, 1u);
    rig.engine.compose(1);
    EXPECT_EQ(rig.engine.playerCount(), 0u);
}

TEST(PlayerStack, PlayersLeaveWhenTheirTimeIsUpOrTenSecondsAfterTheyRetired) {
    PlayerParameters twoSeconds =
        playerAt(10.0, DeathType::Immediate, CommandFlags::DeathAfterEnabled);
    twoSeconds.deathAfter = 2.0;
    PlayerParameters oneSecond =
        playerAt(10.0, DeathType::DecimateFast, CommandFlags::DeathAfterEnabled);
    oneSecond.deathAfter = 1.0;
    // Still, outside its window: it retires in its first frame.
    PlayerParameters retired = playerAt(10.0, DeathType::DecimateSlow);
    retired.clipStart = 100.0;
    retired.clipEnd = 200.0;
    const struct {
        const char* name;
        PlayerParameters record;
        int framesAlive;  // composed before the frame in which it is removed
        std::uint32_t bitsAfter8;
    } cases[] = {
        {"two seconds at 8 frames a second", twoSeconds, 15, PlayerStateBits::CountingDown},
        {"one second, then 8 frames of fast decimation", oneSecond, 15,
         PlayerStateBits::CountingDown | PlayerStateBits::Decimating},
        {"retired: ten seconds, without decimating", retired, 79,
         PlayerStateBits::CountingDown | PlayerStateBits::Retiring},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EngineRig rig;
        add(rig, c.record);
        rig.engine.compose(8);
        EXPECT_EQ(rig.engine.top().state().bits, c.bitsAfter8);
        rig.engine.compose(c.framesAlive - 8);
        EXPECT_EQ(rig.engine.playerCount(), 1u);
        EXPECT_EQ(rig.engine.top().state().bits, c.bitsAfter8);
        rig.engine.compose(1);
        EXPECT_EQ(rig.engine.playerCount(), 0u);
    }
}

TEST(PlayerStack, OperationsResetTheLagOnlyWhenAsked) {
    const ParameterSet set = makeSet(playerAt(10.0), numberedColumns(10));
    const std::function<void(TestEngine&, bool)> operations[] = {
        [&set](TestEngine& e, bool reset) { e.addPlayer(set, reset); },
        [&set](TestEngine& e, bool reset) { e.changeTopPlayer(set, true, false, reset); },
        [](TestEngine& e, bool reset) { e.killTopPlayer(reset); },
        [](TestEngine& e, bool reset) { e.killAllPlayers(reset); },
    };
    for (std::size_t i = 0; i <= std::size(operations); ++i) {
        SCOPED_TRACE(i);
        // 400 ms behind a 125 ms period: one catch-up frame is done and 275 ms of lag are left.
        EngineRig rig;
        rig.engine.frameClock().begin();
        rig.clock.set(400);
        rig.engine.frameClock().readNow();
        rig.engine.tick();
        ASSERT_EQ(rig.engine.frameClock().lag(), 275u);
        if (i == std::size(operations)) {
            // Changing the top player of an empty stack resets it through the add.
            rig.engine.changeTopPlayer(set, true, false, true);
            EXPECT_EQ(rig.engine.frameClock().lag(), 0u);
            continue;
        }
        ASSERT_TRUE(rig.engine.addPlayer(set, false));
        operations[i](rig.engine, false);
        EXPECT_EQ(rig.engine.frameClock().lag(), 275u);
        operations[i](rig.engine, true);
        EXPECT_EQ(rig.engine.frameClock().lag(), 0u);
    }
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
        // A player lighting every lamp of all 360 columns in blue.
        rig.engine.addPlayer(makeSet(playerAt(0.0, c.death, 0, 360.0), test::fullColumns(16)),
                             false);
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

}  // namespace
}  // namespace rova
