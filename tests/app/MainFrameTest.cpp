// The main window as the application starts it: its command table's enable and check rules,
// the panes, the status bar, the title, the operation and formatting commands on the forms, a
// sequence composed in the forms, and what it stores when it closes.
#include <QClipboard>
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
#include <tuple>

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

// The first command's text is loaded, all of it selected: formatting and typed characters go to
// it and on into the current command. A printable key typed on a control that does not take it
// goes into the text too. Without a focused text field, Cut, Copy and Paste work on the form's
// picture, if it has one.
TEST_F(MainFrameTest, FormattingTypingAndClipboardCommandsFollowTheParameterFormsContent) {
    settings.setSettingInt("AutoRun", 0);
    ASSERT_TRUE(start({writeSequence("format.rova", 2)}));
    EXPECT_TRUE(enabled(C::TextBold));
    EXPECT_TRUE(enabled(C::ColourRed));
    EXPECT_FALSE(enabled(C::ColourBlack));  // black text would not light the lamps
    trigger(pointSize(10));
    EXPECT_TRUE(checked(pointSize(10)));
    trigger(C::ColourGreen);
    EXPECT_TRUE(checked(C::ColourGreen));
    const std::vector<std::uint8_t>& stored = application->document().commands().at(0)->content();
    EXPECT_NE(std::string(stored.begin(), stored.end()).find("\\red0\\green255\\blue0"),
              std::string::npos);
    QTest::keyClicks(named<QRadioButton>(parameters(), "Text"), "Hi");
    EXPECT_EQ(parameters().textEditor().toPlainText(), "Hi");
    EXPECT_EQ(application->document().commands().at(0)->name(), "Hi");
    EXPECT_EQ(application->document().commands().at(1)->name(), "text 1");
    frame().setFocus();
    EXPECT_FALSE(enabled(C::EditCopy));

    click(parameters(), "Picture");
    EXPECT_FALSE(enabled(C::TextBold));
    EXPECT_TRUE(enabled(C::ColourBlack));
    trigger(pointSize(12));
    EXPECT_EQ(parameters().pictureEditor().model().rows(), 12);
    EXPECT_TRUE(checked(pointSize(12)));
    trigger(C::IncreasePointsize);
    EXPECT_EQ(parameters().pictureEditor().model().rows(), 13);
    frame().setFocus();
    QGuiApplication::clipboard()->clear();
    ASSERT_TRUE(enabled(C::EditCopy));
    trigger(C::EditCopy);
    EXPECT_FALSE(QGuiApplication::clipboard()->image().isNull());
    EXPECT_TRUE(enabled(C::EditPaste));
}

// From an empty document: a text command and a picture command with their timings, saved and
// opened again. Each "New" copies the current command; the forms then edit the copy.
TEST_F(MainFrameTest, ASequenceComposedInTheFormsSurvivesSavingAndReopening) {
    ASSERT_TRUE(start());
    trigger(C::FileNew);
    DocumentForm& sequence = frame().sequenceForm();
    click(sequence, "New");
    click(parameters(), "Text");
    parameters().textEditor().selectAll();
    QTest::keyClicks(&parameters().textEditor(), "Hello");
    type(sequence, "Next Command After", "3");
    click(sequence, "New");
    click(parameters(), "Picture");
    type(sequence, "Next Command After", "4");

    const QString path = folder.path("composed.rova");
    dialog.choices.push_back(FilePrompt::DialogResult{{path}, 0});
    trigger(C::FileSaveAs);
    trigger(C::FileNew);
    application->openByPath(path);
    std::vector<std::tuple<std::string, FourCC, double>> read;
    for (const Command& command : application->document().commands()) {
        read.emplace_back(command.name(), command.contentKind(),
                          command.parameters().nextCommandAfter);
    }
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0], std::tuple(std::string("Hello"), content_kind::Rich, 3.0));
    EXPECT_EQ(std::get<1>(read[1]), content_kind::Picture);
    EXPECT_EQ(std::get<2>(read[1]), 4.0);
}

