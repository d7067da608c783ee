#pragma once

#include <QTemporaryDir>

#include "EditedPicture.h"
#include "ParameterFormController.h"
#include "Players.h"
#include "Presets.h"
#include "RichTextControl.h"

namespace rova {

class PlayerEngine;
class UserPrompt;

// The parameter form's controller with the editors and presets it works with, but no window:
// the text editor is never shown, the picture editor is a HeldPicture, and the presets are the
// shipped defaults (never the user's own), kept in a folder of their own that vanishes with it.
// Needs a QApplication, since the text editor is a widget.
class HeadlessForm {
  public:
    HeadlessForm(PlayerEngine& engine, UserPrompt& prompt, ParameterFormHost& host);

    ParameterFormController& controller() { return controller_; }

  private:
    EnginePlayers players_;
    RichTextControl textEditor_;
    HeldPicture picture_;
    QTemporaryDir presetsFolder_;
    Presets presets_;
    ParameterFormController controller_;
};

}  // namespace rova
