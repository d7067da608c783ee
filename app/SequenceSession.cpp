#include "SequenceSession.h"

#include <algorithm>

#include "ParameterFormText.h"
#include "PlayerEngine.h"
#include "TextFileSequence.h"

namespace rova {

SequenceSession::SequenceSession(NodeList<Command>& commands, PlayerEngine& engine,
                                 UserPrompt& prompt, const QString& ownPresetsPath,
                                 const QString& presetsToLoad, QObject* parent)
    : QObject(parent),
      commands_(commands),
      engine_(engine),
      player_(commands, engine, prompt, ownPresetsPath, presetsToLoad, *this) {
    tickTimer_.setSingleShot(true);
    tickTimer_.setTimerType(Qt::PreciseTimer);
    connect(&tickTimer_, &QTimer::timeout, this, &SequenceSession::tick);
}

void SequenceSession::sequenceReplaced(bool keepCurrentIndex) {
    const int count = static_cast<int>(commands_.size());
    player_.setCurrentIndex(keepCurrentIndex ? std::min(player_.currentIndex(), count - 1) : -1);
    emit stateChanged();
}

void SequenceSession::begin(bool run) {
    if (run) {
        player_.runner().startFromSelection(-1);
    } else {
        player_.runner().loadAndExecute(commands_.empty() ? -1 : 0);
    }
    scheduleTick();
}

void SequenceSession::commandAdded(int index) {
    player_.setCurrentIndex(index);
    emit stateChanged();
}

std::unique_ptr<Command> SequenceSession::commandFromTextFile(const QString& path) {
    return sequenceFromTextFile(path, player_.form());
}

std::unique_ptr<Command> SequenceSession::commandFromParameters() {
    return commandFromForm(player_.form());
}

void SequenceSession::stop() {
    player_.runner().stop();
    scheduleTick();
}

void SequenceSession::stopAndKillPlayers() {
    stop();
    player_.form().killAllPlayers();
}

void SequenceSession::runOrStop() {
    player_.runner().runOrStop(player_.currentIndex());
    scheduleTick();
}

void SequenceSession::navigate(Navigation navigation, bool run) {
    player_.runner().navigate(navigation, player_.currentIndex(), run);
    scheduleTick();
}

void SequenceSession::killTopPlayer() {
    stop();
    engine_.killTopPlayer(true);
}

void SequenceSession::resetTopPlayer() {
    stop();
    player_.form().applyToTopPlayer(true, true);
}

void SequenceSession::defaultParameters() {
    player_.form().resetWithPreset(preset_name::kStatic);
}

void SequenceSession::sequenceEnded() {
    tickTimer_.stop();
    emit stateChanged();
    emit ended();
}

void SequenceSession::tick() {
    player_.runDueCommands();
    scheduleTick();
}

void SequenceSession::scheduleTick() {
    const std::optional<std::uint32_t> untilTick = player_.runner().millisecondsUntilTick();
    if (untilTick) {
        tickTimer_.start(static_cast<int>(std::min<std::uint32_t>(*untilTick, 1000)));
    } else {
        tickTimer_.stop();
    }
    emit stateChanged();
}

}  // namespace rova
