#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Clock.h"
#include "CommandText.h"
#include "FrameClock.h"
#include "SequenceRunner.h"

namespace rova {
namespace {

// Stands in for the parameter form and the engine: records each execution as "name@frame time"
// and resets the frame clock's lag where the engine would.
class RecordingExecutor : public CommandExecutor {
  public:
    explicit RecordingExecutor(FrameClock& frameClock) : frameClock_(frameClock) {}

    bool execute(Command& command, bool resetLag) override {
        if (resetLag) {
            frameClock_.resetLag();
        }
        executed.push_back(command.name() + "@" + std::to_string(frameClock_.frameTime()));
        resetLags.push_back(resetLag);
        return command.name() != failing;
    }
    void killAllPlayers() override {
        frameClock_.resetLag();
        ++killAllCount;
    }
    void resetParameters() override { ++resetCount; }

    std::vector<std::string> executed;
    std::vector<bool> resetLags;
    std::string failing;  // the name of a command whose execution fails
    int killAllCount = 0;
    int resetCount = 0;

  private:
    FrameClock& frameClock_;
};

class RecordingView : public SequenceRunnerView {
  public:
    void selectRow(int index) override { selected.push_back(index); }
    void makeCurrent(int index) override { current = index; }
    void showRunButtonText(const QString& text) override { texts.push_back(text); }
    void sequenceEnded() override { ++endedCount; }

