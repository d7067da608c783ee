#pragma once

#include "Command.h"

namespace rova {

// What the sequence runner needs from the parameter form and the player engine: running a
// command on the players, and clearing them. The parameter form's controller implements it;
// tests record the calls.
class CommandExecutor {
  public:
    virtual ~CommandExecutor() = default;

    // Loads the command into the parameter form (its record and content) and performs its
    // keyword on the players. `resetLag` is true when no sequence is running, so that a command
    // given by hand does not make the frame clock catch up. False when it failed; the executor
    // has already told the user why.
    virtual bool execute(Command& command, bool resetLag) = 0;
    // Kills every player (each with its own death type) and resets the frame clock's lag.
    virtual void killAllPlayers() = 0;
    // No command is loaded any more: the parameter form returns to its defaults.
    virtual void resetParameters() = 0;
};

}  // namespace rova
