#include "HeadlessForm.h"

#include "CommandFile.h"
#include "ShippedData.h"

namespace rova {

namespace {

QString presetsPath(const QTemporaryDir& folder) {
    return folder.filePath(QStringLiteral("Presets.rova"));
}

}  // namespace

HeadlessForm::HeadlessForm(PlayerEngine& engine, UserPrompt& prompt, ParameterFormHost& host)
    : players_(engine),
      presets_(presetsPath(presetsFolder_), prompt),
      controller_(players_, textEditor_, picture_, presets_, prompt, host) {
    // The presets are read from a file, as the application reads them, so the tool sees the
    // same presets in the same order.
    WriteCommands(makeDefaultPresets(), presetsPath(presetsFolder_), prompt);
    presets_.load(presetsPath(presetsFolder_));
    // As when the application opens a file for its playlist: no start text.
    controller_.initialise(true);
}

}  // namespace rova
