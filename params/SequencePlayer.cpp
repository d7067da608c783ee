#include "SequencePlayer.h"

#include "PlayerEngine.h"

namespace rova {

SequencePlayer::SequencePlayer(NodeList<Command>& commands, PlayerEngine& engine,
                               UserPrompt& prompt, const QString& ownPresetsPath,
                               const QString& presetsToLoad, Observer& observer)
    : observer_(observer),
      form_(engine, prompt, *this, ownPresetsPath, presetsToLoad, true),
      runner_(commands, engine.frameClock(), form_.controller(), *this) {}

std::optional<std::uint32_t> SequencePlayer::runDueCommands() {
    std::optional<std::uint32_t> untilTick = runner_.tick();
    while (untilTick == 0u) {
        untilTick = runner_.tick();
    }
    return untilTick;
}

void SequencePlayer::selectRow(int index) {
    current_ = index;
    observer_.currentChanged();
}

void SequencePlayer::makeCurrent(int index) {
    current_ = index;
    observer_.currentChanged();
}

}  // namespace rova
