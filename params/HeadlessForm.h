#pragma once

#include <QString>

#include "ParameterFormController.h"
#include "PictureEditorModel.h"
#include "Players.h"
#include "Presets.h"
#include "RichTextDocument.h"

namespace rova {

class PlayerEngine;
class UserPrompt;

// The parameter form's controller with the text, picture and presets it works with, but no
// window of its own: the text is a RichTextDocument and the picture editor a PictureEditorModel
// that no control shows. Stands in for the parameter form wherever commands are executed
// without it. Needs a QGuiApplication, since the text is laid out with the application's fonts.
class HeadlessForm {
  public:
    // The presets are read from `presetsToLoad` and every change is saved to `ownPresetsPath`.
    // `openingFromList`: a document is being opened for the playlist, so no start text is shown.
    HeadlessForm(PlayerEngine& engine, UserPrompt& prompt, ParameterFormHost& host,
                 const QString& ownPresetsPath, const QString& presetsToLoad, bool openingFromList);

    ParameterFormController& controller() { return controller_; }
    Presets& presets() { return presets_; }

  private:
    EnginePlayers players_;
    RichTextDocument richText_;
    PictureEditorModel picture_;
    Presets presets_;
    ParameterFormController controller_;
};

}  // namespace rova
