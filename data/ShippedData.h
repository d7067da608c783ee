#pragma once

#include "Command.h"
#include "NodeList.h"

namespace rova {

// The demonstration sequence that ships with Rova, made from the project's own commands so that
// it can be reviewed as code. (The default presets are made by makeDefaultPresets.)

// About a minute of what the rotor can do: text and a picture, speeds and springs, bounces,
// projections, flashing, vertical motion, mirroring, decimation and a repeat bracket.
// Needs a QGuiApplication (the text is laid out with the application's fonts).
NodeList<Command> makeDemoSequence();

}  // namespace rova
