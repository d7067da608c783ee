// The player stack: adding (new, solo, replace top), changing the top player, killing, deaths
// by time and by retiring, composing frames, the reset-lag flag of each operation, and how many
// frames a decimation takes at different frame rates and what each of them shows.

#include <gtest/gtest.h>

#include <bit>
#include <functional>
#include <tuple>

#include "EngineTestSupport.h"

namespace rova {
namespace {

using test::EngineRig;
using test::makeSet;
using test::numberedColumns;
using test::TestEngine;

// A visible player 10 degrees wide, recognisable by its origin; a death time enables itself.
PlayerParameters playerAt(double origin, DeathType death = DeathType::Immediate,
                          std::uint32_t commandFlags = 0, double deathAfter = 0.0) {
    PlayerParameters record = test::record({.origin = origin, .width = 10.0});
    record.deathType = static_cast<std::uint32_t>(death);
    record.commandFlags = commandFlags | (deathAfter > 0 ? CommandFlags::DeathAfterEnabled : 0);
    record.deathAfter = deathAfter;
    return record;
}

void add(EngineRig& rig, const PlayerParameters& record) {
    ASSERT_TRUE(rig.engine.addPlayer(makeSet(record, numberedColumns(10)), false));
}

// Each player from the top down: its record's origin, its state bits and decimation steps left.
using Stack = std::vector<std::tuple<double, std::uint32_t, std::uint32_t>>;
Stack stack(const TestEngine& engine) {
    Stack players;
    for (const Player* p : engine.players()) {
        players.emplace_back(p->parameters().origin, p->state().bits, p->state().decimationSteps);
    }
    return players;
}
constexpr std::uint32_t kDecimating = PlayerStateBits::CountingDown | PlayerStateBits::Decimating;

TEST(PlayerStack, SoloKillsEveryOtherPlayerWithItsOwnDeathType) {
    EngineRig rig;
    add(rig, playerAt(10.0, DeathType::Immediate));
    add(rig, playerAt(20.0, DeathType::DecimateFast));
    add(rig, playerAt(30.0, DeathType::DecimateSlow));
    rig.engine.killTopPlayer(false);  // 30 starts a 16-step decimation
    rig.engine.compose(3);
    add(rig, playerAt(40.0, DeathType::Immediate, CommandFlags::Solo));
    // The decimating player keeps its own decimation; the fast one starts 8 steps at F = 8.
    EXPECT_EQ(stack(rig.engine), (Stack{{40, 0, 0}, {30, kDecimating, 13}, {20, kDecimating, 8}}));
    // Every player below the top moves on in each frame.
    rig.engine.compose(1);
    EXPECT_EQ(stack(rig.engine), (Stack{{40, 0, 0}, {30, kDecimating, 12}, {20, kDecimating, 7}}));
}

TEST(PlayerStack, ReplaceTopKillsOnlyTheTopPlayer) {
    EngineRig rig;
    add(rig, playerAt(10.0));
    add(rig, playerAt(20.0));
    add(rig, playerAt(30.0, DeathType::Immediate, CommandFlags::ReplaceTop));
    EXPECT_EQ(stack(rig.engine), (Stack{{30, 0, 0}, {10, 0, 0}}));

    // A decimating victim stays until its decimation ends.
    add(rig, playerAt(40.0, DeathType::DecimateFast));
    add(rig, playerAt(50.0, DeathType::Immediate, CommandFlags::ReplaceTop));
    EXPECT_EQ(stack(rig.engine), (Stack{{50, 0, 0}, {40, kDecimating, 8}, {30, 0, 0}, {10, 0, 0}}));

    // Solo wins over replace top.
    add(rig, playerAt(60.0, DeathType::Immediate, CommandFlags::Solo | CommandFlags::ReplaceTop));
    EXPECT_EQ(stack(rig.engine), (Stack{{60, 0, 0}, {40, kDecimating, 8}}));
}

TEST(PlayerStack, ChangeTopPlayerAddsOnAnEmptyStackAndOtherwiseChangesOnlyTheTop) {
    EngineRig rig;
    const ParameterSet changed = makeSet(playerAt(25.0), numberedColumns(4));
    ASSERT_TRUE(rig.engine.changeTopPlayer(makeSet(playerAt(10.0), numberedColumns(3)), true, false,
                                           false));
    add(rig, playerAt(20.0));
    // Record only: the top player keeps its content; with content the new columns replace it.
    EXPECT_TRUE(rig.engine.changeTopPlayer(changed, false, false, false));
    EXPECT_EQ(stack(rig.engine), (Stack{{25, 0, 0}, {10, 0, 0}}));
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
    EXPECT_EQ(stack(rig.engine), (Stack{{20, kDecimating, 16}}));
    rig.engine.compose(15);
    rig.engine.killAllPlayers(false);  // already decimating: not restarted
    EXPECT_EQ(rig.engine.top().state().decimationSteps, 1u);
    rig.engine.compose(1);
    EXPECT_EQ(rig.engine.playerCount(), 0u);
}

TEST(PlayerStack, PlayersLeaveWhenTheirTimeIsUpOrTenSecondsAfterTheyRetired) {
    // Still, outside its window: it retires in its first frame.
    PlayerParameters retired = playerAt(10.0, DeathType::DecimateSlow);
    retired.clipStart = 100.0;
    retired.clipEnd = 200.0;
    const struct {
        const char* name;
        PlayerParameters record;
        int framesAlive;  // composed before the frame in which it is removed
        std::uint32_t bitsAtTheEnd;
    } cases[] = {
        {"two seconds at 8 frames a second", playerAt(10.0, DeathType::Immediate, 0, 2.0), 15,
         PlayerStateBits::CountingDown},
        {"one second, then 8 frames of fast decimation",
         playerAt(10.0, DeathType::DecimateFast, 0, 1.0), 15, kDecimating},
        {"retired: ten seconds, without decimating", retired, 79,
         PlayerStateBits::CountingDown | PlayerStateBits::Retiring},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EngineRig rig;
        add(rig, c.record);
        rig.engine.compose(c.framesAlive);
        EXPECT_EQ(rig.engine.playerCount(), 1u);
        EXPECT_EQ(rig.engine.top().state().bits, c.bitsAtTheEnd);
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

TEST(DecimationFrames, StepCountsFollowTheFrameRateMasksTheFrameColumnAndNoLampComesBack) {
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
        // Two projections, 5..184 and 185..4, lighting every lamp of all 360 columns in blue.
        PlayerParameters record = test::record({.origin = 5, .width = 180, .projections = 2});
        record.deathType = static_cast<std::uint32_t>(c.death);
        rig.engine.addPlayer(makeSet(record, test::fullColumns(16)), false);
        rig.engine.compose(1);
        LampFrame previous = rig.engine.frame();
        ASSERT_EQ(test::litColumns(previous).size(), 360u);

        rig.engine.killTopPlayer(false);
        std::vector<int> lit;
        while (rig.engine.playerCount() > 0 && lit.size() < 100) {
            rig.engine.compose(1);
            const LampFrame frame = rig.engine.frame();
            // Every column shows as many lamps, the masks follow the frame column (not the sample
            // nor the projection) and repeat every 16 columns, and no lamp comes back on.
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

}  // namespace
}  // namespace rova
