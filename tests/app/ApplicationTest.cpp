// Start-up and the application's own commands: the demo, the command line, Auto Run, the
// playlist's File commands as the window offers them, and the pickup timer.
#include "DocumentForm.h"
#include "MainFrameText.h"
#include "PickupScan.h"
#include "ShellTestSupport.h"
#include "XSplitterStatic.h"

namespace rova::test {
namespace {

using C = ActionId;

class ApplicationTest : public ShellTest {};

TEST_F(ApplicationTest, WithoutAFileTheDemoOpensQuietlyAndRuns) {
    ASSERT_TRUE(start());
    Document& document = application->document();
    EXPECT_EQ(frame().windowTitle(), QStringLiteral("Rova - Demo.rova"));
    EXPECT_TRUE(document.isDemo());
    EXPECT_EQ(document.pathName(), QStringLiteral("DemoVariation.rova"));
    EXPECT_GT(document.commands().size(), 0u);
    EXPECT_TRUE(frame().sequenceForm().isRunning());  // Auto Run is on by default
    // Only the preview shows.
    EXPECT_FALSE(frame().isRowVisible(MainFrame::ParameterRow));
    EXPECT_FALSE(frame().isRowVisible(MainFrame::SequenceRow));
    EXPECT_TRUE(prompt.messages.isEmpty());
    // The demo is no list entry.
    EXPECT_EQ(application->documentList().count(), 0);
    // Edits never make the demo modified, so closing asks nothing.
    document.setModifiedFlag(true);
    EXPECT_FALSE(document.isModified());
}

TEST_F(ApplicationTest, TheDemoRunsFromTheTopEvenWithoutAutoRun) {
    settings.setSettingString(QStringLiteral("AutoRun"), QStringLiteral("0"));
    ASSERT_TRUE(start());
    EXPECT_TRUE(frame().sequenceForm().isRunning());
    EXPECT_FALSE(checked(C::AutoRun));
}

TEST_F(ApplicationTest, ANamedFileOpensInsteadOfTheDemo) {
    ASSERT_TRUE(start({writeSequence(QStringLiteral("named.rova"), 2)}));
    EXPECT_EQ(frame().windowTitle(), QStringLiteral("Rova - named.rova"));
    EXPECT_FALSE(application->document().isDemo());
    EXPECT_TRUE(frame().sequenceForm().isRunning());
    EXPECT_EQ(application->documentList().count(), 1);
    EXPECT_TRUE(application->documentList().isCurrentFromList());
}

TEST_F(ApplicationTest, SeveralNamedFilesAreQueuedTogether) {
    ASSERT_TRUE(start({writeSequence(QStringLiteral("one.rova"), 1),
                       writeSequence(QStringLiteral("two.rova"), 1)}));
    EXPECT_EQ(application->documentList().count(), 2);
    EXPECT_EQ(frame().windowTitle(), QStringLiteral("Rova - one.rova"));
}

TEST_F(ApplicationTest, ATextFileNamedAtStartUpOpensAsOneCommand) {
    const QString notes = folder.path(QStringLiteral("notes.txt"));
    writeBytes(notes, "  a\r\nb\n");
    ASSERT_TRUE(start({notes}));
    EXPECT_EQ(frame().windowTitle(), QStringLiteral("Rova - notes.txt"));
    ASSERT_EQ(application->document().commands().size(), 1u);
    EXPECT_FALSE(application->document().isModified());
    EXPECT_TRUE(frame().sequenceForm().isRunning());
}

TEST_F(ApplicationTest, AMissingDemoIsSilentAtStartUpButReportedFromTheMenu) {
    QFile::remove(folder.path(QStringLiteral("Demo.rova")));
    ASSERT_TRUE(start());
    EXPECT_EQ(frame().windowTitle(), QStringLiteral("Rova - Untitled"));
    EXPECT_TRUE(prompt.messages.isEmpty());
    trigger(C::RunDemo);
    ASSERT_EQ(prompt.messages.size(), 1);
    EXPECT_EQ(prompt.messages[0],
              MainFrameText::demoMissing(folder.path(QStringLiteral("Demo.rova"))));
}

TEST_F(ApplicationTest, AFileThatCannotBeOpenedEndsTheStart) {
    EXPECT_FALSE(start({folder.path(QStringLiteral("absent.rova"))}));
    EXPECT_EQ(prompt.messages.size(), 1);
}

TEST_F(ApplicationTest, TogglesAreWrittenAsMinusOneAndZero) {
    ASSERT_TRUE(start());
    trigger(C::FileAdditiveOpen);
    EXPECT_EQ(settings.setting(QStringLiteral("AdditiveOpen")), QStringLiteral("-1"));
    EXPECT_TRUE(checked(C::FileAdditiveOpen));
    trigger(C::FileAdditiveOpen);
    EXPECT_EQ(settings.setting(QStringLiteral("AdditiveOpen")), QStringLiteral("0"));
    trigger(C::AutoRun);
    EXPECT_EQ(settings.setting(QStringLiteral("AutoRun")), QStringLiteral("0"));
    trigger(C::FileRandomOrder);
    EXPECT_EQ(settings.setting(QStringLiteral("RandomOrder")), QStringLiteral("-1"));
}

TEST_F(ApplicationTest, PickupNeedsAFolderAndRunsTheTimer) {
    ASSERT_TRUE(start());
    EXPECT_FALSE(enabled(C::FilePickup));
    application->setPickupFolder(folder.path(QStringLiteral("in/")));
    EXPECT_EQ(settings.setting(QStringLiteral("Pickup Folder")),
              folder.path(QStringLiteral("in/")));
    EXPECT_TRUE(enabled(C::FilePickup));
    trigger(C::FilePickup);
    EXPECT_TRUE(frame().isPickupTimerActive());
    EXPECT_EQ(settings.setting(QStringLiteral("Pickup")), QStringLiteral("-1"));
    trigger(C::FilePickup);
    EXPECT_FALSE(frame().isPickupTimerActive());
}

TEST_F(ApplicationTest, PickupRestoredFromTheSettingsStartsTheTimer) {
    settings.setSettingInt(QStringLiteral("Pickup"), -1);
    settings.setSettingString(QStringLiteral("Pickup Folder"), folder.path(QStringLiteral("in/")));
    ASSERT_TRUE(start());
    EXPECT_TRUE(frame().isPickupTimerActive());
    EXPECT_TRUE(checked(C::FilePickup));
}

TEST_F(ApplicationTest, PickedUpFilesQueueAndPlayWhenTheListAdvances) {
    ASSERT_TRUE(start({writeSequence(QStringLiteral("first.rova"), 1)}));
    QDir().mkpath(folder.path(QStringLiteral("in")));
    const QString dropped = folder.path(QStringLiteral("in/dropped.rova"));
    QFile::copy(writeSequence(QStringLiteral("source.rova"), 1), dropped);
    application->setPickupFolder(folder.path(QStringLiteral("in/")));
    // A file must keep its size for one scan before it is taken.
    for (int tick = 0; tick < 3 && QFile::exists(dropped); ++tick) {
        application->scanPickupFolder();
    }
    EXPECT_FALSE(QFile::exists(dropped));
    const QString target = folder.path(QStringLiteral("PickedUp/dropped.rova"));
    EXPECT_TRUE(QFile::exists(target));
    EXPECT_EQ(application->documentList().count(), 2);
    // Nothing opened yet; Next brings it on.
    EXPECT_EQ(frame().windowTitle(), QStringLiteral("Rova - first.rova"));
    trigger(C::FileNext);
    EXPECT_EQ(frame().windowTitle(), QStringLiteral("Rova - dropped.rova"));
    EXPECT_TRUE(checked(C::FileSinglePlay));
}

TEST_F(ApplicationTest, TheEndOfARunOpensTheNextDocument) {
    const QString a = writeSequence(QStringLiteral("a.rova"), 1);
    const QString b = writeSequence(QStringLiteral("b.rova"), 1);
    ASSERT_TRUE(start({a}));
    trigger(C::FileAdditiveOpen);
    EXPECT_FALSE(application->openByPath(b));  // queued behind the playing list
    EXPECT_EQ(application->documentList().count(), 2);
    trigger(C::FileAdditiveOpen);
    // The running sequence ends: its runner reports it and the list moves on.
    frame().sequenceForm().stop();
    emit frame().sequenceForm().ended();
    QCoreApplication::processEvents();
    EXPECT_EQ(frame().windowTitle(), QStringLiteral("Rova - b.rova"));
    EXPECT_TRUE(frame().sequenceForm().isRunning());
}

// Chosen in the Open dialog together, names with "|" among them.
TEST_F(ApplicationTest, FilesOpenedTogetherPlayInSortedOrder) {
    const QString c = writeSequence(QStringLiteral("c.rova"), 1);
    const QString a = writeSequence(QStringLiteral("a|x.rova"), 1);
    const QString b = writeSequence(QStringLiteral("b.rova"), 1);
    ASSERT_TRUE(start());
    dialog.choices = {FilePrompt::DialogResult{{c, a, b}, 0}};
    trigger(C::FileOpen);
    EXPECT_EQ(frame().windowTitle(), QStringLiteral("Rova - a|x.rova"));
    QStringList order;
    for (const DocumentListEntry& entry : application->documentList().entries()) {
        order.append(QFileInfo(entry.path).fileName());
    }
    EXPECT_EQ(order, QStringList({"a|x.rova", "b.rova", "c.rova"}));
    trigger(C::FilePrevious);
    EXPECT_EQ(frame().windowTitle(), QStringLiteral("Rova - c.rova"));
}

TEST_F(ApplicationTest, SaveAsLetsTheDialogAddTheExtensionBeforeItAsksAboutOverwriting) {
    ASSERT_TRUE(start({writeSequence(QStringLiteral("named.rova"), 1)}));
    const QString song = folder.path(QStringLiteral("song.rova"));
    dialog.choices = {FilePrompt::DialogResult{{song}, 0}};
    trigger(C::FileSaveAs);
    ASSERT_EQ(dialog.requests.size(), 1u);
    EXPECT_EQ(dialog.requests[0].mode, FilePrompt::Mode::Save);
    EXPECT_EQ(dialog.requests[0].defaultSuffix, QStringLiteral("rova"));
    EXPECT_EQ(application->document().pathName(), song);
    EXPECT_TRUE(QFileInfo(song).isFile());
}

TEST_F(ApplicationTest, RemovingTheOnlyEntryLeavesANewDocument) {
    ASSERT_TRUE(start({writeSequence(QStringLiteral("only.rova"), 2)}));
    EXPECT_TRUE(enabled(C::FileRemove));
    EXPECT_FALSE(enabled(C::FileNext));  // its one entry is already open
    trigger(C::FileRemove);
    EXPECT_EQ(frame().windowTitle(), QStringLiteral("Rova - Untitled"));
    EXPECT_EQ(application->document().commands().size(), 0u);
    EXPECT_EQ(application->documentList().count(), 0);
    EXPECT_FALSE(enabled(C::FileRemove));
}

}  // namespace
}  // namespace rova::test
