#include "HeadlessPlayback.h"

#include "CliText.h"
#include "CommandFile.h"
#include "DefaultPresets.h"
#include "DocumentMessages.h"
#include "FilePaths.h"
#include "TextFileSequence.h"
#include "UserPrompt.h"

namespace rova {

namespace {

bool isSequenceFile(const QString& path) {
    return paths::extension(path).compare(u".rova", Qt::CaseInsensitive) == 0;
}

QString notPlayable(const QString& path) {
    return cliText("\"%1\" is neither a sequence (.rova) nor a text file (.txt, .rtf).").arg(path);
}

}  // namespace

HeadlessPlayback::ShippedPresets::ShippedPresets(UserPrompt& prompt) {
    // Read from a file, as the application reads them, so the tool sees the same presets in the
    // same order.
    writeCommands(makeDefaultPresets(), path(), prompt);
}

QString HeadlessPlayback::ShippedPresets::path() const {
    return folder_.filePath(QStringLiteral("Presets.rova"));
}

HeadlessPlayback::HeadlessPlayback(double framesPerSecond, std::uint32_t seed, UserPrompt& prompt)
    : prompt_(prompt),
      presets_(prompt),
      engine_(clock_, settings_),
      player_(commands_, engine_, prompt, presets_.path(), presets_.path(), *this) {
    SimulationSettings settings = engine_.currentSettings();
    settings.framesPerSecond = framesPerSecond;
    engine_.applySettings(settings);
    engine_.seedRandom(seed);
}

bool HeadlessPlayback::open(const QString& path) {
    if (textFileKind(path)) {
        std::unique_ptr<Command> command = sequenceFromTextFile(path, player_.form());
        if (!command) {
            prompt_.showWarning(DocumentMessages::readFailure(FileResult::OpenFailed, path));
            return false;
        }
        commands_.append(std::move(command));
        return true;
    }
    if (!isSequenceFile(path)) {
        prompt_.showWarning(notPlayable(path));
        return false;
    }
    return readCommands(commands_, 0, path, prompt_) == FileResult::Ok;
}

void HeadlessPlayback::start() {
    clock_.set(0);
    engine_.frameClock().begin();
    player_.runner().startFromSelection(-1);
}

std::int32_t HeadlessPlayback::advanceTo(std::uint32_t ms) {
    clock_.set(ms);
    engine_.frameClock().readNow();
    // Commands that follow each other within one frame all run before it.
    player_.runDueCommands();
    return engine_.tick();
}

}  // namespace rova
