#include "SequenceRunner.h"

#include <algorithm>
#include <limits>

#include "CommandText.h"
#include "Numeric.h"

namespace rova {

namespace {

// Times beyond this (about 24 days) come only from damaged files; capping them keeps every
// difference on the wrapping 32-bit clock exact.
constexpr std::int64_t kLongestTime = std::numeric_limits<std::int32_t>::max();

// A command's next-command-after time in whole milliseconds, truncated. A negative time or a
// non-number counts as no time.
std::int64_t timeOf(const Command& command) {
    const std::int64_t ms = truncToInt(command.parameters().nextCommandAfter * 1000.0);
    return std::clamp<std::int64_t>(ms, 0, kLongestTime);
}

// The number of passes after which an RPET ends its bracket; nothing when it repeats until the
// user stops the sequence.
std::optional<std::int64_t> repeatLimit(const Command& repeat) {
    if (!repeat.parameters().hasCommandFlag(CommandFlags::DeathAfterEnabled)) {
        return std::nullopt;
    }
    return truncToInt(repeat.parameters().deathAfter);
}

// Whether running a sequence executes this command every time it arrives at it: any command but
// a MARK, which is never executed, and an RPET of more than one pass, which is executed only after
// its passes (never, when its own bracket holds no time: its MARK sets it back before every
// arrival). Only the time of such commands makes repeating a bracket take time.
bool runsWhenReached(const Command& command) {
    if (command.keyword() == Keyword::Mark) {
        return false;
    }
    if (command.keyword() == Keyword::Repeat) {
        const std::optional<std::int64_t> limit = repeatLimit(command);
        return limit && *limit <= 1;
    }
    return true;
}

// Milliseconds from `from` to `to` on the wrapping clock; negative when `to` is earlier.
std::int32_t between(std::uint32_t from, std::uint32_t to) {
    return static_cast<std::int32_t>(to - from);
}

// Whole seconds from `start` to `now`. The frame time can step back by a few milliseconds while a
// late frame is accounted for; a `now` before `start` counts as no time.
std::uint32_t secondsFrom(std::uint32_t start, std::uint32_t now) {
    return static_cast<std::uint32_t>(std::max(between(start, now), 0)) / 1000;
}

// Milliseconds from `now` until the seconds counted from `start` go up by one.
std::uint32_t untilNextSecond(std::uint32_t start, std::uint32_t now) {
    return 1000 - static_cast<std::uint32_t>(std::max(between(start, now), 0)) % 1000;
}

}  // namespace

SequenceRunner::SequenceRunner(NodeList<Command>& commands, const FrameClock& frameClock,
                               CommandExecutor& executor, SequenceRunnerView& view)
    : commands_(commands), frameClock_(frameClock), executor_(executor), view_(view) {}

Command* SequenceRunner::commandAt(int index) const {
    return index >= 0 ? commands_.at(static_cast<std::size_t>(index)) : nullptr;
}

void SequenceRunner::stop() {
    if (!isRunning()) {
        return;
    }
    runningIndex_ = -1;
    view_.showRunButtonText(CommandText::runButtonStopped());
}

void SequenceRunner::runOrStop(int focusedRow) {
    if (isRunning()) {
        stop();
        return;
    }
    rewindIndex_ = focusedRow;
    startFromSelection(focusedRow);
}

void SequenceRunner::startFromSelection(int focusedRow) {
    stop();
    const int count = commandCount();
    if (count == 0) {
        return;
    }
    // From the last row there would be a single command to play: start from the top instead.
    const int first = focusedRow >= 1 && focusedRow < count - 1 ? focusedRow : 0;
    executor_.killAllPlayers();
    resetRepeatCounters();
    runFrom(first, 0, true);
}

void SequenceRunner::goTo(int index, bool run) {
    if (isRunning()) {
        stop();
        run = true;
    }
    view_.selectRow(index);
    if (run) {
        startFromSelection(index);
    } else {
        loadAndExecute(index);
    }
}

int SequenceRunner::target(Navigation navigation, int focusedRow) const {
    const int count = commandCount();
    if (count == 0) {
        return -1;
    }
    const auto within = [count](int index, int first) { return index >= first && index < count; };
    switch (navigation) {
        case Navigation::Top:
            break;
        case Navigation::Next:
            return within(focusedRow + 1, 1) ? focusedRow + 1 : 0;
        case Navigation::Previous:
            return within(focusedRow - 1, 0) ? focusedRow - 1 : count - 1;
        case Navigation::Rewind:
            return within(rewindIndex_, 1) ? rewindIndex_ : 0;
    }
    return 0;
}

bool SequenceRunner::loadAndExecute(int index) {
    Command* command = commandAt(index);
    if (command == nullptr) {
        executor_.resetParameters();
        view_.makeCurrent(-1);
        return true;
    }
    const bool executed = executor_.execute(*command, !isRunning());
    view_.makeCurrent(index);
    return executed;
}

std::optional<std::uint32_t> SequenceRunner::tick() {
    if (!isRunning()) {
        return std::nullopt;
    }
    const std::uint32_t now = frameTime();
    const std::int32_t late = between(due_, now);
    if (late >= 0) {
        // The next command starts shorter by the time overshot, so lateness does not add up.
        runFrom(runningIndex_ + 1, -late, false);
    } else {
        showTimers(now, false);
    }
    return millisecondsUntilTick();
}

std::optional<std::uint32_t> SequenceRunner::millisecondsUntilTick() const {
    if (!isRunning()) {
        return std::nullopt;
    }
    const std::uint32_t now = frameTime();
    const auto untilDue = static_cast<std::uint32_t>(std::max(between(now, due_), 0));
    return std::min(
        {untilDue, untilNextSecond(sequenceStart_, now), untilNextSecond(commandStart_, now)});
}

// Executes the runnable commands from `index` on until one with time is running. `offset` (zero
// or negative) shortens that command's time; with `resetSequenceClock` the sequence timer counts
// as if the sequence had run from its first command.
void SequenceRunner::runFrom(int index, std::int32_t offset, bool resetSequenceClock) {
    for (int i = nextRunnable(index); i >= 0; i = nextRunnable(i + 1)) {
        view_.selectRow(i);
        if (!loadAndExecute(i)) {
            stop();
            return;
        }
        runningIndex_ = i;
        commandStart_ = frameTime();
        if (resetSequenceClock) {
            sequenceStart_ = commandStart_ - timeBefore(i);
        }
        shownSequenceSeconds_ = 0;
        shownCommandSeconds_ = 0;
        const std::int64_t time = timeOf(*commandAt(i));
        if (time > 0) {
            due_ = commandStart_ +
                   static_cast<std::uint32_t>(std::max<std::int64_t>(time + offset, 0));
            showTimers(commandStart_, true);
            return;
        }
    }
    stop();
    view_.sequenceEnded();
}

// The first command from `index` on that runs, following repeat brackets; -1 when none is left.
// Arriving at a MARK sets its RPET's counter back, so a bracket entered anew runs all its passes.
int SequenceRunner::nextRunnable(int index) {
    if (index == 0) {
        resetRepeatCounters();
    }
    for (int i = index; i < commandCount(); ++i) {
        Command& command = *commandAt(i);
        if (command.keyword() == Keyword::Mark) {
            if (Command* repeat = matchingRepeat(i)) {
                repeat->setRepeatCounter(0);
            }
        } else if (command.keyword() == Keyword::Repeat) {
            command.setRepeatCounter(command.repeatCounter() + 1);
            const std::optional<std::int64_t> limit = repeatLimit(command);
            if (limit && static_cast<std::int64_t>(command.repeatCounter()) >= *limit) {
                return i;
            }
            i = repeatFrom(i);
        } else {
            return i;
        }
    }
    return -1;
}

// Where the walk goes on after the RPET at `repeatIndex` has counted a pass that is not its last:
// after its matching MARK, or from the first command when it has none. When no command in the
// bracket would take time, repeating it would spin without end, so the walk goes on after the
// RPET instead.
int SequenceRunner::repeatFrom(int repeatIndex) const {
    bool hasTime = false;
    int depth = 1;
    int i = repeatIndex - 1;
    for (; i >= 0; --i) {
        const Command& command = *commandAt(i);
        if (command.keyword() == Keyword::Repeat) {
            ++depth;
        } else if (command.keyword() == Keyword::Mark && --depth < 1) {
            break;
        }
        hasTime = hasTime || (runsWhenReached(command) && timeOf(command) > 0);
    }
    return hasTime ? i : repeatIndex;
}

// The RPET that closes the bracket opened by the MARK at `markIndex`, if any.
Command* SequenceRunner::matchingRepeat(int markIndex) const {
    int depth = 1;
    for (int i = markIndex + 1; i < commandCount(); ++i) {
        Command& command = *commandAt(i);
        if (command.keyword() == Keyword::Mark) {
            ++depth;
        } else if (command.keyword() == Keyword::Repeat && --depth < 1) {
            return &command;
        }
    }
    return nullptr;
}

void SequenceRunner::resetRepeatCounters() {
    for (Command& command : commands_) {
        if (command.keyword() == Keyword::Repeat) {
            command.setRepeatCounter(0);
        }
    }
}

// The time the commands before `index` take when run one after another, modulo the clock.
std::uint32_t SequenceRunner::timeBefore(int index) const {
    std::int64_t total = 0;
    for (int i = 0; i < index; ++i) {
        total += timeOf(*commandAt(i));
    }
    return static_cast<std::uint32_t>(total);
}

// Writes the timers on the "Run" button: always, or only when a shown second has changed.
void SequenceRunner::showTimers(std::uint32_t now, bool always) {
    const std::uint32_t sequenceSeconds = secondsFrom(sequenceStart_, now);
    const std::uint32_t commandSeconds = secondsFrom(commandStart_, now);
    if (!always && sequenceSeconds <= shownSequenceSeconds_ &&
        commandSeconds <= shownCommandSeconds_) {
        return;
    }
    shownSequenceSeconds_ = sequenceSeconds;
    shownCommandSeconds_ = commandSeconds;
    view_.showRunButtonText(CommandText::runButtonRunning(sequenceSeconds, commandSeconds));
}

}  // namespace rova
