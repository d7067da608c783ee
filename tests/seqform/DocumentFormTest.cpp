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
#include <QSlider>
#include <QTableView>
#include <QTest>
#include <memory>
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

class QuietHost : public DocumentHost {
  public:
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
};

class DocumentFormTest : public QtApplicationTest {
  protected:
    // A form over commands named after `names` (SOLO texts, 5 s each), showing the first.
    DocumentForm& makeForm(std::initializer_list<const char*> names) {
        for (const char* name : names) {
            document_.commands().append(textCommand(Keyword::Solo, name));
        }
        form_ = std::make_unique<DocumentForm>(document_, frameClock_, parameters_, prompt_,
                                               dialog_.show());
        form_->initialUpdate(false);
        return *form_;
    }

    std::vector<std::string> names() const {
        std::vector<std::string> result;
        for (const Command& command : document_.commands()) {
            result.push_back(command.name());
        }
        return result;
    }

    std::vector<CommandKeyword> keywords() const {
        std::vector<CommandKeyword> result;
        for (const Command& command : document_.commands()) {
            result.push_back(command.keyword());
        }
        return result;
    }

    // Selects rows as the user would, with the control key held after the first.
    void select(std::initializer_list<int> rows) {
        auto* list = named<QTableView>(*form_, "Commands");
        bool first = true;
        for (int row : rows) {
            const QRect cell = list->visualRect(list->model()->index(row, 1));
            QTest::mouseClick(list->viewport(), Qt::LeftButton,
                              first ? Qt::NoModifier : Qt::ControlModifier, cell.center());
            first = false;
        }
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
    QuietHost host_;
    Document document_{prompt_, host_};
    VirtualClock clock_;
    FrameClock frameClock_{clock_};
    FakeParameters parameters_;
    ScriptedDialog dialog_;
    std::unique_ptr<DocumentForm> form_;
};

TEST_F(DocumentFormTest, EveryControlIsNamedAfterItsCaption) {
    DocumentForm& form = makeForm({"A"});
    for (const char* name :
         {"Run", "Top", "Step", "Reload", "New", "Insert...", "Delete", "Move Up", "Move Down"}) {
        auto* button = named<QPushButton>(form, name);
        ASSERT_NE(button, nullptr) << name;
        EXPECT_EQ(button->text(), name);
    }
    for (const char* name : {"Command Type", "Death", "Next Command After..."}) {
        ASSERT_NE(named<QGroupBox>(form, name), nullptr) << name;
    }
    EXPECT_EQ(named<QCheckBox>(form, "After:")->text(), "After:");
    EXPECT_EQ(named<QLabel>(form, "Type:")->text(), "Type:");
    for (const char* name : {"Death After", "Next Command After"}) {
        ASSERT_NE(named<QSlider>(form, name), nullptr) << name;
        ASSERT_NE(named<QLineEdit>(form, name), nullptr) << name;
    }
    auto* type = named<QComboBox>(form, "Command Type");
    ASSERT_EQ(type->count(), 7);
    const QStringList items{"new solo player", "new player",       "change top player",
                            "kill top player", "kill all players", "repeat marker",
                            "repeat"};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(type->itemText(i), items[i]);
        EXPECT_FALSE(type->itemIcon(i).isNull());
    }
    auto* deathType = named<QComboBox>(form, "Death Type");
    ASSERT_EQ(deathType->count(), 3);
    EXPECT_EQ(deathType->itemText(2), "decimate - slow");
}

// Which settings the command type shows, and under which captions.
TEST_F(DocumentFormTest, ShowsTheSettingsOfTheCommandType) {
    const struct {
        int type;
        bool death;
        const char* group;
        const char* check;
        const char* unit;
        bool deathType;
        bool next;
    } cases[] = {
        {0, true, "Death", "After:", "sec", true, true},
        {1, true, "Death", "After:", "sec", true, true},
        {2, false, "Death", "After:", "sec", false, true},
        {3, false, "Death", "After:", "sec", false, true},
        {4, false, "Death", "After:", "sec", false, true},
        {5, false, "Death", "After:", "sec", false, false},
        {6, true, "Repeat", "For:", "times", false, true},
    };
    DocumentForm& form = makeForm({"A"});
    auto* type = named<QComboBox>(form, "Command Type");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        type->setCurrentIndex(c.type);
        EXPECT_EQ(document_.commands().at(0)->keyword().index(), c.type);
        auto* group = named<QGroupBox>(form, c.group);
        ASSERT_NE(group, nullptr);
        EXPECT_EQ(group->title(), c.group);
        EXPECT_EQ(!group->isHidden(), c.death);
        auto* check = named<QCheckBox>(form, c.check);
        ASSERT_NE(check, nullptr);
        EXPECT_EQ(check->text(), c.check);
        auto* unit = named<QLabel>(*group, c.unit);
        ASSERT_NE(unit, nullptr);
        EXPECT_EQ(unit->text(), c.unit);
        EXPECT_EQ(!named<QComboBox>(form, "Death Type")->isHidden(), c.deathType);
        EXPECT_EQ(!named<QLabel>(form, "Type:")->isHidden(), c.deathType);
        EXPECT_EQ(!named<QGroupBox>(form, "Next Command After...")->isHidden(), c.next);
    }
}

