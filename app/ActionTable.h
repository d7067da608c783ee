#pragma once

#include <QAction>
#include <QHash>
#include <QObject>
#include <functional>

#include "ActionCatalogue.h"

namespace rova {

// How a window handles one action: what it does, and when it is enabled and checked.
struct ActionHandler {
    std::function<void()> run;
    std::function<bool()> enabled;  // none: always enabled
    std::function<bool()> checked;  // none: never checked
};

// One QAction per entry of the catalogue, shared by the menus and the toolbar. Windows register
// the handlers of the actions they own; an update pass asks every handler whether its action is
// enabled and checked. An action that nothing handles stays disabled.
class ActionTable final : public QObject {
    Q_OBJECT

  public:
    explicit ActionTable(QObject* parent = nullptr);

    QAction* action(ActionId id) const;
    void setHandler(ActionId id, ActionHandler handler);
    // Runs the action's handler, if it has one and is enabled, as choosing it would.
    void trigger(ActionId id);
    // Enables and checks every action from its handler.
    void update();

  private:
    QHash<ActionId, QAction*> actions_;
    QHash<ActionId, ActionHandler> handlers_;
};

}  // namespace rova
