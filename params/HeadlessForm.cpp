#include "HeadlessForm.h"

namespace rova {

HeadlessForm::HeadlessForm(PlayerEngine& engine, UserPrompt& prompt, ParameterFormHost& host,
                           const QString& ownPresetsPath, const QString& presetsToLoad,
                           bool openingFromList)
    : players_(engine),
      presets_(ownPresetsPath, prompt),
      controller_(players_, richText_, picture_, presets_, prompt, host) {
    presets_.load(presetsToLoad);
    controller_.initialise(openingFromList);
}

}  // namespace rova
