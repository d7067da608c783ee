#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "Clock.h"
#include "CommandText.h"
#include "FrameClock.h"
#include "SequenceRunner.h"

namespace rova {
namespace {

using Log = std::vector<std::string>;

// One command of a test sequence. An RPET with a count has its "For:" box checked; without one
// it repeats until stopped.
struct Step {
    Keyword keyword;
    std::string name;
    double seconds;
    std::optional<double> count = std::nullopt;
};
Step cmd(const std::string& name, double seconds) {
    return {Keyword::New, name, seconds};
}
Step mark(double seconds = 0.0) {
    return {Keyword::Mark, "M", seconds};
}
Step rpet(const std::string& name, std::optional<double> count, double seconds) {
    return {Keyword::Repeat, name, seconds, count};
}

// The fixture stands in for the parameter form, the engine and the sequence form: it records
// each execution as "name@frame time" and resets the frame clock's lag where the engine would.
class SequenceRunnerTest : public ::testing::Test, CommandExecutor, SequenceRunnerView {
  protected:
    bool execute(Command& command, bool resetLag) override {
        if (resetLag) {
            frameClock.resetLag();
        }
        executed.push_back(command.name() + "@" + std::to_string(frameClock.frameTime()));
        resetLags.push_back(resetLag);
        return command.name() != failing;
    }
    void killAllPlayers() override {
        frameClock.resetLag();
        ++killAllCount;
    }
    void resetParameters() override { ++resetCount; }
    void selectRow(int index) override { selected.push_back(index); }
    void makeCurrent(int index) override { current = index; }
    void showRunButtonText(const QString& text) override { texts.push_back(text); }
    void sequenceEnded() override { ++endedCount; }

    void load(const std::vector<Step>& steps) {
        commands.clear();
        for (const Step& step : steps) {
            auto command = std::make_unique<Command>();
            command->setKeyword(step.keyword);
            command->setName(step.name, false);
            PlayerParameters& parameters = command->parameters();
            parameters.nextCommandAfter = step.seconds;
            parameters.deathAfter = step.count.value_or(5.0);
            parameters.commandFlags = step.count ? CommandFlags::DeathAfterEnabled : 0;
            commands.append(std::move(command));
        }
    }
    // Moves the clock and lets the frames keep up with it: the frame time becomes `ms`.
    void setTime(std::uint32_t ms) {
        clock.set(ms);
        frameClock.readNow();
    }
    // Plays as the application does: waits as long as the runner asks, then ticks, until the
    // runner stops or `durationMs` would be passed.
    void play(std::uint32_t durationMs) {
        std::uint32_t played = 0;
        for (int ticks = 0; runner.isRunning(); ++ticks) {
            ASSERT_LT(ticks, 100000) << "the runner does not let time pass";
            const std::uint32_t wait = *runner.millisecondsUntilTick();
            ASSERT_LE(wait, 1000u);
            if (played + wait > durationMs) {
                return;
            }
            played += wait;
            setTime(clock.nowMs() + wait);
            runner.tick();
        }
    }

