#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <memory>

#include "Command.h"
#include "HeadlessForm.h"
#include "NodeList.h"
#include "SequenceRunner.h"

namespace rova {

class PlayerEngine;
class UserPrompt;

// The document's sequence as the main window plays it: the runner over the document's commands,
// executing them through the parameter form's controller on the preview's players, and the
// current command. It stands in for the sequence and parameter forms until they are on screen.
//
// The runner is ticked by a single-shot timer set to the time it reports it can wait, so a
// running sequence costs nothing between its commands and nothing at all when stopped.
class SequenceSession final : public QObject,
                              private FormWithoutControls,
                              private SequenceRunnerView {
    Q_OBJECT

  public:
    SequenceSession(NodeList<Command>& commands, PlayerEngine& engine, UserPrompt& prompt,
                    const QString& ownPresetsPath, const QString& presetsToLoad,
                    QObject* parent = nullptr);

    ParameterFormController& form() { return form_.controller(); }
    bool isRunning() const { return runner_.isRunning(); }
    bool hasCommands() const { return !commands_.empty(); }
    // The current command's index; -1 when there is none.
    int currentIndex() const { return current_; }

    // The document's commands were replaced. `keepCurrentIndex` keeps the current command where
    // it still exists (the last one when the list got shorter); otherwise there is none.
    void sequenceReplaced(bool keepCurrentIndex);
    // After a document has been opened: runs from the top, or loads and executes the first
    // command only.
    void begin(bool run);
    // A command was added at `index`; it becomes the current one.
    void commandAdded(int index);
    std::unique_ptr<Command> commandFromTextFile(const QString& path);
    std::unique_ptr<Command> commandFromParameters();

    void stop();
    void stopAndKillPlayers();
    void runOrStop();
    void navigate(Navigation navigation, bool run);
    void killTopPlayer();
    void resetTopPlayer();
    void defaultParameters();

  signals:
    // No runnable command was left: the playlist moves on.
    void ended();
    // The run state or the current command changed.
    void stateChanged();

  private:
    bool isSequenceRunning() const override { return runner_.isRunning(); }
    // SequenceRunnerView
    void selectRow(int index) override;
    void makeCurrent(int index) override;
    void showRunButtonText(const QString&) override {}
    void sequenceEnded() override;

    // Runs every command that is due and sets the timer for the next one.
    void tick();
    void scheduleTick();

    NodeList<Command>& commands_;
    PlayerEngine& engine_;
    HeadlessForm form_;
    SequenceRunner runner_;
    QTimer tickTimer_;
    int current_ = -1;
};

}  // namespace rova
