// The command texts as the menus and the toolbar show them.
#include <gtest/gtest.h>

#include <QSet>

#include "ActionCatalogue.h"

namespace rova {
namespace {

using C = ActionId;

TEST(ActionCatalogue, EveryCommandIsListedOnceAndEveryMenuItemExists) {
    QSet<int> ids;
    for (const ActionInfo& info : ActionCatalogue::actions()) {
        EXPECT_FALSE(ids.contains(static_cast<int>(info.id))) << static_cast<int>(info.id);
        ids.insert(static_cast<int>(info.id));
    }
    for (const MenuInfo& menu : ActionCatalogue::menus()) {
        for (const C id : menu.items) {
            EXPECT_TRUE(id == C{0} || ids.contains(static_cast<int>(id))) << static_cast<int>(id);
        }
    }
    // Black is on the toolbar only.
    for (const MenuInfo& menu : ActionCatalogue::menus()) {
        EXPECT_FALSE(menu.items.contains(C::ColourBlack));
    }
}

TEST(ActionCatalogue, ToolbarHasTheButtonsInOrder) {
    const QList<C>& toolbar = ActionCatalogue::toolbar();
    QList<C> buttons;
    int separators = 0;
    for (const C id : toolbar) {
        if (id == C{0}) {
            ++separators;
        } else {
            buttons.append(id);
            EXPECT_FALSE(ActionCatalogue::info(id).iconName.isEmpty()) << static_cast<int>(id);
        }
    }
    EXPECT_EQ(buttons.size(), 36);
    EXPECT_EQ(separators, 7);
    EXPECT_EQ(buttons.first(), C::FileNew);
    EXPECT_EQ(buttons[14], C::ColourBlack);
    EXPECT_EQ(buttons[15], C::ColourRed);
    EXPECT_EQ(buttons[27], C::RunStop);
    EXPECT_EQ(buttons.last(), C::RunDemo);
}

TEST(ActionCatalogue, PromptsSplitIntoStatusTextAndTooltip) {
    const ActionInfo& save = ActionCatalogue::info(C::FileSave);
    EXPECT_EQ(save.menuText, QStringLiteral("&Save"));
    EXPECT_EQ(save.statusPrompt, QStringLiteral("Save the active document"));
    EXPECT_EQ(save.toolTip, QStringLiteral("Save  Ctrl+S"));
    const ActionInfo& next = ActionCatalogue::info(C::FilePrevious);
    EXPECT_EQ(next.statusPrompt, QStringLiteral("Open the previous file in the document list"));
    EXPECT_TRUE(next.toolTip.isEmpty());
    EXPECT_TRUE(ActionCatalogue::info(C::SaveRotorData).statusPrompt.isEmpty());
}

TEST(ActionCatalogue, PointSizeItemsCarryTheirSizes) {
    const auto size = [](int points) {
        return ActionCatalogue::info(ActionId{static_cast<int>(C::Size7Points) + points - 7});
    };
    EXPECT_EQ(size(7).menuText, QStringLiteral("&7-Point"));
    EXPECT_EQ(size(10).menuText, QStringLiteral("1&0-Point"));
    EXPECT_EQ(size(16).menuText, QStringLiteral("1&6-Point"));
    EXPECT_EQ(size(16).statusPrompt, QStringLiteral("Set the selected text's size to 16 points"));
}

TEST(ActionCatalogue, AcceleratorsAsTheyAct) {
    EXPECT_EQ(ActionCatalogue::info(C::RunStop).shortcuts.value(0),
              QKeySequence(Qt::CTRL | Qt::Key_Space));
    EXPECT_EQ(ActionCatalogue::info(C::DecreasePointsize).shortcuts.value(0),
              QKeySequence(Qt::CTRL | Qt::Key_BracketLeft));
    EXPECT_EQ(ActionCatalogue::info(C::EditPaste).shortcuts.size(), 2);
    EXPECT_EQ(ActionCatalogue::info(C::EditUndo).shortcuts.value(1),
              QKeySequence(Qt::ALT | Qt::Key_Backspace));
    EXPECT_TRUE(ActionCatalogue::info(C::FileRemoveAll).shortcuts.isEmpty());
}

}  // namespace
}  // namespace rova
