#include "InfoCommand.h"

#include "CommandFile.h"
#include "CommandText.h"

namespace rova {

namespace {

// Collects the reader's message instead of showing it.
class CollectingPrompt final : public UserPrompt {
  public:
    void showWarning(const QString& message) override { messages.push_back(message); }
    QStringList messages;
};

}  // namespace

int runInfo(const QString& path, QTextStream& output, QTextStream& errors) {
    NodeList<Command> commands;
    CollectingPrompt prompt;
    if (ReadCommands(commands, 0, path, prompt) != FileResult::Ok) {
        for (const QString& message : prompt.messages) {
            errors << message << '\n';
        }
        return 1;
    }
    for (const Command& command : commands) {
        const CommandRow row = CommandText::row(command);
        output << row.name << '\t' << row.type << '\t' << row.death << '\t' << row.deathType << '\t'
               << row.nextCommand << '\n';
    }
    return 0;
}

}  // namespace rova
