// The command list's model: the rows it shows, renaming in place, and drops.
#include <gtest/gtest.h>

#include <QIcon>
#include <QMimeData>
#include <QSignalSpy>
#include <memory>

#include "CommandListModel.h"
#include "QtApplicationTest.h"
#include "TestCommands.h"

namespace rova::test {
namespace {

class CommandListModelTest : public QtApplicationTest {
  protected:
    QString cell(const CommandListModel& model, int row, int column) const {
        return model.data(model.index(row, column), Qt::DisplayRole).toString();
    }

    NodeList<Command> commands_;
    CommandListModel model_{commands_};
};

// The cells' texts themselves are the command text's; here each goes to its own column.
TEST_F(CommandListModelTest, ShowsTheRowTextsInTheirColumnsUnderTheirHeadings) {
    auto command = textCommand(Keyword::Solo, "Hello", 3.0);
    command->parameters().commandFlags |= CommandFlags::DeathAfterEnabled;
    command->parameters().deathAfter = 2.5;
    command->parameters().deathType = 1;
    model_.insert(0, std::move(command));
    ASSERT_EQ(model_.columnCount(), 5);
    QStringList cells;
    QStringList headings;
    for (int column = 0; column < 5; ++column) {
        cells.append(cell(model_, 0, column));
        headings.append(model_.headerData(column, Qt::Horizontal, Qt::DisplayRole).toString());
    }
    EXPECT_EQ(cells, (QStringList{"Hello", "new solo player", "after 2.5 sec", "decimate - fast",
                                  "after 3 sec"}));
    EXPECT_EQ(headings, (QStringList{"Name", "Type", "Death", "Death Type", "Next Command"}));
}

// Only the last column aligns right, only the name shows the keyword's icon and is editable.
TEST_F(CommandListModelTest, EachColumnHasItsAlignmentIconAndEditability) {
    model_.insert(0, textCommand(Keyword::Kill, "Hello"));
    for (int column = 0; column < 5; ++column) {
        SCOPED_TRACE(column);
        const QModelIndex index = model_.index(0, column);
        const auto alignment = model_.data(index, Qt::TextAlignmentRole).value<Qt::Alignment>();
        EXPECT_EQ((alignment & Qt::AlignRight) != 0, column == CommandListModel::NextCommand);
        const auto icon = model_.data(index, Qt::DecorationRole).value<QIcon>();
        const bool name = column == CommandListModel::Name;
        EXPECT_EQ(!icon.isNull() && !icon.pixmap(16, 16).isNull(), name);
        EXPECT_EQ((model_.flags(index) & Qt::ItemIsEditable) != 0, name);
        if (!name) {
            EXPECT_FALSE(model_.setData(index, "x", Qt::EditRole));
        }
    }
}

// An empty name is refused; what a typed name means to the command its own tests check.
TEST_F(CommandListModelTest, ARenamedCommandStopsFollowingItsContent) {
    model_.insert(0, textCommand(Keyword::Solo, "Hello"));
    QSignalSpy renamed(&model_, &CommandListModel::renamed);

    EXPECT_FALSE(model_.setData(model_.index(0, 0), QString(), Qt::EditRole));
    EXPECT_EQ(commands_.at(0)->name(), "Hello");
    EXPECT_TRUE(commands_.at(0)->nameFollowsContent());

    ASSERT_TRUE(model_.setData(model_.index(0, 0), QStringLiteral("Intro"), Qt::EditRole));
    EXPECT_EQ(renamed.count(), 1);
    EXPECT_EQ(cell(model_, 0, 0), "Intro");
    EXPECT_FALSE(commands_.at(0)->nameFollowsContent());
}

// A drop names the dragged rows and where they go, and leaves the list to the form.
TEST_F(CommandListModelTest, ADropReportsTheRowsAndTheirDestination) {
    for (const char* name : {"A", "B", "C", "D"}) {
        model_.insert(model_.rowCount(), textCommand(Keyword::Solo, name));
    }
    QSignalSpy dropped(&model_, &CommandListModel::rowsDropped);
    std::unique_ptr<QMimeData> data(
        model_.mimeData({model_.index(3, 1), model_.index(1, 0), model_.index(3, 0)}));

    EXPECT_FALSE(model_.dropMimeData(data.get(), Qt::MoveAction, 0, 0, {}));
    EXPECT_FALSE(model_.dropMimeData(data.get(), Qt::MoveAction, -1, -1, model_.index(2, 0)));
    EXPECT_FALSE(model_.dropMimeData(data.get(), Qt::MoveAction, -1, -1, {}));

    ASSERT_EQ(dropped.count(), 3);
    const int destinations[] = {0, 2, 4};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(dropped[i][0].value<QList<int>>(), (QList<int>{1, 3}));
        EXPECT_EQ(dropped[i][1].toInt(), destinations[i]);
    }
    EXPECT_EQ(cell(model_, 1, 0), "B");
}

}  // namespace
}  // namespace rova::test
