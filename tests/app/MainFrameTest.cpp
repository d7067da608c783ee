// The main window as the application starts it: its command table's enable and check rules,
// the panes, the status bar, the title, the operation and formatting commands on the forms, a
// sequence composed in the forms, and what it stores when it closes.
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QToolBar>
#include <QtTest/QTest>

#include "DocumentForm.h"
#include "NamedWidget.h"
#include "ParameterForm.h"
#include "PictureEditor.h"
#include "PictureEditorModel.h"
#include "PreviewSplitter.h"
#include "PreviewWnd.h"
#include "RichTextControl.h"
#include "ShellTestSupport.h"
#include "XSplitterStatic.h"

namespace rova::test {
namespace {

using C = ActionId;

// The "n-Point" command.
C pointSize(int points) {
    return C{static_cast<int>(C::Size7Points) + points - 7};
}

class MainFrameTest : public ShellTest {
  protected:
    QString statusPane(const char* name) { return named<QLabel>(frame(), name)->text(); }
    ParameterForm& parameters() { return frame().parameterForm(); }
    void click(QWidget& form, const char* name) {
        auto* button = named<QAbstractButton>(form, name);
        ASSERT_NE(button, nullptr) << name;
        button->click();
    }
    void type(QWidget& form, const char* field, const char* text) {
        auto* edit = named<QLineEdit>(form, field);
        ASSERT_NE(edit, nullptr) << field;
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
};

TEST_F(MainFrameTest, FormattingCommandsFollowTheContentKindOfTheParameterForm) {
    settings.setSettingInt(QStringLiteral("AutoRun"), 0);
    ASSERT_TRUE(start({writeSequence(QStringLiteral("format.rova"), 1)}));
    // The first command's text is loaded, all of it selected.
    EXPECT_TRUE(enabled(C::TextBold));
    EXPECT_TRUE(enabled(C::ColourRed));
    EXPECT_FALSE(enabled(C::ColourBlack));  // black text would not light the lamps
    trigger(pointSize(10));
    EXPECT_TRUE(checked(pointSize(10)));
    EXPECT_FALSE(checked(pointSize(11)));
    trigger(C::ColourGreen);
    EXPECT_TRUE(checked(C::ColourGreen));
    // The formatted text went on into the current command.
    const std::vector<std::uint8_t>& stored = application->document().commands().at(0)->content();
    EXPECT_NE(std::string(stored.begin(), stored.end()).find("\\red0\\green255\\blue0"),
              std::string::npos);

    click(parameters(), "Picture");
    EXPECT_FALSE(enabled(C::TextBold));
    EXPECT_FALSE(enabled(C::TextFont));
    EXPECT_TRUE(enabled(C::ColourBlack));
    trigger(pointSize(12));
    EXPECT_EQ(parameters().pictureEditor().model().rows(), 12);
    EXPECT_TRUE(checked(pointSize(12)));
    trigger(C::IncreasePointsize);
    EXPECT_EQ(parameters().pictureEditor().model().rows(), 13);
}

// Without a focused text field, Cut, Copy and Paste work on the form's picture, if it has one.
TEST_F(MainFrameTest, ClipboardCommandsGoToThePictureWithoutAFocusedTextField) {
    settings.setSettingInt(QStringLiteral("AutoRun"), 0);
    ASSERT_TRUE(start({writeSequence(QStringLiteral("clip.rova"), 1)}));
    frame().setFocus();
    EXPECT_FALSE(enabled(C::EditCopy));
    click(parameters(), "Picture");
    frame().setFocus();
    QGuiApplication::clipboard()->clear();
    ASSERT_TRUE(enabled(C::EditCopy));
    trigger(C::EditCopy);
    EXPECT_FALSE(QGuiApplication::clipboard()->image().isNull());
    EXPECT_TRUE(enabled(C::EditPaste));
}

TEST_F(MainFrameTest, ParameterCommandsSwitchTheFormsModes) {
    ASSERT_TRUE(start());
    const ParameterFormController& controller = parameters().controller();
    EXPECT_TRUE(checked(C::AutoUpdate));
    trigger(C::AutoUpdate);
    EXPECT_FALSE(controller.autoUpdate());
    EXPECT_FALSE(checked(C::AutoUpdate));

    EXPECT_FALSE(checked(C::EnablePresetEditing));
    EXPECT_TRUE(named<QPushButton>(parameters(), "Store")->isHidden());
    trigger(C::EnablePresetEditing);
    EXPECT_TRUE(parameters().presetEditing());
    EXPECT_FALSE(named<QPushButton>(parameters(), "Store")->isHidden());
}

// A printable key typed on a control that does not take it goes into the text, which replaces
// the selection and reaches the current command.
TEST_F(MainFrameTest, TypedCharactersGoToTheTextAndTheCurrentCommand) {
    settings.setSettingInt(QStringLiteral("AutoRun"), 0);
    ASSERT_TRUE(start({writeSequence(QStringLiteral("typed.rova"), 2)}));
    QTest::keyClicks(named<QRadioButton>(parameters(), "Text"), "Hi");
    EXPECT_EQ(parameters().textEditor().toPlainText(), QStringLiteral("Hi"));
    EXPECT_EQ(application->document().commands().at(0)->name(), "Hi");
    EXPECT_EQ(application->document().commands().at(1)->name(), "text 1");
}

// From an empty document: a text command, a picture command and a KILA, with their timings,
// saved, opened again and run.
TEST_F(MainFrameTest, ASequenceComposedInTheFormsSurvivesSavingAndReopening) {
    ASSERT_TRUE(start());
    trigger(C::FileNew);
    DocumentForm& sequence = frame().sequenceForm();

    // Each "New" copies the current command; the forms then edit the copy.
    click(sequence, "New");
    click(parameters(), "Text");
    parameters().textEditor().selectAll();
    QTest::keyClicks(&parameters().textEditor(), "Hello");
    type(sequence, "Next Command After", "3");

    click(sequence, "New");
    click(parameters(), "Picture");
    type(sequence, "Next Command After", "4");

    click(sequence, "New");
    auto* type = named<QComboBox>(sequence, "Command Type");
    ASSERT_NE(type, nullptr);
    type->setCurrentIndex(CommandKeyword(Keyword::KillAll).index());
    type->activated(type->currentIndex());

    const QString path = folder.path(QStringLiteral("composed.rova"));
    dialog.choices.push_back(FilePrompt::DialogResult{{path}, 0});
    trigger(C::FileSaveAs);
    ASSERT_TRUE(QFileInfo::exists(path));
    trigger(C::FileNew);
    application->openByPath(path);

    const NodeList<Command>& commands = application->document().commands();
    ASSERT_EQ(commands.size(), 3u);
    struct Expected {
        Keyword keyword;
        FourCC kind;
        double next;
    };
    const Expected expected[] = {{Keyword::Solo, content_kind::Rich, 3.0},
                                 {Keyword::Solo, content_kind::Picture, 4.0},
                                 {Keyword::KillAll, content_kind::None, 4.0}};
    for (std::size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(commands.at(i)->keyword(), CommandKeyword(expected[i].keyword));
        EXPECT_EQ(commands.at(i)->contentKind(), expected[i].kind);
        EXPECT_DOUBLE_EQ(commands.at(i)->parameters().nextCommandAfter, expected[i].next);
    }
    EXPECT_EQ(commands.at(0)->name(), "Hello");
    trigger(C::RunFromTop);
    EXPECT_TRUE(sequence.isRunning());
}

TEST_F(MainFrameTest, CommandsWithoutAHandlerAreDisabled) {
    ASSERT_TRUE(start());
    // Never handled: the rotor itself is not driven.
    EXPECT_FALSE(enabled(C::ViewRotor));
    EXPECT_FALSE(enabled(C::SaveRotorData));
    trigger(C::ViewRotor);
    EXPECT_FALSE(checked(C::ViewRotor));
    // Always there.
    for (const C id : {C::FileNew, C::FileOpen, C::FileSaveAs, C::FilePickupFolder, C::FileExit,
                       C::RunDemo, C::About, C::ViewParameters, C::ChooseBackground}) {
        EXPECT_TRUE(enabled(id)) << static_cast<int>(id);
    }
}

// The menus draw each accelerator label from the key sequence; no text carries one of its own.
TEST_F(MainFrameTest, ShortcutLabelsAreLeftToTheKeySequences) {
    ASSERT_TRUE(start());
    for (const ActionInfo& info : ActionCatalogue::actions()) {
        const QAction& command = action(info.id);
        EXPECT_FALSE(command.text().contains(u'\t')) << command.text().toStdString();
        EXPECT_FALSE(command.toolTip().contains(u'\t')) << command.toolTip().toStdString();
    }
    EXPECT_EQ(action(C::NextCommand).toolTip(), QStringLiteral("Next Command"));
    EXPECT_EQ(action(C::FileSinglePlay).shortcut(), QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_Y));
}

TEST_F(MainFrameTest, RecentFilesShowClashingNamesWithTheirFoldersAndTheFullPathAsStatusTip) {
    const QString own = writeSequence(QStringLiteral("show.rova"), 1);
    // The test's own home folder, never the user's.
    ASSERT_TRUE(QDir::home().mkpath(QStringLiteral("b&c")));
    const QString other = QDir::home().filePath(QStringLiteral("b&c/show.rova"));
    ASSERT_TRUE(QFile::copy(own, other));
    ASSERT_TRUE(start({own}));
    application->openByPath(other);
    QStringList texts;
    QStringList tips;
    for (QAction* item : frame().menuBar()->actions().first()->menu()->actions()) {
        if (item->text().startsWith(u'&') && item->text().at(1).isDigit()) {
            texts.append(item->text());
            tips.append(item->statusTip());
        }
    }
    EXPECT_EQ(texts, QStringList({QStringLiteral("&1 ~/b&&c/show.rova"), "&2 " + own}));
    EXPECT_EQ(tips, QStringList({other, own}));
}

TEST_F(MainFrameTest, SaveAndRevertFollowTheDocument) {
    const QString path = writeSequence(QStringLiteral("two.rova"), 2);
    ASSERT_TRUE(start({path}));
    // Loaded and not modified: nothing to save, nothing to revert.
    EXPECT_FALSE(enabled(C::FileSave));
    EXPECT_FALSE(enabled(C::FileRevert));
    application->document().setModifiedFlag(true);
    EXPECT_TRUE(enabled(C::FileSave));
    EXPECT_TRUE(enabled(C::FileRevert));

    // An untitled document cannot revert even when modified; with no commands it can be saved.
    prompt.answers.push_back(Answer::No);  // "Save changes to ...?"
    trigger(C::FileNew);
    EXPECT_TRUE(enabled(C::FileSave));
    application->document().setModifiedFlag(true);
    EXPECT_FALSE(enabled(C::FileRevert));
}

TEST_F(MainFrameTest, TitleShowsTheDocumentAndItsModifiedMarker) {
    const QString path = writeSequence(QStringLiteral("shown.rova"), 1);
    ASSERT_TRUE(start({path}));
    EXPECT_EQ(frame().windowTitle(), QStringLiteral("Rova - shown.rova"));
    application->document().setModifiedFlag(true);
    EXPECT_EQ(frame().windowTitle(), QStringLiteral("Rova - shown.rova *"));
    application->document().setModifiedFlag(false);
    EXPECT_EQ(frame().windowTitle(), QStringLiteral("Rova - shown.rova"));
}

TEST_F(MainFrameTest, PaneCommandsShowHideAndCheck) {
    ASSERT_TRUE(start({writeSequence(QStringLiteral("panes.rova"), 1)}));
    // Room for both forms at their natural heights beside the preview.
    frame().resize(1024, 1100);
    XSplitterStatic& panes = frame().panes();
    const int natural = panes.naturalSize(MainFrame::ParameterRow);
    ASSERT_GT(natural, 0);
    // The sequence pane came up with the file; the parameter pane has its natural height.
    EXPECT_TRUE(checked(C::ViewParameters));

    trigger(C::ViewParameters);
    EXPECT_FALSE(frame().isRowVisible(MainFrame::ParameterRow));
    EXPECT_FALSE(checked(C::ViewParameters));
    trigger(C::ViewParameters);
    EXPECT_TRUE(frame().isRowVisible(MainFrame::ParameterRow));
    EXPECT_EQ(panes.paneSize(MainFrame::ParameterRow), natural);

    trigger(C::ViewMetrics);
    EXPECT_TRUE(checked(C::ViewMetrics));
    trigger(C::ViewHideAll);
    EXPECT_FALSE(frame().isRowVisible(MainFrame::ParameterRow));
    EXPECT_FALSE(frame().isRowVisible(MainFrame::SequenceRow));
    EXPECT_TRUE(frame().isRowVisible(MainFrame::PreviewRow));
    EXPECT_FALSE(checked(C::ViewMetrics));
    EXPECT_FALSE(frame().findChild<PreviewSplitter*>()->isMetricsVisible());

    trigger(C::ViewSequence);
    EXPECT_TRUE(checked(C::ViewSequence));
    trigger(C::ViewSequence);
    EXPECT_FALSE(checked(C::ViewSequence));
}

TEST_F(MainFrameTest, MetricsCommandTwiceHidesTheColumnAgain) {
    ASSERT_TRUE(start());
    PreviewSplitter& splitter = *frame().findChild<PreviewSplitter*>();
    EXPECT_EQ(splitter.paneSize(PreviewSplitter::MetricsColumn), 0);
    trigger(C::ViewMetrics);
    EXPECT_GT(splitter.paneSize(PreviewSplitter::MetricsColumn), 0);
    trigger(C::ViewMetrics);
    EXPECT_EQ(splitter.paneSize(PreviewSplitter::MetricsColumn), 0);
}

TEST_F(MainFrameTest, StatusPanesCountPlayersCommandsAndDocuments) {
    settings.setSettingInt(QStringLiteral("AutoRun"), 0);
    ASSERT_TRUE(start({writeSequence(QStringLiteral("three.rova"), 3)}));
    frame().refresh();
    // Without Auto Run the first command was executed, not run.
    EXPECT_FALSE(frame().sequenceForm().isRunning());
    EXPECT_EQ(statusPane("Commands"), QStringLiteral("Commands: 3, Current: 1"));
    EXPECT_EQ(statusPane("Documents"), QStringLiteral("Documents: 1, Current: 1"));
    EXPECT_EQ(statusPane("Players"), QStringLiteral("Players: 1"));

    prompt.answers.push_back(Answer::No);
    trigger(C::FileNew);
    frame().refresh();
    EXPECT_EQ(statusPane("Commands"), QStringLiteral("Commands: 0, Current: 0"));
    EXPECT_EQ(statusPane("Documents"), QStringLiteral("Documents: 0, Current: 0"));
}

TEST_F(MainFrameTest, OperationCommandsDriveTheRunner) {
    settings.setSettingInt(QStringLiteral("AutoRun"), 0);
    ASSERT_TRUE(start({writeSequence(QStringLiteral("run.rova"), 3)}));
    DocumentForm& session = frame().sequenceForm();
    EXPECT_FALSE(checked(C::RunStop));
    trigger(C::RunStop);
    EXPECT_TRUE(session.isRunning());
    EXPECT_TRUE(checked(C::RunStop));
    trigger(C::RunStop);
    EXPECT_FALSE(session.isRunning());

    trigger(C::NextCommand);
    EXPECT_EQ(session.currentIndex(), 1);
    EXPECT_FALSE(session.isRunning());
    trigger(C::RunFromTop);
    EXPECT_EQ(session.currentIndex(), 0);
    EXPECT_TRUE(session.isRunning());
    trigger(C::KillAllPlayers);
    EXPECT_FALSE(session.isRunning());

    // Nothing to run in an empty document.
    prompt.answers.push_back(Answer::No);
    trigger(C::FileNew);
    for (const C id : {C::RunStop, C::TopCommand, C::NextCommand, C::RunFromRewind}) {
        EXPECT_FALSE(enabled(id)) << static_cast<int>(id);
    }
}

TEST_F(MainFrameTest, ToolbarAndStatusBarStatesAreStoredOnClose) {
    settings.setSettingInt(QStringLiteral("ToolbarVisible"), 0);
    ASSERT_TRUE(start());
    EXPECT_FALSE(named<QToolBar>(frame(), "Toolbar")->isVisible());
    EXPECT_FALSE(checked(C::ViewToolbar));
    trigger(C::ViewToolbar);
    EXPECT_TRUE(named<QToolBar>(frame(), "Toolbar")->isVisible());
    trigger(C::ViewStatusBar);
    EXPECT_FALSE(frame().statusBar()->isVisible());

    EXPECT_TRUE(frame().close());
    EXPECT_EQ(settings.setting(QStringLiteral("ToolbarVisible")), QStringLiteral("1"));
    EXPECT_EQ(settings.setting(QStringLiteral("StatusBarVisible")), QStringLiteral("0"));
    EXPECT_FALSE(settings.setting(QStringLiteral("MainMaximized")).isEmpty());
    EXPECT_TRUE(settings.readString(QStringLiteral("Window States"), QStringLiteral("Main")));
}

TEST_F(MainFrameTest, ClosingAModifiedDocumentAsksFirst) {
    ASSERT_TRUE(start({writeSequence(QStringLiteral("keep.rova"), 1)}));
    application->document().setModifiedFlag(true);
    prompt.answers.push_back(Answer::Cancel);
    EXPECT_FALSE(frame().close());
    EXPECT_TRUE(frame().isVisible());
    ASSERT_EQ(prompt.questions.size(), 1u);
    EXPECT_TRUE(prompt.questions[0].message.startsWith(QStringLiteral("Save changes to ")));
    // Nothing was stored while the window stayed.
    EXPECT_FALSE(settings.readString(QStringLiteral("Window States"), QStringLiteral("Main")));
}

}  // namespace
}  // namespace rova::test
