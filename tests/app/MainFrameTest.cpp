// The main window as the application starts it: its command table's enable and check rules,
// the panes, the status bar, the title, the operation commands on the runner, and what it
// stores when it closes.
#include <QDir>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

#include "NamedWidget.h"
#include "PreviewSplitter.h"
#include "PreviewWnd.h"
#include "ShellTestSupport.h"
#include "XSplitterStatic.h"

namespace rova::test {
namespace {

using C = ActionId;

class MainFrameTest : public ShellTest {
  protected:
    QString statusPane(const char* name) { return named<QLabel>(frame(), name)->text(); }
};

TEST_F(MainFrameTest, CommandsWithoutAHandlerAreDisabled) {
    ASSERT_TRUE(start());
    // Never handled: the rotor itself is not driven.
    EXPECT_FALSE(enabled(C::ViewRotor));
    EXPECT_FALSE(enabled(C::SaveRotorData));
    trigger(C::ViewRotor);
    EXPECT_FALSE(checked(C::ViewRotor));
    // The text formatting commands come with the parameter form.
    for (const C id : {C::TextBold, C::TextFont, C::TextRainbow, C::ColourRed, C::Size7Points,
                       C::DecreasePointsize, C::EnablePresetEditing}) {
        EXPECT_FALSE(enabled(id)) << static_cast<int>(id);
    }
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
    EXPECT_FALSE(frame().session().isRunning());
    EXPECT_EQ(statusPane("Commands"),
              QStringLiteral("Commands: 3, Current: 1"));
    EXPECT_EQ(statusPane("Documents"),
              QStringLiteral("Documents: 1, Current: 1"));
    EXPECT_EQ(statusPane("Players"), QStringLiteral("Players: 1"));

    prompt.answers.push_back(Answer::No);
    trigger(C::FileNew);
    frame().refresh();
    EXPECT_EQ(statusPane("Commands"),
              QStringLiteral("Commands: 0, Current: 0"));
    EXPECT_EQ(statusPane("Documents"),
              QStringLiteral("Documents: 0, Current: 0"));
}

TEST_F(MainFrameTest, OperationCommandsDriveTheRunner) {
    settings.setSettingInt(QStringLiteral("AutoRun"), 0);
    ASSERT_TRUE(start({writeSequence(QStringLiteral("run.rova"), 3)}));
    SequenceSession& session = frame().session();
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