    VirtualClock clock;
    FrameClock frameClock{clock};
    NodeList<Command> commands;
    SequenceRunner runner{commands, frameClock, *this, *this};
    Log executed;
    std::vector<bool> resetLags;
    std::string failing;  // the name of a command whose execution fails
    int killAllCount = 0;
    int resetCount = 0;
    std::vector<int> selected;
    std::optional<int> current;
    QStringList texts;
    int endedCount = 0;
};

// A sequence played to its end: what it executed, and when it ended.
struct PlayCase {
    const char* name;
    std::vector<Step> steps;
    Log executed;
    std::uint32_t endMs;
};
PlayCase played(const char* name, std::vector<Step> steps, Log executed, std::uint32_t endMs) {
    return {name, std::move(steps), std::move(executed), endMs};
}

TEST_F(SequenceRunnerTest, PlaysSequencesWithRepeatBracketsToTheirEnd) {
    const PlayCase cases[] = {
        played("a bracket runs its count of times",
               {cmd("A", 3), mark(), cmd("B", 2), rpet("R", 3, 1), cmd("C", 4)},
               {"A@0", "B@3000", "B@5000", "B@7000", "R@9000", "C@10000"}, 14000),
        played("without a MARK it repeats from the first command",
               {cmd("A", 2), cmd("B", 2), rpet("R", 2, 0)},
               {"A@0", "B@2000", "A@4000", "B@6000", "R@8000"}, 8000),
        played("a bracket without time does not jump back",
               {cmd("A", 1), mark(), cmd("X", 0), rpet("R", std::nullopt, 1), cmd("C", 1)},
               {"A@0", "X@1000", "C@1000"}, 2000),
        // A MARK is never executed, so a time it holds (from a damaged file) times nothing.
        played("a MARK's own time does not time an outer bracket",
               {mark(), mark(5), cmd("X", 0), rpet("I", 2, 0), rpet("O", 2, 0), cmd("Z", 1)},
               {"X@0", "Z@0"}, 1000),
        played("a bracket timed by a single millisecond repeats",
               {mark(), cmd("X", 0.001), rpet("R", 3, 0)}, {"X@0", "X@1", "X@2", "R@3"}, 3),
        played("nested brackets restart the inner count",
               {mark(), mark(), cmd("X", 1), rpet("I", 2, 0), rpet("O", 2, 0), cmd("Z", 1)},
               {"X@0", "X@1000", "I@2000", "X@2000", "X@3000", "I@4000", "O@4000", "Z@4000"}, 5000),
        // The inner RPET needs two passes of a bracket with no time, so it is never executed;
        // the outer bracket therefore has no time either and must not spin.
        played("a bracket timed only by an inner RPET that never runs",
               {mark(), mark(), rpet("I", 2, 1), rpet("O", std::nullopt, 0), cmd("Z", 1)}, {"Z@0"},
               1000),
        played("an inner RPET of one pass times its bracket",
               {mark(), cmd("X", 0), mark(), rpet("I", 1, 2), rpet("O", 3, 0)},
               {"X@0", "I@0", "X@2000", "I@2000", "X@4000", "I@4000", "O@6000"}, 6000),
        played("commands without time run in the same step",
               {cmd("A", 0), cmd("B", 0), cmd("C", 2), cmd("D", 0)},
               {"A@0", "B@0", "C@0", "D@2000"}, 2000),
        played("no time at all: ends at once", {cmd("A", 0), cmd("B", 0)}, {"A@0", "B@0"}, 0),
        played("a count that is no number ends after one pass",
               {mark(), cmd("E", 1), rpet("R", std::nan(""), 1)}, {"E@0", "R@1000"}, 2000),
    };
    for (const PlayCase& c : cases) {
        SCOPED_TRACE(c.name);
        setTime(0);
        executed.clear();
        selected.clear();
        endedCount = 0;
        killAllCount = 0;
        load(c.steps);
        runner.runOrStop(-1);
        play(60000);
        EXPECT_EQ(executed, c.executed);
        // One end, on time; all players killed at the start; every executed row selected.
        EXPECT_EQ(std::tuple(clock.nowMs(), endedCount, killAllCount, selected.size()),
                  std::tuple(c.endMs, 1, 1, executed.size()));
        EXPECT_FALSE(runner.isRunning() || runner.millisecondsUntilTick() || runner.tick());
        EXPECT_EQ(texts.back(), "Run");
    }
}

TEST_F(SequenceRunnerTest, RepeatsWithoutCountUntilStopped) {
    load({cmd("A", 3), mark(), cmd("B", 2), rpet("R", std::nullopt, 1), cmd("C", 4)});
    runner.runOrStop(-1);
    play(100000);
    // A, then B at 3 s, 5 s, ... 99 s; stopped, it has not ended.
    EXPECT_EQ(std::tuple(executed.size(), executed.back()), std::tuple(50u, "B@99000"));
    runner.runOrStop(2);
    EXPECT_EQ(std::tuple(runner.isRunning(), endedCount, texts.back()),
              std::tuple(false, 0, "Run"));
}

TEST_F(SequenceRunnerTest, FollowsTheFrameTimeRatherThanTheClock) {
    load({cmd("A", 1), cmd("B", 1)});
    frameClock.begin();
    runner.runOrStop(-1);

    // The frame loop falls 1.5 s behind: the first late frame brings the frame time to 125 ms.
    clock.set(1500);
    frameClock.readNow();
    frameClock.tick([] {});
    ASSERT_EQ(frameClock.frameTime(), 125u);
    EXPECT_EQ(runner.tick(), 875u);
    // B follows once the frames catching up have reached its time.
    while (frameClock.frameTime() < 1000) {
        runner.tick();
        EXPECT_EQ(executed, Log({"A@0"}));
        frameClock.tick([] {});
    }
    runner.tick();
    EXPECT_EQ(executed, Log({"A@0", "B@1000"}));
}

TEST_F(SequenceRunnerTest, CarriesTheOvershootIntoTheNextCommandButNoFurther) {
    load({cmd("A", 1), cmd("B", 2), cmd("C", 3), cmd("D", 1), cmd("E", 1)});
    runner.runOrStop(-1);
    // 400 ms late: B is still due at 3000, not at 3400. Later than a whole command: D starts
    // and is due at once; the rest of the lateness is dropped, so E gets its full time.
    const struct {
        std::uint32_t ms;
        std::optional<std::uint32_t> wait;
        const char* last;
    } ticks[] = {{1400, 600, "B@1400"},         {2999, 1, "B@1400"},   {3000, 1000, "C@3000"},
                 {7500, 0, "D@7500"},           {7500, 500, "E@7500"}, {8499, 1, "E@7500"},
                 {8500, std::nullopt, "E@7500"}};
    for (const auto& t : ticks) {
        setTime(t.ms);
        EXPECT_EQ(runner.tick(), t.wait) << t.ms;
        EXPECT_EQ(executed.back(), t.last) << t.ms;
    }
}

TEST_F(SequenceRunnerTest, TimersCountTheSequenceFromItsFirstCommandAcrossTheClockWrap) {
    const std::uint32_t start = 0xFFFFF000u;  // 4096 ms before the 32-bit clock wraps
    setTime(start);
    load({cmd("A", 3524.5), cmd("B", 100), cmd("C", 1)});
    runner.runOrStop(1);  // the sequence timer counts A's time as if it had run
    // The sequence timer turns at 500 ms, the command timer at 1000 ms; in between the text is
    // not written again.
    for (const std::uint32_t ms : {0, 499, 500, 999, 1000}) {
        setTime(start + ms);
        runner.tick();
    }
    EXPECT_EQ(texts, QStringList({"sequence: 0:58:44\ncommand: 0:00:00",
                                  "sequence: 0:58:45\ncommand: 0:00:00",
                                  "sequence: 0:58:45\ncommand: 0:00:01"}));
    setTime(start + 75500);
    EXPECT_EQ(runner.tick(), 500u);
    EXPECT_EQ(texts.back(), "sequence: 1:00:00\ncommand: 0:01:15");
    EXPECT_EQ(executed, Log({"B@" + std::to_string(start)}));
    EXPECT_EQ(CommandText::runButtonRunning(360000, 3599), "sequence: 100:00:00\ncommand: 0:59:59");
}

TEST_F(SequenceRunnerTest, StartsFromTheFocusedRowOrTheFirstWithTheLagReset) {
    load({cmd("A", 1), cmd("B", 1), cmd("C", 1)});
    runner.runOrStop(2);  // the last row runs from the first
    EXPECT_EQ(executed, Log({"A@0"}));
    runner.runOrStop(2);
    runner.runOrStop(1);
    EXPECT_EQ(executed.back(), "B@0");
    runner.stop();
    runner.startFromSelection(-1);
    EXPECT_EQ(std::tuple(executed.back(), killAllCount), std::tuple("A@0", 3));
    // The first command of a run is executed with the lag reset, the following ones are not.
    play(60000);
    EXPECT_EQ(resetLags, std::vector<bool>({true, true, true, false, false}));

    commands.clear();
    runner.runOrStop(-1);
    EXPECT_EQ(std::tuple(runner.isRunning(), killAllCount), std::tuple(false, 3));
}

TEST_F(SequenceRunnerTest, RunStartedInsideABracketCountsAllItsPasses) {
    load({cmd("A", 1), mark(), cmd("B", 1), rpet("R", 2, 0), cmd("C", 1)});
    runner.runOrStop(-1);
    play(2000);  // A, B and the first repeat of B: R has counted one pass
    ASSERT_EQ(executed, Log({"A@0", "B@1000", "B@2000"}));
    runner.stop();
    executed.clear();
    runner.runOrStop(2);
    play(60000);
    EXPECT_EQ(executed, Log({"B@2000", "B@3000", "R@4000", "C@4000"}));
}

TEST_F(SequenceRunnerTest, NavigationTargetsWrapAroundAndRewindToTheRunsStart) {
    load({cmd("A", 1), cmd("B", 1), cmd("C", 1), cmd("D", 1), cmd("E", 1)});
    const struct {
        Navigation navigation;
        int focused;
        int target;
    } cases[] = {
        {Navigation::Top, 3, 0},       {Navigation::Next, 2, 3},     {Navigation::Next, 4, 0},
        {Navigation::Next, -1, 0},     {Navigation::Previous, 1, 0}, {Navigation::Previous, 0, 4},
        {Navigation::Previous, -1, 4}, {Navigation::Rewind, 3, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(runner.target(c.navigation, c.focused), c.target)
            << static_cast<int>(c.navigation) << " from " << c.focused;
    }
    runner.runOrStop(1);  // remembered as the place to rewind to
    runner.stop();
    EXPECT_EQ(runner.target(Navigation::Rewind, 0), 1);
    runner.runOrStop(0);
    runner.stop();
    EXPECT_EQ(runner.target(Navigation::Rewind, 4), 0);
    commands.clear();
    for (const Navigation navigation :
         {Navigation::Top, Navigation::Next, Navigation::Previous, Navigation::Rewind}) {
        EXPECT_EQ(runner.target(navigation, 0), -1);
    }
}

TEST_F(SequenceRunnerTest, GoToExecutesOneCommandOrRuns) {
    load({cmd("A", 1), cmd("B", 1), cmd("C", 1)});
    runner.navigate(Navigation::Previous, 0, false);
    EXPECT_EQ(std::tuple(executed, resetLags, selected, current, runner.isRunning(), killAllCount),
              std::tuple(Log{"C@0"}, std::vector<bool>{true}, std::vector<int>{2}, 2, false, 0));

    runner.navigate(Navigation::Top, 2, true);
    EXPECT_EQ(executed.back(), "A@0");
    // Stepping while running runs on from the step's target.
    runner.navigate(Navigation::Next, 0, false);
    EXPECT_EQ(std::tuple(runner.runningIndex(), killAllCount), std::tuple(1, 2));

    // Without commands there is no current command and the parameters go back to defaults.
    runner.stop();
    commands.clear();
    runner.navigate(Navigation::Top, 0, false);
    EXPECT_TRUE(runner.loadAndExecute(0));
    EXPECT_EQ(std::tuple(resetCount, current, selected.back()), std::tuple(2, -1, -1));
}

TEST_F(SequenceRunnerTest, FailedExecutionStopsWithoutEndingTheSequence) {
    load({cmd("A", 1), cmd("B", 1), cmd("C", 1)});
    failing = "B";
    runner.runOrStop(-1);
    setTime(1000);
    EXPECT_EQ(runner.tick(), std::nullopt);
    EXPECT_EQ(std::tuple(executed, current, endedCount), std::tuple(Log{"A@0", "B@1000"}, 1, 0));
    EXPECT_EQ(texts.back(), "Run");
    // Failing at the start never shows the timers.
    failing = "A";
    texts.clear();
    runner.runOrStop(-1);
    EXPECT_TRUE(texts.isEmpty());
    EXPECT_FALSE(runner.loadAndExecute(0));
}

TEST_F(SequenceRunnerTest, ToleratesDamagedTimes) {
    load({cmd("A", std::nan("")), cmd("B", -5.0), cmd("C", 1e300), cmd("D", 1.0)});
    runner.runOrStop(-1);
    EXPECT_EQ(executed, Log({"A@0", "B@0", "C@0"}));
    EXPECT_LE(*runner.millisecondsUntilTick(), 1000u);
    // C is capped at 2^31 − 1 ms.
    const std::uint32_t longest = std::numeric_limits<std::int32_t>::max();
    setTime(longest - 1);
    runner.tick();
    EXPECT_EQ(executed.size(), 3u);
    setTime(longest);
    runner.tick();
    EXPECT_EQ(executed.back(), "D@" + std::to_string(longest));
}

}  // namespace
}  // namespace rova