TEST_F(DocumentFormTest, ATextCommandSwitchedToRepeatLosesItsText) {
    DocumentForm& form = makeForm({"Hello"});
    ASSERT_EQ(document_.commands().at(0)->contentKind(), content_kind::Rich);
    named<QComboBox>(form, "Command Type")->setCurrentIndex(6);

    const Command& command = *document_.commands().at(0);
    EXPECT_EQ(command.keyword(), Keyword::Repeat);
    EXPECT_EQ(command.contentKind(), content_kind::None);
    EXPECT_TRUE(command.content().empty());
    EXPECT_EQ(command.name(), "");
    EXPECT_TRUE(named<QComboBox>(form, "Death Type")->isHidden());
    EXPECT_NE(named<QGroupBox>(form, "Repeat"), nullptr);
    EXPECT_NE(named<QCheckBox>(form, "For:"), nullptr);
    EXPECT_TRUE(document_.isModified());
}

TEST_F(DocumentFormTest, KillTopPlayerKillsAtOnceAndIsSaved) {
    DocumentForm& form = makeForm({"A", "B"});
    parameters_.executed.clear();
    named<QComboBox>(form, "Command Type")->setCurrentIndex(3);
    ASSERT_EQ(parameters_.executed.size(), 1U);
    EXPECT_EQ(parameters_.executed[0], Keyword::Kill);
    EXPECT_EQ(document_.commands().at(0)->keyword(), Keyword::Kill);
    EXPECT_EQ(named<QTableView>(form, "Commands")->model()->index(0, 1).data().toString(),
              "kill top player");
}

TEST_F(DocumentFormTest, ValuesAndTheDeathCheckGoIntoTheCommand) {
    DocumentForm& form = makeForm({"A"});
    named<QCheckBox>(form, "After:")->setChecked(true);
    type(named<QLineEdit>(form, "Death After"), "7");
    named<QComboBox>(form, "Death Type")->setCurrentIndex(2);
    type(named<QLineEdit>(form, "Next Command After"), "12");
    const PlayerParameters& record = document_.commands().at(0)->parameters();
    EXPECT_TRUE(record.hasCommandFlag(CommandFlags::DeathAfterEnabled));
    EXPECT_EQ(record.deathAfter, 7.0);
    EXPECT_EQ(record.deathType, 2U);
    EXPECT_EQ(record.nextCommandAfter, 12.0);

    // A click on the group sets the next command's time to 5 s.
    auto* next = named<QGroupBox>(form, "Next Command After...");
    QTest::mouseClick(next, Qt::LeftButton, Qt::NoModifier, QPoint(4, 4));
    EXPECT_EQ(document_.commands().at(0)->parameters().nextCommandAfter, 5.0);
    EXPECT_EQ(named<QLineEdit>(form, "Next Command After")->text(), "5");

    // Reload goes back to the command as it was loaded.
    auto* reload = named<QPushButton>(form, "Reload");
    ASSERT_TRUE(reload->isEnabled());
    reload->click();
    EXPECT_FALSE(
        document_.commands().at(0)->parameters().hasCommandFlag(CommandFlags::DeathAfterEnabled));
    EXPECT_EQ(document_.commands().at(0)->parameters().nextCommandAfter, 5.0);
    EXPECT_EQ(document_.commands().at(0)->parameters().deathType, 0U);
    EXPECT_FALSE(reload->isEnabled());
}

TEST_F(DocumentFormTest, InsertingBalancesTheRepeatBrackets) {
    const struct {
        std::vector<Keyword> file;
        std::vector<CommandKeyword> expected;
        QList<int> selected;
    } cases[] = {
        {{Keyword::Solo, Keyword::Repeat, Keyword::Repeat},
         {Keyword::Solo, Keyword::Mark, Keyword::Mark, Keyword::Solo, Keyword::Repeat,
          Keyword::Repeat, Keyword::Solo},
         {1, 2, 3, 4, 5}},
        {{Keyword::Mark, Keyword::New}, {Keyword::Solo, Keyword::New, Keyword::Solo}, {1}},
        {{Keyword::Mark, Keyword::Kill, Keyword::Repeat},
         {Keyword::Solo, Keyword::Mark, Keyword::Kill, Keyword::Repeat, Keyword::Solo},
         {1, 2, 3}},
    };
    TempFolder folder;
    for (const auto& c : cases) {
        NodeList<Command> file;
        for (Keyword keyword : c.file) {
            file.append(plainCommand(keyword));
        }
        const QString path = folder.path("insert.rova");
        ASSERT_EQ(writeCommands(file, path, prompt_), FileResult::Ok);

        document_.commands().clear();
        DocumentForm& form = makeForm({"X", "Y"});
        dialog_.choices.push_back(FilePrompt::DialogResult{{path}, 0});
        click("Insert...");
        ASSERT_EQ(dialog_.requests.size(), 1U);
        EXPECT_EQ(dialog_.requests[0].title, "Insert Commands from File");
        dialog_.requests.clear();
        EXPECT_EQ(keywords(), c.expected);
        EXPECT_EQ(form.selectedRows(), c.selected);
        EXPECT_EQ(form.currentIndex(), c.selected.first());
        EXPECT_TRUE(document_.isModified());
    }
}

