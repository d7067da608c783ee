#pragma once

#include <memory>

#include "Command.h"
#include "CommandExecutor.h"
#include "PlayerParameters.h"

namespace rova {

// What the sequence form needs from the parameter form: executing commands (CommandExecutor),
// and the working record, whose command-level fields (next command after, death after, death
// type, command flags) the sequence form edits while the parameter form edits the rest.
class ParameterFormAccess : public CommandExecutor {
  public:
    // The parameter form's working record.
    virtual const PlayerParameters& record() const = 0;
    // The command-level fields of `record` go into the working record, and with Auto Update on
    // the top player takes them while the form holds content.
    virtual void applyRecord(const PlayerParameters& record) = 0;
    // Whether the parameter form holds a text or a picture.
    virtual bool holdsContent() const = 0;
    // Copies the working record into `command`, and with `withContent` also the text or picture
    // and the packed content. False when memory runs out.
    virtual bool storeInto(Command& command, bool withContent) = 0;
    // A new command from the working record and content; null when memory runs out.
    virtual std::unique_ptr<Command> commandFromParameters() = 0;
};

}  // namespace rova
