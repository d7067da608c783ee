#pragma once

#include <QString>
#include <cstdint>
#include <optional>

#include "Command.h"
#include "CommandExecutor.h"
#include "FrameClock.h"
#include "NodeList.h"

namespace rova {

// How the runner shows itself in the sequence form. The form implements it; tests record it.
class SequenceRunnerView {
  public:
    virtual ~SequenceRunnerView() = default;

    // Selects and focuses the row of command `index` and scrolls it into view (-1: no row).
    virtual void selectRow(int index) = 0;
    // Command `index` has been loaded into the forms: it becomes the current command and the
    // form shows its settings. -1: there is no current command.
    virtual void makeCurrent(int index) = 0;
    virtual void showRunButtonText(const QString& text) = 0;
    // The runner stopped because no runnable command was left; the playlist moves on.
    virtual void sequenceEnded() = 0;
};

// The commands a navigation goes to.
enum class Navigation { Top, Next, Previous, Rewind };

// Plays a sequence: executes its commands one after another, each for its next-command-after
// time, honours repeat brackets (MARK ... RPET), keeps the sequence and command timers of the
// "Run" button, and tells the view when the sequence has ended. It also executes single
// commands when the user goes to one.
//
// Time is the frame time of the engine's frame clock: the time up to which frames have been
// produced, so commands keep pace with what the rotor shows. The runner uses no timer of its
// own: while it runs, its owner calls tick() when millisecondsUntilTick() has passed.
//
// Rows are identified by index; the callers pass the row that has the focus in the list. Every
// edit of the list must stop the runner first.
class SequenceRunner {
  public:
    SequenceRunner(NodeList<Command>& commands, const FrameClock& frameClock,
                   CommandExecutor& executor, SequenceRunnerView& view);

    bool isRunning() const { return runningIndex_ >= 0; }
    // The command that runs now; -1 when stopped.
    int runningIndex() const { return runningIndex_; }

    void stop();
    // Stops a running sequence, or starts one at the focused row, which is remembered as the
    // place that Rewind goes back to.
    void runOrStop(int focusedRow);
    // Stops, kills all players and runs from the focused row; from the first command when no row,
    // the first or the last row has the focus.
    void startFromSelection(int focusedRow);
    // Selects row `index` and executes its command, or runs from it when `run` is set or a
    // sequence was running.
    void goTo(int index, bool run);
    // The row a navigation goes to from the focused row; -1 when there are no commands.
    int target(Navigation navigation, int focusedRow) const;
    void navigate(Navigation navigation, int focusedRow, bool run) {
        goTo(target(navigation, focusedRow), run);
    }
    // Executes command `index` and makes it the current command. Without such a command there is
    // no current command and the parameters return to their defaults. Reports the execution's
    // result.
    bool loadAndExecute(int index);

    // Runs the next command when the running one's time is up and refreshes the timers. Returns
    // millisecondsUntilTick() afterwards.
    std::optional<std::uint32_t> tick();
    // How long the owner may wait before the next tick: until the next command is due or until a
    // timer on the "Run" button turns to its next second, whichever comes first (at most one
    // second). Nothing when stopped.
    std::optional<std::uint32_t> millisecondsUntilTick() const;

  private:
    int commandCount() const { return static_cast<int>(commands_.size()); }
    Command* commandAt(int index) const;
    std::uint32_t frameTime() const { return frameClock_.frameTime(); }

    void runFrom(int index, std::int32_t offset, bool resetSequenceClock);
    int nextRunnable(int index);
    int repeatFrom(int repeatIndex) const;
    Command* matchingRepeat(int markIndex) const;
    void resetRepeatCounters();
    std::uint32_t timeBefore(int index) const;
    void showTimers(std::uint32_t now, bool always);

    NodeList<Command>& commands_;
    const FrameClock& frameClock_;
    CommandExecutor& executor_;
    SequenceRunnerView& view_;

    int runningIndex_ = -1;
    int rewindIndex_ = 0;  // the row at which running was last started
    // Frame times in milliseconds on the wrapping 32-bit clock.
    std::uint32_t commandStart_ = 0;
    std::uint32_t due_ = 0;
    std::uint32_t sequenceStart_ = 0;
    std::uint32_t shownSequenceSeconds_ = 0;
    std::uint32_t shownCommandSeconds_ = 0;
};

}  // namespace rova
