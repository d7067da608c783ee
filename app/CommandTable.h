#pragma once

#include <QAction>
#include <QHash>
#include <QObject>
#include <functional>

#include "CommandCatalogue.h"

namespace rova {

// How a window handles one command: what it does, and when it is enabled and checked.
struct CommandHandler {
    std::function<void()> run;
    std::function<bool()> enabled;  // none: always enabled
    std::function<bool()> checked;  // none: never checked
};

// One action per command of the catalogue, shared by the menus and the toolbar. Windows register
// the handlers of the commands they own; an update pass asks every handler whether its command
// is enabled and checked. A command that nothing handles stays disabled.
class CommandTable final : public QObject {
    Q_OBJECT

  public:
    explicit CommandTable(QObject* parent = nullptr);

    QAction* action(CommandId id) const;
    void setHandler(CommandId id, CommandHandler handler);
    // Runs the command's handler, if it has one and is enabled, as choosing it would.
    void trigger(CommandId id);
    // Enables and checks every action from its handler.
    void update();

  private:
    QHash<CommandId, QAction*> actions_;
    QHash<CommandId, CommandHandler> handlers_;
};

}  // namespace rova