TEST_F(MainFrameTest, CommandsWithoutAHandlerAreDisabledAndParameterCommandsSwitchModes) {
    ASSERT_TRUE(start());
    // Never handled: the rotor itself is not driven.
    EXPECT_FALSE(enabled(C::SaveRotorData));
    trigger(C::ViewRotor);
    EXPECT_FALSE(enabled(C::ViewRotor) || checked(C::ViewRotor));
    for (const C id : {C::FileNew, C::FileOpen, C::FileSaveAs, C::FilePickupFolder, C::FileExit,
                       C::RunDemo, C::About, C::ViewParameters, C::ChooseBackground}) {
        EXPECT_TRUE(enabled(id)) << static_cast<int>(id);
    }
    EXPECT_TRUE(checked(C::AutoUpdate));
    trigger(C::AutoUpdate);
    EXPECT_FALSE(parameters().controller().autoUpdate());
    EXPECT_FALSE(checked(C::AutoUpdate));
    EXPECT_FALSE(checked(C::EnablePresetEditing));
    EXPECT_TRUE(named<QPushButton>(parameters(), "Store")->isHidden());
    trigger(C::EnablePresetEditing);
    EXPECT_TRUE(parameters().presetEditing());
    EXPECT_FALSE(named<QPushButton>(parameters(), "Store")->isHidden());
}

// The menus and the toolbar show the catalogue's commands in its order, "|" a separator.
TEST_F(MainFrameTest, MenusAndToolbarShowTheCataloguesCommandsInOrder) {
    ASSERT_TRUE(start());
    const auto texts = [this](const QList<QAction*>& shown, const QList<C>& listed) {
        QStringList shownTexts;
        QStringList listedTexts;
        for (const QAction* item : shown) {
            shownTexts.append(item->isSeparator() ? "|" : item->text());
        }
        for (const C id : listed) {
            listedTexts.append(id == C{0} ? "|" : action(id).text());
        }
        EXPECT_EQ(shownTexts, listedTexts);
    };
    texts(named<QToolBar>(frame(), "Toolbar")->actions(), ActionCatalogue::toolbar());
    texts(frame().menuBar()->actions().at(2)->menu()->actions(), ActionCatalogue::menus()[2].items);
}

TEST_F(MainFrameTest, RecentFilesShowClashingNamesWithTheirFoldersAndTheFullPathAsStatusTip) {
    const QString own = writeSequence("show.rova", 1);
    // The test's own home folder, never the user's.
    ASSERT_TRUE(QDir::home().mkpath("b&c"));
    const QString other = QDir::home().filePath("b&c/show.rova");
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
    EXPECT_EQ(texts, QStringList({"&1 ~/b&&c/show.rova", "&2 " + own}));
    EXPECT_EQ(tips, QStringList({other, own}));
}

// The title marks a modified document; Save and Revert follow the document's rules, under
// which an untitled, empty document can be saved but never reverted.
TEST_F(MainFrameTest, TitleSaveAndRevertFollowTheDocument) {
    ASSERT_TRUE(start({writeSequence("shown.rova", 2)}));
    EXPECT_FALSE(enabled(C::FileSave) || enabled(C::FileRevert));
    application->document().setModifiedFlag(true);
    EXPECT_EQ(frame().windowTitle(), "Rova - shown.rova *");
    EXPECT_TRUE(enabled(C::FileSave) && enabled(C::FileRevert));
    prompt.answers.push_back(Answer::No);  // "Save changes to ...?"
    trigger(C::FileNew);
    application->document().setModifiedFlag(true);
    EXPECT_TRUE(enabled(C::FileSave));
    EXPECT_FALSE(enabled(C::FileRevert));
}

