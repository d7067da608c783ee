#pragma once

#include <QString>
#include <cstdint>
#include <optional>

#include "Command.h"
#include "HeadlessForm.h"
#include "NodeList.h"
#include "SequenceRunner.h"

namespace rova {

class PlayerEngine;
class UserPrompt;

// Plays a list of commands without a window: the runner executes them through the parameter
// form's controller (without its controls) on an engine's players, and the player keeps the
// current command. The application ticks it from a timer, rova-cli in virtual time; both as a
// document opened for the playlist, so no start text is shown.
class SequencePlayer final : private FormWithoutControls, private SequenceRunnerView {
  public:
    // Told when the current command or the run state changes, and when the sequence has ended.
    class Observer {
      public:
        virtual void currentChanged() = 0;
        virtual void sequenceEnded() = 0;

      protected:
        ~Observer() = default;
    };

    // The presets are read from `presetsToLoad` and changes saved to `ownPresetsPath`.
    SequencePlayer(NodeList<Command>& commands, PlayerEngine& engine, UserPrompt& prompt,
                   const QString& ownPresetsPath, const QString& presetsToLoad, Observer& observer);

    ParameterFormController& form() { return form_.controller(); }
    SequenceRunner& runner() { return runner_; }
    bool isRunning() const { return runner_.isRunning(); }
    // The current command's index; -1 when there is none.
    int currentIndex() const { return current_; }
    void setCurrentIndex(int index) { current_ = index; }

    // Runs every command that is due, including those that follow it without delay, and returns
    // the milliseconds until the runner must be ticked again (nothing while it is stopped).
    std::optional<std::uint32_t> runDueCommands();

  private:
    bool isSequenceRunning() const override { return runner_.isRunning(); }
    // SequenceRunnerView
    void selectRow(int index) override;
    void makeCurrent(int index) override;
    void showRunButtonText(const QString&) override {}
    void sequenceEnded() override { observer_.sequenceEnded(); }

    Observer& observer_;
    HeadlessForm form_;  // asks isSequenceRunning() only once a command is executed
    SequenceRunner runner_;
    int current_ = -1;
};

}  // namespace rova
