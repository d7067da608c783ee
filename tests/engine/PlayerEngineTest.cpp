// The player stack: adding (new, solo, replace top), changing the top player, killing, deaths
// by time and by retiring, composing frames, and the reset-lag flag of each operation.

#include <gtest/gtest.h>

#include <functional>

#include "EngineTestSupport.h"

namespace rova {
namespace {

using test::EngineRig;
using test::makeSet;
using test::numberedColumns;
using test::TestEngine;

// A visible player 10 degrees wide, recognisable by its origin.
PlayerParameters playerAt(double origin, DeathType death = DeathType::Immediate,
                          std::uint32_t commandFlags = 0) {
    PlayerParameters record = test::record({.origin = origin, .width = 10.0});
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

}  // namespace
}  // namespace rova
