// The command list's model: the rows it shows, renaming in place, and drops.
#include <gtest/gtest.h>

#include <QIcon>
#include <QMimeData>
#include <QSignalSpy>
#include <memory>

#include "AnsweringPrompt.h"
#include "CommandFile.h"
#include "CommandListModel.h"
#include "DocumentTestSupport.h"
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

std::unique_ptr<Command> timedCommand(Keyword keyword, double deathAfter, bool deathEnabled,
                                      std::uint32_t deathType, double next) {
    auto command = plainCommand(keyword, next);
    command->parameters().deathAfter = deathAfter;
    command->parameters().deathType = deathType;
    if (deathEnabled) {
        command->parameters().commandFlags |= CommandFlags::DeathAfterEnabled;
    } else {
        command->parameters().commandFlags &= ~CommandFlags::DeathAfterEnabled;
    }
    return command;
}

TEST_F(CommandListModelTest, ShowsEachCommandsRowTexts) {
    struct {
        std::unique_ptr<Command> command;
        QStringList cells;
    } cases[] = {
        {textCommand(Keyword::Solo, "Hello", 5.0),
         {"Hello", "new solo player", "indefinite", "immediate", "after 5 sec"}},
        {timedCommand(Keyword::New, 2.5, true, 1, 3.0),
         {"", "new player", "after 2.5 sec", "decimate - fast", "after 3 sec"}},
        {timedCommand(Keyword::Repeat, 3.7, true, 0, 1.0),
         {"", "repeat", "3 times", "", "after 1 sec"}},
        {timedCommand(Keyword::Repeat, 3.7, false, 0, 0.0),
         {"", "repeat", "infinite", "", "after 0 sec"}},
        {plainCommand(Keyword::Mark), {"", "repeat marker", "", "", ""}},
        {plainCommand(Keyword::KillAll, 2.0), {"", "kill all players", "", "", "after 2 sec"}},
    };
    for (auto& c : cases) {
        model_.insert(model_.rowCount(), std::move(c.command));
    }
    ASSERT_EQ(model_.rowCount(), static_cast<int>(std::size(cases)));
    ASSERT_EQ(model_.columnCount(), 5);
    for (int row = 0; row < model_.rowCount(); ++row) {
        for (int column = 0; column < 5; ++column) {
            EXPECT_EQ(cell(model_, row, column), cases[row].cells[column])
                << "row " << row << ", column " << column;
        }
    }
    QStringList headings;
    for (int column = 0; column < 5; ++column) {
        headings.append(model_.headerData(column, Qt::Horizontal, Qt::DisplayRole).toString());
    }
    EXPECT_EQ(headings, (QStringList{"Name", "Type", "Death", "Death Type", "Next Command"}));
}

TEST_F(CommandListModelTest, RightAlignsTheLastColumnAndShowsTheKeywordIconByName) {
    model_.insert(0, plainCommand(Keyword::Kill));
    for (int column = 0; column < 5; ++column) {
        const auto alignment =
            model_.data(model_.index(0, column), Qt::TextAlignmentRole).value<Qt::Alignment>();
        EXPECT_EQ((alignment & Qt::AlignRight) != 0, column == CommandListModel::NextCommand);
        const auto icon = model_.data(model_.index(0, column), Qt::DecorationRole).value<QIcon>();
        EXPECT_EQ(!icon.isNull() && !icon.pixmap(16, 16).isNull(), column == CommandListModel::Name)
            << column;
    }
}

TEST_F(CommandListModelTest, OnlyTheNameIsEditable) {
    model_.insert(0, textCommand(Keyword::Solo, "Hello"));
    for (int column = 0; column < 5; ++column) {
        EXPECT_EQ((model_.flags(model_.index(0, column)) & Qt::ItemIsEditable) != 0,
                  column == CommandListModel::Name);
        if (column != CommandListModel::Name) {
            EXPECT_FALSE(model_.setData(model_.index(0, column), "x", Qt::EditRole));
        }
    }
}

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

    const std::string other = std::string("Other") + '\0' + "{\\rtf1 Other}";
    commands_.at(0)->assignContent(content_kind::Rich, {other.begin(), other.end()});
    commands_.at(0)->setKeyword(Keyword::Kill);
    EXPECT_EQ(cell(model_, 0, 0), "Intro");
}

TEST_F(CommandListModelTest, ASavedSequenceReadsBackAsTheListShowsIt) {
    model_.insert(0, textCommand(Keyword::Solo, "First", 2.5));
    model_.insert(1, plainCommand(Keyword::Mark));
    model_.insert(2, timedCommand(Keyword::New, 4.0, true, 2, 1.5));
    model_.insert(3, timedCommand(Keyword::Repeat, 3.0, true, 0, 1.0));
    model_.setData(model_.index(2, 0), QStringLiteral("Named"), Qt::EditRole);

    TempFolder folder;
    AnsweringPrompt prompt;
    const QString path = folder.path("list.rova");
    ASSERT_EQ(writeCommands(commands_, path, prompt), FileResult::Ok);
    NodeList<Command> readBack;
    ASSERT_EQ(readCommands(readBack, 0, path, prompt), FileResult::Ok);
    CommandListModel shown(readBack);

    ASSERT_EQ(shown.rowCount(), model_.rowCount());
    for (int row = 0; row < model_.rowCount(); ++row) {
        for (int column = 0; column < 5; ++column) {
            EXPECT_EQ(cell(shown, row, column), cell(model_, row, column));
        }
    }
    EXPECT_TRUE(prompt.messages.isEmpty());
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