// Move Up, Move Down and dragging gather the selected rows into one block.
TEST_F(DocumentFormTest, MovingGathersTheSelectedRows) {
    const struct {
        const char* button;
        std::vector<std::string> order;
        QList<int> selected;
    } cases[] = {
        {"Move Up", {"2", "4", "1", "3", "5"}, {0, 1}},
        {"Move Down", {"1", "3", "5", "2", "4"}, {3, 4}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.button);
        document_.commands().clear();
        DocumentForm& form = makeForm({"1", "2", "3", "4", "5"});
        select({1, 3});
        const int focused = form.focusedRow();
        ASSERT_EQ(focused, 3);
        click(c.button);
        EXPECT_EQ(names(), c.order);
        EXPECT_EQ(form.selectedRows(), c.selected);
        EXPECT_EQ(form.currentIndex(), c.selected.last());
        EXPECT_EQ(names()[static_cast<std::size_t>(form.focusedRow())], "4");
    }
}

TEST_F(DocumentFormTest, DroppingRowsMovesThemAsTheButtonsDo) {
    DocumentForm& form = makeForm({"1", "2", "3", "4", "5"});
    select({1, 3});
    auto* model = named<QTableView>(form, "Commands")->model();
    std::unique_ptr<QMimeData> data(model->mimeData({model->index(1, 0), model->index(3, 0)}));
    model->dropMimeData(data.get(), Qt::MoveAction, 0, 0, {});
    EXPECT_EQ(names(), (std::vector<std::string>{"2", "4", "1", "3", "5"}));
    EXPECT_EQ(form.selectedRows(), (QList<int>{0, 1}));
}

