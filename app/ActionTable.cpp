#include "ActionTable.h"

#include <QIcon>

#include "IconResources.h"

namespace rova {

ActionTable::ActionTable(QObject* parent) : QObject(parent) {
    initIconResources();
    for (const ActionInfo& info : ActionCatalogue::actions()) {
        auto* action = new QAction(info.menuText, this);
        action->setShortcuts(info.shortcuts);
        action->setStatusTip(info.statusPrompt);
        // Without a tooltip of its own a toolbar button shows its menu text.
        if (!info.toolTip.isEmpty()) {
            action->setToolTip(info.toolTip);
        }
        action->setCheckable(info.checkable);
        action->setEnabled(false);
        if (!info.iconName.isEmpty()) {
            action->setIcon(QIcon(QStringLiteral(":/icons/%1.svg").arg(info.iconName)));
        }
        const ActionId id = info.id;
        connect(action, &QAction::triggered, this, [this, id] { trigger(id); });
        actions_.insert(id, action);
    }
}

QAction* ActionTable::action(ActionId id) const {
    return actions_.value(id);
}

void ActionTable::setHandler(ActionId id, ActionHandler handler) {
    handlers_.insert(id, std::move(handler));
}

void ActionTable::trigger(ActionId id) {
    const auto found = handlers_.constFind(id);
    if (found != handlers_.constEnd() && (!found->enabled || found->enabled())) {
        // The handler may replace the table's handlers (a window closing): run a copy.
        const std::function<void()> run = found->run;
        run();
    }
    update();
}

void ActionTable::update() {
    for (auto it = actions_.constBegin(); it != actions_.constEnd(); ++it) {
        const auto handler = handlers_.constFind(it.key());
        const bool handled = handler != handlers_.constEnd();
        it.value()->setEnabled(handled && (!handler->enabled || handler->enabled()));
        if (it.value()->isCheckable()) {
            it.value()->setChecked(handled && handler->checked && handler->checked());
        }
    }
}

}  // namespace rova
