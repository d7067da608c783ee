// The sequence form on screen (headless): its controls, found by their accessible names, and
// what its buttons and list do to the document's commands.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "AnsweringPrompt.h"
#include "Clock.h"
#include "CommandFile.h"
#include "Document.h"
#include "DocumentForm.h"
#include "DocumentTestSupport.h"
#include "FrameClock.h"
#include "NamedWidget.h"
#include "ParameterFormAccess.h"
#include "QtApplicationTest.h"
#include "ScriptedDialog.h"
#include "TestCommands.h"

namespace rova::test {
namespace {

// The parameter form as the sequence form sees it: remembers what was executed.
class FakeParameters : public ParameterFormAccess {
  public:
    bool execute(Command& command, bool) override {
        executed.push_back(command.keyword());
        executedNames.push_back(command.name());
        working = command.parameters();
        kind = command.contentKind();
        content = command.content();
        return true;
    }
    void killAllPlayers() override { ++killAllCount; }
    void resetParameters() override { working = PlayerParameters(); }
    const PlayerParameters& record() const override { return working; }
    void applyRecord(const PlayerParameters& record) override { working = record; }
    bool holdsContent() const override { return kind != content_kind::None; }
    bool storeInto(Command& command, bool withContent) override {
        if (outOfMemory) {
            return false;
        }
        command.parameters() = working;
        if (withContent) {
            command.assignContent(kind, std::vector<std::uint8_t>(content));
        }
        return true;
    }
    std::unique_ptr<Command> commandFromParameters() override {
        if (outOfMemory) {
            return nullptr;
        }
        auto command = std::make_unique<Command>();
        storeInto(*command, true);
        return command;
    }

    PlayerParameters working;
    FourCC kind = content_kind::None;
    std::vector<std::uint8_t> content;
    std::vector<CommandKeyword> executed;
    std::vector<std::string> executedNames;
    int killAllCount = 0;
    bool outOfMemory = false;
};

// The fixture is also the document's host, one that asks nothing and shows nothing.
class DocumentFormTest : public QtApplicationTest, public DocumentHost {
  protected:
    bool windowExists() const override { return true; }
    void stopSequenceAndKillPlayers() override {}
    void sequenceReplaced(bool) override {}
    std::unique_ptr<Command> commandFromTextFile(const QString&) override { return nullptr; }
    void commandAdded(int) override {}
    void prepareForSave() override {}
    std::unique_ptr<Command> commandFromParameters() override { return nullptr; }
    void showSequencePane() override {}
    void titleChanged() override {}
    std::optional<QString> chooseSavePath(const QString&) override { return std::nullopt; }
    void addRecentFile(const QString&) override {}

    // A form over commands named after `names` (SOLO texts, 5 s each), showing the first.
    DocumentForm& makeForm(const std::vector<std::string>& names) {
        document_.commands().clear();
        for (const std::string& name : names) {
            document_.commands().append(textCommand(Keyword::Solo, name));
        }
        form_ = std::make_unique<DocumentForm>(document_, frameClock_, parameters_, prompt_,
                                               dialog_.show());
        form_->initialUpdate(false);
        return *form_;
    }
    std::vector<std::string> names() const { return namesOf(document_.commands()); }
    std::vector<CommandKeyword> keywords() const {
        std::vector<CommandKeyword> result;
        for (const Command& command : document_.commands()) {
            result.push_back(command.keyword());
        }
        return result;
    }
    QTableView& list() { return *named<QTableView>(*form_, "Commands"); }
    QComboBox& commandType() { return *named<QComboBox>(*form_, "Command Type"); }

