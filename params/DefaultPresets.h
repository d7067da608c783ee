#pragma once

#include "Command.h"
#include "NodeList.h"

namespace rova {

// The presets that ship with Rova, made from the project's own commands so that they can be
// reviewed as code: "Static", "Scrolling - very long text" and a few more, sorted by name as
// the presets list keeps them.
NodeList<Command> makeDefaultPresets();

}  // namespace rova
