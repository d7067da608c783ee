#pragma once

#include "Command.h"
#include "NodeList.h"

namespace rova {

// The sequences that ship with Rova, made from the project's own commands so that they can be
// reviewed as code: the demonstration sequence and the default presets.

// About a minute of what the rotor can do: text and a picture, speeds and springs, bounces,
// projections, flashing, vertical motion, mirroring, decimation and a repeat bracket.
// Needs a QApplication (the text is laid out by the rich-text control).
NodeList<Command> makeDemoSequence();

// The default presets: "Static", "Scrolling - very long text" and a few more, sorted by name as
// the presets list keeps them.
NodeList<Command> makeDefaultPresets();

}  // namespace rova
