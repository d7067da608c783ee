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
using test::plainRecord;
using test::TestEngine;

// A visible player 10 degrees wide, recognisable by its origin.
PlayerParameters playerAt(double origin, DeathType death = DeathType::Immediate,
                          std::uint32_t commandFlags = 0) {
    PlayerParameters record = plainRecord();
    record.origin = origin;
    record.width = 10.0;
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

TEST(PlayerStack, NewEngineIsEmptyAtEightFramesASecond) {
    EngineRig rig;
    EXPECT_EQ(rig.engine.playerCount(), 0u);
    EXPECT_EQ(rig.engine.framesPerSecond(), 8.0);
    EXPECT_EQ(rig.engine.frameClock().period(), 125u);
    EXPECT_TRUE(test::frameIsDark(rig.engine.frame()));
}

TEST(PlayerStack, NewPlayerGoesOnTopAndTheOthersKeepMoving) {
    EngineRig rig;
    PlayerParameters moving = playerAt(90.0);
    moving.originSpeed = 80.0;  // 10 degrees a frame
    add(rig, moving);
    rig.engine.compose(2);
    add(rig, playerAt(200.0));
    EXPECT_EQ(stackOrigins(rig.engine), (std::vector<double>{200.0, 90.0}));
    rig.engine.compose(1);
    EXPECT_EQ(rig.engine.players()[1]->state().origin, 120.0);
    EXPECT_EQ(rig.engine.playerCount(), 2u);
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
    EXPECT_TRUE(test::isDecimating(*players[1]));
    EXPECT_EQ(players[1]->state().decimationSteps, 13u);
    EXPECT_TRUE(test::isDecimating(*players[2]));
    EXPECT_EQ(players[2]->state().decimationSteps, 8u);
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
    EXPECT_TRUE(test::isDecimating(*rig.engine.players()[1]));

    // Solo wins over replace top.
    add(rig, playerAt(60.0, DeathType::Immediate, CommandFlags::Solo | CommandFlags::ReplaceTop));
    EXPECT_EQ(stackOrigins(rig.engine), (std::vector<double>{60.0, 40.0}));
}

TEST(PlayerStack, ChangeTopPlayerAddsOnAnEmptyStackAndOtherwiseChangesOnlyTheTop) {
    EngineRig rig;
    ASSERT_TRUE(rig.engine.changeTopPlayer(makeSet(playerAt(10.0), numberedColumns(3)), true, false,
                                           false));
    EXPECT_EQ(stackOrigins(rig.engine), std::vector<double>{10.0});
    add(rig, playerAt(20.0));

    // Record only: the top player keeps its content.
    EXPECT_TRUE(rig.engine.changeTopPlayer(makeSet(playerAt(25.0), numberedColumns(4)), false,
                                           false, false));
    EXPECT_EQ(stackOrigins(rig.engine), (std::vector<double>{25.0, 10.0}));
    EXPECT_EQ(rig.engine.top().state().origin, 25.0);
    EXPECT_EQ(rig.engine.top().content().columnCount(), 10u);
    EXPECT_EQ(rig.engine.players()[1]->content().columnCount(), 3u);

    // With content: the new columns replace the old ones.
    EXPECT_TRUE(rig.engine.changeTopPlayer(makeSet(playerAt(25.0), numberedColumns(4)), true, false,
                                           false));
    EXPECT_EQ(rig.engine.top().content().columnCount(), 4u);
    EXPECT_EQ(rig.engine.playerCount(), 2u);
}

TEST(PlayerStack, KillAllUsesEachPlayersDeathType) {
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

TEST(PlayerStack, DeathAfterTwoSecondsRemovesThePlayerInTheSixteenthFrame) {
    EngineRig rig;
    PlayerParameters record = playerAt(10.0, DeathType::Immediate, CommandFlags::DeathAfterEnabled);
    record.deathAfter = 2.0;
    add(rig, record);
    rig.engine.compose(15);
    EXPECT_EQ(rig.engine.playerCount(), 1u);
    rig.engine.compose(1);
    EXPECT_EQ(rig.engine.playerCount(), 0u);
    // It was still drawn in the frame in which it died.
    EXPECT_EQ(test::litColumns(rig.engine.frame()), test::columnRange(10, 19));
    rig.engine.compose(1);
    EXPECT_TRUE(test::frameIsDark(rig.engine.frame()));
}

TEST(PlayerStack, DeathAfterWithDecimationDecimatesWhenTheTimeIsUp) {
    EngineRig rig;
    PlayerParameters record =
        playerAt(10.0, DeathType::DecimateFast, CommandFlags::DeathAfterEnabled);
    record.deathAfter = 1.0;  // 8 frames, then 8 decimation frames
    add(rig, record);
    rig.engine.compose(8);
    ASSERT_EQ(rig.engine.playerCount(), 1u);
    EXPECT_TRUE(test::isDecimating(rig.engine.top()));
    EXPECT_EQ(rig.engine.top().state().decimationSteps, 8u);
    rig.engine.compose(7);
    EXPECT_EQ(rig.engine.playerCount(), 1u);
    rig.engine.compose(1);
    EXPECT_EQ(rig.engine.playerCount(), 0u);
}

TEST(PlayerStack, RetiringPlayerGoesTenSecondsLaterWithoutDecimating) {
    EngineRig rig;
    // Still, outside its window: it retires in its first frame.
    PlayerParameters record = playerAt(10.0, DeathType::DecimateSlow);
    record.clipStart = 100.0;
    record.clipEnd = 200.0;
    add(rig, record);
    rig.engine.compose(79);
    ASSERT_EQ(rig.engine.playerCount(), 1u);
    EXPECT_TRUE(test::isRetiring(rig.engine.top()));
    EXPECT_FALSE(test::isDecimating(rig.engine.top()));
    rig.engine.compose(1);
    EXPECT_EQ(rig.engine.playerCount(), 0u);
}

TEST(PlayerStack, ComposeClearsTheFrameAndPlayersAddTheirBits) {
    EngineRig rig;
    PlayerParameters low = playerAt(0.0);
    PlayerParameters high = playerAt(5.0);
    ASSERT_TRUE(rig.engine.addPlayer(
        makeSet(low, std::vector<ContentColumn>(10, test::lampColumn(0x00FF))), false));
    ASSERT_TRUE(rig.engine.addPlayer(
        makeSet(high, std::vector<ContentColumn>(10, test::lampColumn(0xFF00))), false));
    rig.engine.compose(1);
    const LampFrame frame = rig.engine.frame();
    EXPECT_EQ(test::litColumns(frame), test::columnRange(0, 14));
    EXPECT_EQ(frame.columns[0][0], 0x00FF);
    EXPECT_EQ(frame.columns[7][0], 0xFFFF);
    EXPECT_EQ(frame.columns[14][0], 0xFF00);

    rig.engine.killAllPlayers(false);
    rig.engine.compose(1);
    EXPECT_TRUE(test::frameIsDark(rig.engine.frame()));
}

// An engine whose clock has fallen 400 ms behind a 125 ms period: one catch-up frame is done and
// 275 ms of lag are left.
struct LaggingEngine : EngineRig {
    LaggingEngine() {
        engine.frameClock().begin();
        clock.set(400);
        engine.frameClock().readNow();
        engine.tick();
    }
    std::uint32_t lag() { return engine.frameClock().lag(); }
};

TEST(PlayerStack, OperationsResetTheLagOnlyWhenAsked) {
    const ParameterSet set = makeSet(playerAt(10.0), numberedColumns(10));
    const std::function<void(TestEngine&, bool)> operations[] = {
        [&set](TestEngine& e, bool reset) { e.addPlayer(set, reset); },
        [&set](TestEngine& e, bool reset) { e.changeTopPlayer(set, true, false, reset); },
        [](TestEngine& e, bool reset) { e.killTopPlayer(reset); },
        [](TestEngine& e, bool reset) { e.killAllPlayers(reset); },
    };
    for (std::size_t i = 0; i < std::size(operations); ++i) {
        SCOPED_TRACE(i);
        LaggingEngine rig;
        ASSERT_TRUE(rig.engine.addPlayer(set, false));
        ASSERT_EQ(rig.lag(), 275u);
        operations[i](rig.engine, false);
        EXPECT_EQ(rig.lag(), 275u);
        operations[i](rig.engine, true);
        EXPECT_EQ(rig.lag(), 0u);
    }

    // Changing the top player of an empty stack resets it through the add.
    LaggingEngine rig;
    rig.engine.changeTopPlayer(set, true, false, true);
    EXPECT_EQ(rig.lag(), 0u);
}

}  // namespace
}  // namespace rova