TEST_F(DocumentFormTest, DeletingTheCurrentLastRowExecutesTheNewLastRow) {
    DocumentForm& form = makeForm({"A", "B", "C"});
    select({2});
    ASSERT_EQ(form.currentIndex(), 2);
    parameters_.executedNames.clear();
    click("Delete");
    EXPECT_EQ(names(), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(parameters_.executedNames, std::vector<std::string>{"B"});
    EXPECT_EQ(form.currentIndex(), 1);
    EXPECT_EQ(form.focusedRow(), 1);
}

// Rows deleted before the current command move it up; it is not executed again.
TEST_F(DocumentFormTest, DeletingRowsBeforeTheCurrentOneKeepsIt) {
    DocumentForm& form = makeForm({"A", "B", "C", "D"});
    select({3});
    auto* list = named<QTableView>(form, "Commands");
    QItemSelection rows;
    for (int row : {0, 2}) {
        rows.select(list->model()->index(row, 0), list->model()->index(row, 4));
    }
    list->selectionModel()->select(rows, QItemSelectionModel::ClearAndSelect);
    parameters_.executedNames.clear();
    click("Delete");
    EXPECT_EQ(names(), (std::vector<std::string>{"B", "D"}));
    EXPECT_TRUE(parameters_.executedNames.empty());
    EXPECT_EQ(form.currentIndex(), 1);
    EXPECT_EQ(form.focusedRow(), 1);
}

TEST_F(DocumentFormTest, TheDeleteAndInsertKeysActAsTheButtons) {
    DocumentForm& form = makeForm({"A", "B", "C"});
    select({1});
    auto* list = named<QTableView>(form, "Commands");
    QTest::keyClick(list, Qt::Key_Delete);
    EXPECT_EQ(names(), (std::vector<std::string>{"A", "C"}));
    QTest::keyClick(list, Qt::Key_Insert);
    EXPECT_EQ(dialog_.requests.size(), 1U);
}

TEST_F(DocumentFormTest, NewInsertsTheParametersAfterTheFocusedRow) {
    DocumentForm& form = makeForm({"A", "B"});
    select({0});
    click("New");
    ASSERT_EQ(names(), (std::vector<std::string>{"A", "A", "B"}));
    EXPECT_EQ(form.currentIndex(), 1);
    EXPECT_EQ(form.selectedRows(), QList<int>{1});
    EXPECT_TRUE(document_.isModified());
}

TEST_F(DocumentFormTest, ButtonsNeedCommandsOrASelection) {
    DocumentForm& empty = makeForm({});
    for (const char* name : {"Run", "Top", "Step", "Delete", "Move Up", "Move Down", "Reload"}) {
        EXPECT_FALSE(named<QPushButton>(empty, name)->isEnabled()) << name;
    }
    EXPECT_TRUE(named<QPushButton>(empty, "New")->isEnabled());
    click("New");
    for (const char* name : {"Run", "Top", "Step", "Delete", "Move Up", "Move Down"}) {
        EXPECT_TRUE(named<QPushButton>(empty, name)->isEnabled()) << name;
    }
}

TEST_F(DocumentFormTest, RunShowsTheTimersUntilStopped) {
    DocumentForm& form = makeForm({"A", "B"});
    auto* run = named<QPushButton>(form, "Run");
    run->click();
    EXPECT_TRUE(form.isRunning());
    EXPECT_EQ(run->text(), "sequence: 0:00:00\ncommand: 0:00:00");
    run->click();
    EXPECT_FALSE(form.isRunning());
    EXPECT_EQ(run->text(), "Run");
}

TEST_F(DocumentFormTest, RenamingInTheListStopsTheNameFollowingTheContent) {
    DocumentForm& form = makeForm({"A"});
    auto* model = named<QTableView>(form, "Commands")->model();
    ASSERT_TRUE(model->setData(model->index(0, 0), QStringLiteral("Intro"), Qt::EditRole));
    EXPECT_EQ(document_.commands().at(0)->name(), "Intro");
    EXPECT_FALSE(document_.commands().at(0)->nameFollowsContent());
    EXPECT_TRUE(document_.isModified());
}

TEST_F(DocumentFormTest, ANameBeingTypedIsTakenBeforeSaving) {
    DocumentForm& form = makeForm({"A"});
    auto* list = named<QTableView>(form, "Commands");
    list->edit(list->model()->index(0, 0));
    auto* editor = list->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->setText(QStringLiteral("Outro"));
    form.prepareForSave();
    EXPECT_EQ(document_.commands().at(0)->name(), "Outro");
}

TEST_F(DocumentFormTest, AFocusMovedByTheUserKillsAllAndExecutesTheRow) {
    DocumentForm& form = makeForm({"A", "B", "C"});
    parameters_.executedNames.clear();
    const int killed = parameters_.killAllCount;
    select({2});
    EXPECT_EQ(parameters_.killAllCount, killed + 1);
    EXPECT_EQ(parameters_.executedNames, std::vector<std::string>{"C"});
    EXPECT_EQ(form.currentIndex(), 2);
}

// A command that shows something but is given nothing to show starts from an empty text.
TEST_F(DocumentFormTest, AShowingTypeWithoutContentExecutesAnEmptyText) {
    DocumentForm& form = makeForm({});
    document_.commands().append(plainCommand(Keyword::Mark));
    form.refresh(0, -1, false);
    ASSERT_FALSE(parameters_.holdsContent());
    parameters_.executed.clear();
    named<QComboBox>(form, "Command Type")->setCurrentIndex(1);
    ASSERT_EQ(parameters_.executed.size(), 1U);
    EXPECT_EQ(parameters_.executed[0], Keyword::New);
    EXPECT_EQ(parameters_.kind, content_kind::Rich);
    EXPECT_EQ(document_.commands().at(0)->keyword(), Keyword::New);
    EXPECT_EQ(document_.commands().at(0)->contentKind(), content_kind::Rich);

    // With content held, a change of type executes nothing.
    parameters_.executed.clear();
    named<QComboBox>(form, "Command Type")->setCurrentIndex(0);
    EXPECT_TRUE(parameters_.executed.empty());
}

TEST_F(DocumentFormTest, OutOfMemoryIsReportedAndChangesNothing) {
    const struct {
        const char* action;
        QString message;
    } cases[] = {
        {"New", "There is not enough memory to create a new command."},
        {"type", "There is not enough memory to save changes made to this command."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.action);
        document_.commands().clear();
        prompt_.messages.clear();
        DocumentForm& form = makeForm({"A"});
        parameters_.outOfMemory = true;
        if (QString(c.action) == "New") {
            click("New");
        } else {
            named<QComboBox>(form, "Command Type")->setCurrentIndex(1);
        }
        parameters_.outOfMemory = false;
        EXPECT_EQ(prompt_.messages, QStringList{c.message});
        EXPECT_EQ(names(), std::vector<std::string>{"A"});
        EXPECT_EQ(document_.commands().at(0)->keyword(), Keyword::Solo);
    }
}

}  // namespace
}  // namespace rova::test