TEST_F(MainFrameTest, PaneCommandsShowHideAndCheckAndTheFocusSkipsHiddenPanes) {
    ASSERT_TRUE(start({writeSequence("panes.rova", 1)}));
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

    PreviewSplitter& splitter = *frame().findChild<PreviewSplitter*>();
    EXPECT_EQ(splitter.paneSize(PreviewSplitter::MetricsColumn), 0);
    trigger(C::ViewMetrics);
    EXPECT_TRUE(checked(C::ViewMetrics));
    EXPECT_GT(splitter.paneSize(PreviewSplitter::MetricsColumn), 0);
    trigger(C::ViewMetrics);
    EXPECT_EQ(splitter.paneSize(PreviewSplitter::MetricsColumn), 0);
    trigger(C::ViewMetrics);
    trigger(C::ViewHideAll);
    EXPECT_FALSE(frame().isRowVisible(MainFrame::ParameterRow));
    EXPECT_FALSE(frame().isRowVisible(MainFrame::SequenceRow));
    EXPECT_TRUE(frame().isRowVisible(MainFrame::PreviewRow));
    EXPECT_FALSE(checked(C::ViewMetrics));
    EXPECT_FALSE(splitter.isMetricsVisible());
    // F6 moves the focus to the next visible pane: with the forms hidden, only the preview is left.
    for (const C id : {C::NextPane, C::PreviousPane, C::NextPane}) {
        trigger(id);
        EXPECT_EQ(frame().focusWidget(), static_cast<QWidget*>(&frame().preview()))
            << static_cast<int>(id);
    }

    trigger(C::ViewSequence);
    EXPECT_TRUE(checked(C::ViewSequence));
    trigger(C::ViewSequence);
    EXPECT_FALSE(checked(C::ViewSequence));
}

TEST_F(MainFrameTest, OperationCommandsDriveTheRunnerAndTheStatusPanesCount) {
    settings.setSettingInt("AutoRun", 0);
    ASSERT_TRUE(start({writeSequence("run.rova", 3)}));
    DocumentForm& session = frame().sequenceForm();
    frame().refresh();
    // Without Auto Run the first command was executed, not run.
    EXPECT_FALSE(checked(C::RunStop));
    EXPECT_EQ(statusPane("Commands"), "Commands: 3, Current: 1");
    EXPECT_EQ(statusPane("Documents"), "Documents: 1, Current: 1");
    EXPECT_EQ(statusPane("Players"), "Players: 1");
    trigger(C::RunStop);
    EXPECT_TRUE(session.isRunning());
    EXPECT_TRUE(checked(C::RunStop));
    trigger(C::RunStop);
    EXPECT_FALSE(session.isRunning());

    trigger(C::NextCommand);
    EXPECT_EQ(session.currentIndex(), 1);
    EXPECT_FALSE(session.isRunning());
    frame().refresh();
    EXPECT_EQ(statusPane("Commands"), "Commands: 3, Current: 2");
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
    frame().refresh();
    EXPECT_EQ(statusPane("Commands"), "Commands: 0, Current: 0");
    EXPECT_EQ(statusPane("Documents"), "Documents: 0, Current: 0");
}

// A modified document is asked about first, and nothing is stored while the window stays.
TEST_F(MainFrameTest, ClosingAsksAboutChangesAndThenStoresTheBarsAndThePlacement) {
    settings.setSettingInt("ToolbarVisible", 0);
    ASSERT_TRUE(start({writeSequence("keep.rova", 1)}));
    EXPECT_FALSE(named<QToolBar>(frame(), "Toolbar")->isVisible());
    EXPECT_FALSE(checked(C::ViewToolbar));
    trigger(C::ViewToolbar);
    EXPECT_TRUE(named<QToolBar>(frame(), "Toolbar")->isVisible());
    trigger(C::ViewStatusBar);
    EXPECT_FALSE(frame().statusBar()->isVisible());

    application->document().setModifiedFlag(true);
    prompt.answers.push_back(Answer::Cancel);
    EXPECT_FALSE(frame().close());
    ASSERT_EQ(prompt.questions.size(), 1u);
    EXPECT_TRUE(prompt.questions[0].message.startsWith("Save changes to "));
    EXPECT_FALSE(settings.readString("Window States", "Main"));

    application->document().setModifiedFlag(false);
    EXPECT_TRUE(frame().close());
    EXPECT_EQ(settings.setting("ToolbarVisible"), "1");
    EXPECT_EQ(settings.setting("StatusBarVisible"), "0");
    EXPECT_TRUE(settings.readString("Window States", "Main"));
}

}  // namespace
}  // namespace rova::test
