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
      form_(engine, prompt, *this, ownPresetsPath, presetsToLoad, true),
      runner_(commands, engine.frameClock(), form_.controller(), *this) {
    tickTimer_.setSingleShot(true);
    tickTimer_.setTimerType(Qt::PreciseTimer);
    connect(&tickTimer_, &QTimer::timeout, this, &SequenceSession::tick);
}

void SequenceSession::sequenceReplaced(bool keepCurrentIndex) {
    const int count = static_cast<int>(commands_.size());
    current_ = keepCurrentIndex ? std::min(current_, count - 1) : -1;
    emit stateChanged();
}

void SequenceSession::begin(bool run) {
    if (run) {
        runner_.startFromSelection(-1);
    } else {
        runner_.loadAndExecute(commands_.empty() ? -1 : 0);
    }
    scheduleTick();
}

void SequenceSession::commandAdded(int index) {
    current_ = index;
    emit stateChanged();
}

std::unique_ptr<Command> SequenceSession::commandFromTextFile(const QString& path) {
    return sequenceFromTextFile(path, form_.controller());
}

std::unique_ptr<Command> SequenceSession::commandFromParameters() {
    return commandFromForm(form_.controller());
}

void SequenceSession::stop() {
    runner_.stop();
    scheduleTick();
}

void SequenceSession::stopAndKillPlayers() {
    stop();
    form_.controller().killAllPlayers();
}

void SequenceSession::runOrStop() {
    runner_.runOrStop(current_);
    scheduleTick();
}

void SequenceSession::navigate(Navigation navigation, bool run) {
    runner_.navigate(navigation, current_, run);
    scheduleTick();
}

void SequenceSession::killTopPlayer() {
    stop();
    engine_.killTopPlayer(true);
}

void SequenceSession::resetTopPlayer() {
    stop();
    form_.controller().applyToTopPlayer(true, true);
}

void SequenceSession::defaultParameters() {
    form_.controller().resetWithPreset(preset_name::kStatic);
}

void SequenceSession::selectRow(int index) {
    current_ = index;
    emit stateChanged();
}

void SequenceSession::makeCurrent(int index) {
    current_ = index;
    emit stateChanged();
}

void SequenceSession::sequenceEnded() {
    tickTimer_.stop();
    emit stateChanged();
    emit ended();
}

void SequenceSession::tick() {
    // Commands that follow each other without delay all run in this pass.
    std::optional<std::uint32_t> untilTick = runner_.tick();
    while (untilTick == 0u) {
        untilTick = runner_.tick();
    }
    scheduleTick();
}

void SequenceSession::scheduleTick() {
    const std::optional<std::uint32_t> untilTick = runner_.millisecondsUntilTick();
    if (untilTick) {
        tickTimer_.start(static_cast<int>(std::min<std::uint32_t>(*untilTick, 1000)));
    } else {
        tickTimer_.stop();
    }
    emit stateChanged();
}

}  // namespace rova