    std::vector<int> selected;
    std::optional<int> current;
    QStringList texts;
    int endedCount = 0;
};

using Log = std::vector<std::string>;

class SequenceRunnerTest : public ::testing::Test {
  protected:
    Command& add(Keyword keyword, const std::string& name, double seconds) {
        auto command = std::make_unique<Command>();
        command->setKeyword(keyword);
        command->setName(name, false);
        command->parameters().nextCommandAfter = seconds;
        return commands.append(std::move(command));
    }
    Command& add(const std::string& name, double seconds) {
        return add(Keyword::New, name, seconds);
    }
    void addMark() { add(Keyword::Mark, "M", 0.0); }
    // An RPET; with a count its "For:" box is checked, without one it repeats until stopped.
    void addRepeat(const std::string& name, std::optional<double> count, double seconds) {
        PlayerParameters& parameters = add(Keyword::Repeat, name, seconds).parameters();
        parameters.deathAfter = count.value_or(5.0);
        if (count) {
            parameters.commandFlags |= CommandFlags::DeathAfterEnabled;
        } else {
            parameters.commandFlags &= ~CommandFlags::DeathAfterEnabled;
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
    long countOf(const std::string& prefix) const {
        return std::count_if(
            executor.executed.begin(), executor.executed.end(),
            [&prefix](const std::string& entry) { return entry.starts_with(prefix); });
    }

    VirtualClock clock;
    FrameClock frameClock{clock};
    NodeList<Command> commands;
    RecordingExecutor executor{frameClock};
    RecordingView view;
    SequenceRunner runner{commands, frameClock, executor, view};
};

TEST_F(SequenceRunnerTest, RunsARepeatBracketItsCountOfTimes) {
    add("A", 3.0);
    addMark();
    add("B", 2.0);
    addRepeat("R", 3.0, 1.0);
    add("C", 4.0);

    runner.runOrStop(-1);
    EXPECT_TRUE(runner.isRunning());
    play(60000);

    EXPECT_EQ(executor.executed, Log({"A@0", "B@3000", "B@5000", "B@7000", "R@9000", "C@10000"}));
    EXPECT_EQ(clock.nowMs(), 14000u);  // the sequence ended 14 s after it began
    EXPECT_FALSE(runner.isRunning());
    EXPECT_EQ(view.endedCount, 1);
    EXPECT_EQ(view.selected, std::vector<int>({0, 2, 2, 2, 3, 4}));
    EXPECT_EQ(view.current, 4);
    EXPECT_EQ(view.texts.back(), "Run");
    EXPECT_EQ(executor.killAllCount, 1);
}

TEST_F(SequenceRunnerTest, RepeatsWithoutCountUntilStopped) {
    add("A", 3.0);
    addMark();
    add("B", 2.0);
    addRepeat("R", std::nullopt, 1.0);
    add("C", 4.0);

    runner.runOrStop(-1);
    play(100000);

    EXPECT_TRUE(runner.isRunning());
    EXPECT_EQ(countOf("B@"), 49);  // at 3 s, 5 s, ... 99 s
    EXPECT_EQ(countOf("R@") + countOf("C@"), 0);
    runner.runOrStop(2);
    EXPECT_FALSE(runner.isRunning());
    EXPECT_EQ(view.texts.back(), "Run");
    EXPECT_EQ(view.endedCount, 0);
}

TEST_F(SequenceRunnerTest, RepeatWithoutMarkRepeatsFromTheFirstCommand) {
    add("A", 2.0);
    add("B", 2.0);
    addRepeat("R", 2.0, 0.0);

    runner.runOrStop(-1);
    play(60000);

    EXPECT_EQ(executor.executed, Log({"A@0", "B@2000", "A@4000", "B@6000", "R@8000"}));
    EXPECT_EQ(clock.nowMs(), 8000u);
    EXPECT_EQ(view.endedCount, 1);
}

TEST_F(SequenceRunnerTest, BracketWithoutTimeDoesNotJumpBack) {
    for (const std::optional<double> count : {std::optional<double>(), std::optional(3.0)}) {
        commands.clear();
        executor.executed.clear();
        add("A", 1.0);
        addMark();
        add("X", 0.0);
        addRepeat("R", count, 1.0);
        add("C", 1.0);

        runner.runOrStop(-1);
        play(60000);

        EXPECT_EQ(executor.executed, Log({"A@0", "X@1000", "C@1000"}));
        EXPECT_FALSE(runner.isRunning());
        setTime(0);
    }
}

TEST_F(SequenceRunnerTest, NestedBracketsRestartTheInnerCount) {
    addMark();
    addMark();
    add("X", 1.0);
    addRepeat("I", 2.0, 0.0);
    addRepeat("O", 2.0, 0.0);
    add("Z", 1.0);

    runner.runOrStop(-1);
    play(60000);

    EXPECT_EQ(executor.executed,
              Log({"X@0", "X@1000", "I@2000", "X@2000", "X@3000", "I@4000", "O@4000", "Z@4000"}));
    EXPECT_EQ(clock.nowMs(), 5000u);
}

TEST_F(SequenceRunnerTest, BracketTimedOnlyByAnInnerRepeatThatNeverRunsDoesNotHang) {
    // The inner RPET needs two passes of a bracket with no time, so it is never executed; the
    // outer bracket therefore has no time either and must not spin.
    addMark();
    addMark();
    addRepeat("I", 2.0, 1.0);
    addRepeat("O", std::nullopt, 0.0);
    add("Z", 1.0);

    runner.runOrStop(-1);
    EXPECT_EQ(executor.executed, Log({"Z@0"}));
    play(60000);
    EXPECT_EQ(view.endedCount, 1);
    EXPECT_EQ(clock.nowMs(), 1000u);
}

TEST_F(SequenceRunnerTest, InnerRepeatOfOnePassTimesItsBracket) {
    addMark();
    add("X", 0.0);
    addMark();
    addRepeat("I", 1.0, 2.0);
    addRepeat("O", 3.0, 0.0);

    runner.runOrStop(-1);
    play(60000);

    EXPECT_EQ(executor.executed,
              Log({"X@0", "I@0", "X@2000", "I@2000", "X@4000", "I@4000", "O@6000"}));
    EXPECT_EQ(view.endedCount, 1);
}

TEST_F(SequenceRunnerTest, ExecutesCommandsWithoutTimeInTheSameStep) {
    add("A", 0.0);
    add("B", 0.0);
    add("C", 2.0);
    add("D", 0.0);

    runner.runOrStop(-1);
    EXPECT_EQ(executor.executed, Log({"A@0", "B@0", "C@0"}));
    EXPECT_EQ(runner.runningIndex(), 2);
    EXPECT_EQ(view.selected, std::vector<int>({0, 1, 2}));

    play(60000);
    EXPECT_EQ(executor.executed, Log({"A@0", "B@0", "C@0", "D@2000"}));
    EXPECT_EQ(clock.nowMs(), 2000u);
    EXPECT_EQ(view.endedCount, 1);
}

TEST_F(SequenceRunnerTest, SequenceWithoutTimeEndsAtOnce) {
    add("A", 0.0);
    add("B", 0.0);
    runner.runOrStop(-1);
    EXPECT_EQ(executor.executed, Log({"A@0", "B@0"}));
    EXPECT_FALSE(runner.isRunning());
    EXPECT_EQ(view.endedCount, 1);
    EXPECT_EQ(runner.millisecondsUntilTick(), std::nullopt);
    EXPECT_EQ(runner.tick(), std::nullopt);
}

TEST_F(SequenceRunnerTest, CarriesTheOvershootIntoTheNextCommand) {
    add("A", 1.0);
    add("B", 2.0);
    add("C", 3.0);
    add("D", 1.0);
    add("E", 1.0);
    runner.runOrStop(-1);

    setTime(1400);  // 400 ms late
    runner.tick();
    EXPECT_EQ(executor.executed.back(), "B@1400");
    setTime(2999);
    EXPECT_EQ(runner.tick(), 1u);  // B is still due at 3000, not at 3400
    EXPECT_EQ(executor.executed.back(), "B@1400");
    setTime(3000);
    runner.tick();
    EXPECT_EQ(executor.executed.back(), "C@3000");

    // Later than a whole command: D starts and is due at once; the rest of the lateness is
    // dropped, so E gets its full time.
    setTime(7500);
    EXPECT_EQ(runner.tick(), 0u);
    EXPECT_EQ(executor.executed.back(), "D@7500");
    runner.tick();
    EXPECT_EQ(executor.executed.back(), "E@7500");
    setTime(8499);
    runner.tick();
    EXPECT_TRUE(runner.isRunning());
    setTime(8500);
    runner.tick();
    EXPECT_FALSE(runner.isRunning());
    EXPECT_EQ(view.endedCount, 1);
}

TEST_F(SequenceRunnerTest, FollowsTheFrameTimeRatherThanTheClock) {
    add("A", 1.0);
    add("B", 1.0);
    frameClock.begin();
    runner.runOrStop(-1);

    // The frame loop falls 1.5 s behind: the first late frame brings the frame time to 125 ms.
    clock.set(1500);
    frameClock.readNow();
    frameClock.tick([] {});
    ASSERT_EQ(frameClock.frameTime(), 125u);
    runner.tick();
    EXPECT_EQ(executor.executed, Log({"A@0"}));
    EXPECT_EQ(runner.millisecondsUntilTick(), 875u);

    // B follows once the frames catching up have reached its time.
    while (frameClock.frameTime() < 1000) {
        runner.tick();
        EXPECT_EQ(executor.executed.size(), 1u);
        frameClock.tick([] {});
    }
    runner.tick();
    EXPECT_EQ(executor.executed, Log({"A@0", "B@1000"}));
}

TEST_F(SequenceRunnerTest, CountsAcrossTheClockWrap) {
    const std::uint32_t start = 0xFFFFF000u;  // 4096 ms before the 32-bit clock wraps
    setTime(start);
    add("A", 5.0);
    add("B", 1.0);
    add("C", 1.0);
    runner.runOrStop(-1);

    setTime(start + 4999);
    runner.tick();
    EXPECT_EQ(executor.executed.size(), 1u);
    EXPECT_EQ(view.texts.back(), "sequence: 0:00:04\ncommand: 0:00:04");
    setTime(start + 5000);
    runner.tick();
    EXPECT_EQ(executor.executed.back(), "B@" + std::to_string(start + 5000));
    EXPECT_EQ(view.texts.back(), "sequence: 0:00:05\ncommand: 0:00:00");
}

TEST_F(SequenceRunnerTest, TimersShowSequenceAndCommandTime) {
    add("A", 3525.0);
    add("B", 100.0);
    add("C", 1.0);
    runner.runOrStop(1);  // the sequence timer counts A's time as if it had run

    ASSERT_EQ(executor.executed, Log({"B@0"}));
    EXPECT_EQ(view.texts.back(), "sequence: 0:58:45\ncommand: 0:00:00");
    setTime(75000);
    runner.tick();
    EXPECT_EQ(view.texts.back(), "sequence: 1:00:00\ncommand: 0:01:15");
}

TEST_F(SequenceRunnerTest, RewritesTheTimersOnlyWhenASecondChanges) {
    add("A", 2.5);
    add("B", 10.0);
    add("C", 1.0);
    runner.runOrStop(1);
    ASSERT_EQ(view.texts, QStringList({"sequence: 0:00:02\ncommand: 0:00:00"}));

    // The sequence timer turns at 500 ms, the command timer at 1000 ms.
    EXPECT_EQ(runner.millisecondsUntilTick(), 500u);
    setTime(499);
    EXPECT_EQ(runner.tick(), 1u);
    EXPECT_EQ(view.texts.size(), 1);
    setTime(500);
    EXPECT_EQ(runner.tick(), 500u);
    EXPECT_EQ(view.texts.back(), "sequence: 0:00:03\ncommand: 0:00:00");
    setTime(999);
    runner.tick();
    EXPECT_EQ(view.texts.size(), 2);
    setTime(1000);
    runner.tick();
    EXPECT_EQ(view.texts.back(), "sequence: 0:00:03\ncommand: 0:00:01");
    EXPECT_EQ(view.texts.size(), 3);
}

TEST_F(SequenceRunnerTest, RunButtonTexts) {
    EXPECT_EQ(CommandText::runButtonStopped(), "Run");
    EXPECT_EQ(CommandText::runButtonRunning(0, 0), "sequence: 0:00:00\ncommand: 0:00:00");
    EXPECT_EQ(CommandText::runButtonRunning(45296, 59), "sequence: 12:34:56\ncommand: 0:00:59");
    EXPECT_EQ(CommandText::runButtonRunning(360000, 3599), "sequence: 100:00:00\ncommand: 0:59:59");
}

TEST_F(SequenceRunnerTest, StartsFromTheFocusedRowOrTheFirst) {
    add("A", 1.0);
    add("B", 1.0);
    add("C", 1.0);

    runner.runOrStop(2);  // the last row runs from the first
    EXPECT_EQ(executor.executed, Log({"A@0"}));
    runner.runOrStop(2);
    runner.runOrStop(1);
    EXPECT_EQ(executor.executed.back(), "B@0");
    runner.stop();
    runner.startFromSelection(-1);
    EXPECT_EQ(executor.executed.back(), "A@0");
    EXPECT_EQ(executor.killAllCount, 3);

    // The first command of a run is executed with the lag reset, the following ones are not.
    play(60000);
    EXPECT_EQ(executor.resetLags, std::vector<bool>({true, true, true, false, false}));

    commands.clear();
    runner.runOrStop(-1);
    EXPECT_FALSE(runner.isRunning());
    EXPECT_EQ(executor.killAllCount, 3);
}

TEST_F(SequenceRunnerTest, RunStartedInsideABracketCountsAllItsPasses) {
    add("A", 1.0);
    addMark();
    add("B", 1.0);
    addRepeat("R", 2.0, 0.0);
    add("C", 1.0);

    runner.runOrStop(-1);
    play(2000);  // A, B and the first repeat of B: R has counted one pass
    ASSERT_EQ(executor.executed, Log({"A@0", "B@1000", "B@2000"}));
    runner.stop();

    executor.executed.clear();
    runner.runOrStop(2);
    play(60000);
    EXPECT_EQ(executor.executed, Log({"B@2000", "B@3000", "R@4000", "C@4000"}));
}

TEST_F(SequenceRunnerTest, NavigationTargets) {
    for (int i = 0; i < 5; ++i) {
        add(std::string(1, static_cast<char>('A' + i)), 1.0);
    }
    EXPECT_EQ(runner.target(Navigation::Top, 3), 0);
    EXPECT_EQ(runner.target(Navigation::Next, 2), 3);
    EXPECT_EQ(runner.target(Navigation::Next, 4), 0);
    EXPECT_EQ(runner.target(Navigation::Next, -1), 0);
    EXPECT_EQ(runner.target(Navigation::Previous, 1), 0);
    EXPECT_EQ(runner.target(Navigation::Previous, 0), 4);
    EXPECT_EQ(runner.target(Navigation::Previous, -1), 4);
    EXPECT_EQ(runner.target(Navigation::Rewind, 3), 0);

    runner.runOrStop(3);  // remembered as the place to rewind to
    runner.stop();
    EXPECT_EQ(runner.target(Navigation::Rewind, 0), 3);
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
    add("A", 1.0);
    add("B", 1.0);
    add("C", 1.0);

    runner.navigate(Navigation::Previous, 0, false);
    EXPECT_EQ(executor.executed, Log({"C@0"}));
    EXPECT_EQ(executor.resetLags, std::vector<bool>({true}));
    EXPECT_EQ(view.selected, std::vector<int>({2}));
    EXPECT_EQ(view.current, 2);
    EXPECT_FALSE(runner.isRunning());
    EXPECT_EQ(executor.killAllCount, 0);

    runner.navigate(Navigation::Top, 2, true);
    EXPECT_TRUE(runner.isRunning());
    EXPECT_EQ(executor.executed.back(), "A@0");

    // Stepping while running runs on from the step's target.
    runner.navigate(Navigation::Next, 0, false);
    EXPECT_TRUE(runner.isRunning());
    EXPECT_EQ(runner.runningIndex(), 1);
    EXPECT_EQ(executor.killAllCount, 2);

    runner.stop();
    commands.clear();
    runner.navigate(Navigation::Top, 0, false);
    EXPECT_EQ(executor.resetCount, 1);
    EXPECT_EQ(view.current, -1);
    EXPECT_EQ(view.selected.back(), -1);
}

TEST_F(SequenceRunnerTest, FailedExecutionStops) {
    add("A", 1.0);
    add("B", 1.0);
    add("C", 1.0);
    executor.failing = "B";

    runner.runOrStop(-1);
    setTime(1000);
    EXPECT_EQ(runner.tick(), std::nullopt);
    EXPECT_EQ(executor.executed, Log({"A@0", "B@1000"}));
    EXPECT_FALSE(runner.isRunning());
    EXPECT_EQ(view.current, 1);
    EXPECT_EQ(view.texts.back(), "Run");
    EXPECT_EQ(view.endedCount, 0);

    // Failing at the start never shows the timers.
    executor.failing = "A";
    view.texts.clear();
    runner.runOrStop(-1);
    EXPECT_FALSE(runner.isRunning());
    EXPECT_TRUE(view.texts.isEmpty());
    EXPECT_FALSE(runner.loadAndExecute(0));
}

TEST_F(SequenceRunnerTest, ToleratesDamagedTimesAndCounts) {
    add("A", std::nan(""));
    add("B", -5.0);
    add("C", 1e300);  // capped at 2^31 - 1 ms
    add("D", 1.0);
    addMark();
    add("E", 1.0);
    addRepeat("R", std::nan(""), 1.0);  // a count that is no number ends after one pass

    runner.runOrStop(-1);
    EXPECT_EQ(executor.executed, Log({"A@0", "B@0", "C@0"}));
    EXPECT_LE(*runner.millisecondsUntilTick(), 1000u);
    const std::uint32_t longest = std::numeric_limits<std::int32_t>::max();
    setTime(longest - 1);
    runner.tick();
    EXPECT_EQ(executor.executed.size(), 3u);
    setTime(longest);
    runner.tick();
    EXPECT_EQ(executor.executed.back(), "D@" + std::to_string(longest));
    play(60000);
    EXPECT_EQ(executor.executed.size(), 6u);
    EXPECT_EQ(executor.executed.back(), "R@" + std::to_string(longest + 2000));
    EXPECT_EQ(view.endedCount, 1);
}

}  // namespace
}  // namespace rova
