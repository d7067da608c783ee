#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <memory>

#include "Command.h"
#include "NodeList.h"
#include "SequencePlayer.h"

namespace rova {

class PlayerEngine;
class UserPrompt;

// The document's sequence as the main window plays it: a sequence player over the document's
// commands and the preview's players. It stands in for the sequence and parameter forms until
// they are on screen.
//
// The runner is ticked by a single-shot timer set to the time it reports it can wait, so a
// running sequence costs nothing between its commands and nothing at all when stopped.
class SequenceSession final : public QObject, private SequencePlayer::Observer {
    Q_OBJECT

  public:
    SequenceSession(NodeList<Command>& commands, PlayerEngine& engine, UserPrompt& prompt,
                    const QString& ownPresetsPath, const QString& presetsToLoad,
                    QObject* parent = nullptr);

    ParameterFormController& form() { return player_.form(); }
    bool isRunning() const { return player_.isRunning(); }
    bool hasCommands() const { return !commands_.empty(); }
    // The current command's index; -1 when there is none.
    int currentIndex() const { return player_.currentIndex(); }

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
    // SequencePlayer::Observer
    void currentChanged() override { emit stateChanged(); }
    void sequenceEnded() override;

    // Runs every command that is due and sets the timer for the next one.
    void tick();
    void scheduleTick();

    NodeList<Command>& commands_;
    PlayerEngine& engine_;
    SequencePlayer player_;
    QTimer tickTimer_;
};

}  // namespace rova