    // Selects rows as the user would, with the control key held after the first.
    void select(const std::vector<int>& rows) {
        Qt::KeyboardModifiers modifiers = Qt::NoModifier;
        for (int row : rows) {
            const QRect cell = list().visualRect(list().model()->index(row, 1));
            QTest::mouseClick(list().viewport(), Qt::LeftButton, modifiers, cell.center());
            modifiers = Qt::ControlModifier;
        }
    }
    // Selects rows without moving the current row.
    void selectOnly(const std::vector<int>& rows) {
        QItemSelection selection;
        for (int row : rows) {
            selection.select(list().model()->index(row, 0), list().model()->index(row, 4));
        }
        list().selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    }
    // Replaces the field's text as the user would.
    static void type(QLineEdit* edit, const char* text) {
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
    void click(const QString& name) {
        auto* button = named<QPushButton>(*form_, name);
        ASSERT_NE(button, nullptr) << name.toStdString();
        button->click();
    }

    AnsweringPrompt prompt_;
    Document document_{prompt_, *this};
    VirtualClock clock_;
    FrameClock frameClock_{clock_};
    FakeParameters parameters_;
    ScriptedDialog dialog_;
    std::unique_ptr<DocumentForm> form_;
};

// Which settings the command type shows; each type has its icon.
TEST_F(DocumentFormTest, ShowsTheSettingsOfTheCommandType) {
    // Per type, in the list's order: the limit group shown, it limiting the repeat count rather
    // than the lifetime, the death type shown, the next command's time shown.
    const std::tuple<bool, bool, bool, bool> cases[] = {
        {true, false, true, true},   {true, false, true, true},   {false, false, false, true},
        {false, false, false, true}, {false, false, false, true}, {false, false, false, false},
        {true, true, false, true},
    };
    DocumentForm& form = makeForm({"A"});
    ASSERT_EQ(commandType().count(), 7);
    for (int type = 0; type < 7; ++type) {
        SCOPED_TRACE(type);
        const auto& [death, repeat, deathType, next] = cases[type];
        EXPECT_FALSE(commandType().itemIcon(type).isNull());
        commandType().setCurrentIndex(type);
        EXPECT_EQ(document_.commands().at(0)->keyword().index(), type);
        auto* box = named<QGroupBox>(form, repeat ? "Repeat" : "Death");
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(!box->isHidden(), death);
        EXPECT_EQ(!named<QComboBox>(form, "Death Type")->isHidden(), deathType);
        EXPECT_EQ(!named<QLabel>(form, "Type:")->isHidden(), deathType);
        EXPECT_EQ(!named<QGroupBox>(form, "Next Command After...")->isHidden(), next);
    }
}

// A kill kills at once; a command that shows something but is given nothing to show starts from
// an empty text; a showing type over held content executes nothing. The list shows the new type.
TEST_F(DocumentFormTest, ATypeChangeExecutesWhatMustTakeEffectAtOnce) {
    // The command's keyword before, the type chosen, what it executes, the content it then holds.
    const std::tuple<Keyword, int, std::vector<CommandKeyword>, FourCC> cases[] = {
        {Keyword::Solo, 3, {Keyword::Kill}, content_kind::None},
        {Keyword::Mark, 1, {Keyword::New}, content_kind::Rich},
        {Keyword::Solo, 1, {}, content_kind::Rich},
    };
    for (const auto& [from, to, executed, kind] : cases) {
        SCOPED_TRACE(to);
        DocumentForm& form = makeForm({});
        document_.commands().append(from == Keyword::Mark ? plainCommand(from)
                                                          : textCommand(from, "A"));
        form.refresh(0, -1, false);
        parameters_.executed.clear();
        commandType().setCurrentIndex(to);
        EXPECT_EQ(parameters_.executed, executed);
        EXPECT_EQ(document_.commands().at(0)->keyword().index(), to);
        EXPECT_EQ(document_.commands().at(0)->contentKind(), kind);
        EXPECT_EQ(list().model()->index(0, 1).data().toString(), commandType().itemText(to));
    }
}

TEST_F(DocumentFormTest, ValuesTheDeathCheckAndATypedNameGoIntoTheCommand) {
    DocumentForm& form = makeForm({"A"});
    named<QCheckBox>(form, "After:")->setChecked(true);
    type(named<QLineEdit>(form, "Death After"), "7");
    named<QComboBox>(form, "Death Type")->setCurrentIndex(2);
    type(named<QLineEdit>(form, "Next Command After"), "12");
    const PlayerParameters& record = document_.commands().at(0)->parameters();
    const auto values = [&] {
        return std::tuple(record.hasCommandFlag(CommandFlags::DeathAfterEnabled), record.deathAfter,
                          record.deathType, record.nextCommandAfter);
    };
    EXPECT_EQ(values(), std::tuple(true, 7.0, 2U, 12.0));

    // A click on the group sets the next command's time to 5 s.
    auto* next = named<QGroupBox>(form, "Next Command After...");
    QTest::mouseClick(next, Qt::LeftButton, Qt::NoModifier, QPoint(4, 4));
    EXPECT_EQ(record.nextCommandAfter, 5.0);
    EXPECT_EQ(named<QLineEdit>(form, "Next Command After")->text(), "5");

    // Reload goes back to the command as it was loaded, and executes it again.
    auto* reload = named<QPushButton>(form, "Reload");
    ASSERT_TRUE(reload->isEnabled());
    parameters_.executedNames.clear();
    reload->click();
    EXPECT_EQ(parameters_.executedNames, std::vector<std::string>{"A"});
    EXPECT_EQ(form.currentIndex(), 0);
    EXPECT_EQ(values(), std::tuple(false, 5.0, 0U, 5.0));
    EXPECT_FALSE(reload->isEnabled());

    // A name being typed is taken before saving, and the renaming modifies the document.
    document_.setModifiedFlag(false);
    list().edit(list().model()->index(0, 0));
    auto* editor = list().viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->setText(QStringLiteral("Outro"));
    form.prepareForSave();
    EXPECT_EQ(std::pair(document_.commands().at(0)->name(), document_.isModified()),
              std::pair(std::string("Outro"), true));
}

TEST_F(DocumentFormTest, InsertingBalancesTheRepeatBrackets) {
    using enum Keyword;
    // The file's commands, the document's after the insertion, the rows then selected.
    const std::tuple<std::vector<Keyword>, std::vector<CommandKeyword>, QList<int>> cases[] = {
        {{Solo, Repeat, Repeat}, {Solo, Mark, Mark, Solo, Repeat, Repeat, Solo}, {1, 2, 3, 4, 5}},
        {{Mark, New}, {Solo, New, Solo}, {1}},
        {{Mark, Kill, Repeat}, {Solo, Mark, Kill, Repeat, Solo}, {1, 2, 3}},
        {{}, {Solo, Solo}, {0}},  // nothing inserted: the focused row stays
    };
    TempFolder folder;
    const QString path = folder.path("insert.rova");
    for (const auto& [keywordsInFile, expected, selected] : cases) {
        NodeList<Command> file;
        for (Keyword keyword : keywordsInFile) {
            file.append(plainCommand(keyword));
        }
        ASSERT_EQ(writeCommands(file, path, prompt_), FileResult::Ok);
        DocumentForm& form = makeForm({"X", "Y"});
        dialog_.choices.push_back(FilePrompt::DialogResult{{path}, 0});
        click("Insert...");
        EXPECT_EQ(keywords(), expected);
        EXPECT_EQ(form.selectedRows(), selected);
        EXPECT_EQ(form.currentIndex(), selected.first());
        EXPECT_FALSE(form.isRunning());
        EXPECT_TRUE(document_.isModified());
    }
}

// Move Up, Move Down and dropping gather the selected rows into one block; the current command
// and the focus stay on theirs.
TEST_F(DocumentFormTest, MovingGathersTheSelectedRows) {
    const std::tuple<std::string, std::vector<std::string>, QList<int>> cases[] = {
        {"Move Up", {"2", "4", "1", "3", "5"}, {0, 1}},
        {"Move Down", {"1", "3", "5", "2", "4"}, {3, 4}},
        {"drop", {"2", "4", "1", "3", "5"}, {0, 1}},
    };
    for (const auto& [how, order, selected] : cases) {
        SCOPED_TRACE(how);
        DocumentForm& form = makeForm({"1", "2", "3", "4", "5"});
        select({1, 3});
        ASSERT_EQ(form.focusedRow(), 3);
        if (how == "drop") {
            QAbstractItemModel* model = list().model();
            std::unique_ptr<QMimeData> data(
                model->mimeData({model->index(1, 0), model->index(3, 0)}));
            model->dropMimeData(data.get(), Qt::MoveAction, 0, 0, {});
        } else {
            click(QString::fromStdString(how));
        }
        EXPECT_EQ(names(), order);
        EXPECT_EQ(form.selectedRows(), selected);
        EXPECT_EQ(form.currentIndex(), selected.last());
        EXPECT_EQ(form.focusedRow(), selected.last());
    }
}

// A focus the user moves kills all players and executes its row. A deleted current row executes
// the row that takes its place, or the new last row; rows deleted before the current one move it
// up without executing it again.
TEST_F(DocumentFormTest, AUserFocusExecutesItsRowAndDeletingKeepsOrReplacesTheCurrentRow) {
    const struct {
        const char* name;
        std::vector<std::string> commands;
        int current;
        std::vector<int> selected;
        bool key;
        std::vector<std::string> left;
        std::vector<std::string> executed;
    } cases[] = {
        {"the last, current", {"A", "B", "C"}, 2, {2}, false, {"A", "B"}, {"B"}},
        {"before the current", {"A", "B", "C", "D"}, 3, {0, 2}, false, {"B", "D"}, {}},
        {"with the key", {"A", "B", "C"}, 1, {1}, true, {"A", "C"}, {"C"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DocumentForm& form = makeForm(c.commands);
        parameters_.executedNames.clear();
        const int killed = parameters_.killAllCount;
        select({c.current});
        EXPECT_EQ(parameters_.killAllCount, killed + 1);
        EXPECT_EQ(parameters_.executedNames, std::vector{c.commands[std::size_t(c.current)]});
        EXPECT_EQ(form.currentIndex(), c.current);
        selectOnly(c.selected);
        parameters_.executedNames.clear();
        if (c.key) {
            QTest::keyClick(&list(), Qt::Key_Delete);
        } else {
            click("Delete");
        }
        EXPECT_EQ(names(), c.left);
        EXPECT_EQ(parameters_.executedNames, c.executed);
        EXPECT_EQ(form.currentIndex(), 1);
        EXPECT_EQ(form.focusedRow(), 1);
    }
    QTest::keyClick(&list(), Qt::Key_Insert);
    EXPECT_EQ(dialog_.requests.size(), 1U) << "the Insert key acts as Insert...";
}

// The buttons need commands. Run shows the timers until pressed again. Top runs from the first
// row: the selection follows the run without counting as a move of the user's, which would stop it.
TEST_F(DocumentFormTest, ButtonsNeedCommandsRunShowsTheTimersAndTopRunsFromTheFirstRow) {
    DocumentForm& form = makeForm({});
    const auto enabled = [&] {
        QStringList on;
        for (const char* name :
             {"Run", "Top", "Step", "Delete", "Move Up", "Move Down", "Reload", "New"}) {
            if (named<QPushButton>(form, name)->isEnabled()) {
                on.append(name);
            }
        }
        return on;
    };
    EXPECT_EQ(enabled(), QStringList{"New"});
    click("New");
    EXPECT_EQ(enabled(),
              QStringList({"Run", "Top", "Step", "Delete", "Move Up", "Move Down", "New"}));
    click("New");
    select({1});
    auto* run = named<QPushButton>(form, "Run");
    run->click();
    EXPECT_TRUE(form.isRunning());
    EXPECT_EQ(run->text(), "sequence: 0:00:00\ncommand: 0:00:00");
    run->click();
    EXPECT_FALSE(form.isRunning());
    EXPECT_EQ(run->text(), "Run");
    const int killed = parameters_.killAllCount;
    click("Top");
    EXPECT_EQ(parameters_.killAllCount, killed + 1) << "by the start of the run only";
    EXPECT_TRUE(form.isRunning());
    EXPECT_EQ(form.currentIndex(), 0);
}

// New inserts the parameters after the focused row. Out of memory, New and a type change are
// reported and change nothing.
TEST_F(DocumentFormTest, NewInsertsAfterTheFocusedRowAndOutOfMemoryChangesNothing) {
    DocumentForm& form = makeForm({"A", "B"});
    select({0});
    click("New");
    ASSERT_EQ(names(), (std::vector<std::string>{"A", "A", "B"}));
    EXPECT_EQ(form.currentIndex(), 1);
    EXPECT_EQ(form.selectedRows(), QList<int>{1});
    EXPECT_TRUE(document_.isModified());
    parameters_.outOfMemory = true;
    click("New");
    commandType().setCurrentIndex(1);
    parameters_.outOfMemory = false;
    EXPECT_EQ(prompt_.messages,
              QStringList({"There is not enough memory to create a new command.",
                           "There is not enough memory to save changes made to this command."}));
    EXPECT_EQ(names(), (std::vector<std::string>{"A", "A", "B"}));
    EXPECT_EQ(keywords(), std::vector<CommandKeyword>(3, Keyword::Solo));
}

}  // namespace
}  // namespace rova::test
