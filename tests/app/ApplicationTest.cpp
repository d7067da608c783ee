// Start-up, the playlist's File commands as the window offers them, the switches and pickup.
#include "DocumentForm.h"
#include "MainFrameText.h"
#include "ShellTestSupport.h"

namespace rova::test {
namespace {

using C = ActionId;

class ApplicationTest : public ShellTest {
  protected:
    QString recentFile() const {
        return settings.readString("Recent File List", "File1").value_or(QString());
    }
};

// The demo runs from the top even when Auto Run is off.
TEST_F(ApplicationTest, WithoutAFileTheDemoOpensQuietlyAndRuns) {
    for (const bool autoRun : {true, false}) {
        SCOPED_TRACE(autoRun);
        if (!autoRun) {
            settings.setSettingString("AutoRun", "0");
        }
        ASSERT_TRUE(start());
        Document& document = application->document();
        EXPECT_EQ(frame().windowTitle(), "Rova - Demo.rova");
        EXPECT_TRUE(document.isDemo());
        EXPECT_TRUE(frame().sequenceForm().isRunning());
        EXPECT_EQ(checked(C::AutoRun), autoRun);
        EXPECT_FALSE(frame().isRowVisible(MainFrame::ParameterRow)) << "only the preview shows";
        EXPECT_FALSE(frame().isRowVisible(MainFrame::SequenceRow));
        EXPECT_TRUE(prompt.messages.isEmpty());
        EXPECT_EQ(application->documentList().count(), 0) << "the demo is no list entry";
    }
}

// The first file opens and runs; it is the newest recent file. A text file is one command.
TEST_F(ApplicationTest, FilesNamedAtStartUpOpenInsteadOfTheDemo) {
    writeBytes(folder.path("notes.txt"), "  a\r\nb\n");
    const struct {
        QStringList files;
        std::size_t commands;
    } cases[] = {
        {{writeSequence("one.rova", 3), writeSequence("two.rova", 1)}, 3},
        {{folder.path("notes.txt")}, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.files.join(u' ').toStdString());
        ASSERT_TRUE(start(c.files));
        EXPECT_EQ(frame().windowTitle(), "Rova - " + QFileInfo(c.files[0]).fileName());
        EXPECT_EQ(application->document().commands().size(), c.commands);
        EXPECT_TRUE(frame().sequenceForm().isRunning());
        EXPECT_EQ(application->documentList().count(), c.files.size());
        EXPECT_EQ(recentFile(), c.files[0]);
    }
}

TEST_F(ApplicationTest, AMissingDemoIsSilentAtStartUpButReportedFromTheMenu) {
    QFile::remove(folder.path("Demo.rova"));
    ASSERT_TRUE(start());
    EXPECT_EQ(frame().windowTitle(), "Rova - Untitled");
    trigger(C::RunDemo);
    EXPECT_EQ(prompt.messages, QStringList({MainFrameText::demoMissing(folder.path("Demo.rova"))}));
}

TEST_F(ApplicationTest, AFileThatCannotBeOpenedEndsTheStartAndLeavesTheRecentFiles) {
    const QString absent = folder.path("absent.rova");
    settings.writeString("Recent File List", "File1", absent);
    EXPECT_FALSE(start({absent}));
    EXPECT_EQ(prompt.messages.size(), 1);
    EXPECT_EQ(recentFile(), "");
}

// Stored as -1 and 0, read back as on for any number but 0 and as their defaults when empty or
// malformed. Pickup needs a folder, and its timer runs while it is on.
TEST_F(ApplicationTest, SwitchesAreStoredAndTheNextStartRestoresThem) {
    ASSERT_TRUE(start());
    EXPECT_FALSE(enabled(C::FilePickup));
    application->setPickupFolder(folder.path("in/"));
    EXPECT_EQ(settings.setting("Pickup Folder"), folder.path("in/"));
    for (const C id : {C::FilePickup, C::FileAdditiveOpen, C::FileRandomOrder, C::AutoRun}) {
        trigger(id);
    }
    EXPECT_TRUE(frame().isPickupTimerActive());
    EXPECT_EQ(QStringList({settings.setting("Pickup"), settings.setting("AdditiveOpen"),
                           settings.setting("RandomOrder"), settings.setting("AutoRun")}),
              QStringList({"-1", "-1", "-1", "0"}));
    settings.setSettingString("AdditiveOpen", "7");
    settings.setSettingString("RandomOrder", "");
    ASSERT_TRUE(start());
    EXPECT_TRUE(frame().isPickupTimerActive());
    EXPECT_EQ(QList<bool>({checked(C::FilePickup), checked(C::FileAdditiveOpen),
                           checked(C::FileRandomOrder), checked(C::AutoRun)}),
              QList<bool>({true, true, false, false}));
    trigger(C::FilePickup);
    EXPECT_FALSE(frame().isPickupTimerActive());
    settings.setSettingString("AutoRun", "abc");
    ASSERT_TRUE(start());
    EXPECT_TRUE(checked(C::AutoRun));
}

TEST_F(ApplicationTest, PickedUpFilesQueueAndPlayWhenTheListAdvances) {
    ASSERT_TRUE(start({writeSequence("first.rova", 1)}));
    QDir().mkpath(folder.path("in"));
    const QString dropped = folder.path("in/dropped.rova");
    QFile::copy(writeSequence("source.rova", 1), dropped);
    application->setPickupFolder(folder.path("in/"));
    // A file must keep its size for one scan before it is taken.
    for (int tick = 0; tick < 3 && QFile::exists(dropped); ++tick) {
        application->scanPickupFolder();
    }
    EXPECT_TRUE(QFile::exists(folder.path("PickedUp/dropped.rova")));
    EXPECT_EQ(listed(), QStringList({"first.rova", "dropped.rova"}));
    EXPECT_EQ(frame().windowTitle(), "Rova - first.rova") << "nothing opened yet";
    trigger(C::FileNext);
    EXPECT_EQ(frame().windowTitle(), "Rova - dropped.rova");
    EXPECT_TRUE(checked(C::FileSinglePlay));
}

TEST_F(ApplicationTest, TheEndOfARunOpensTheNextDocument) {
    ASSERT_TRUE(start({writeSequence("a.rova", 1)}));
    trigger(C::FileAdditiveOpen);
    EXPECT_FALSE(application->openByPath(writeSequence("b.rova", 1)));  // queued behind a
    EXPECT_EQ(listed(), QStringList({"a.rova", "b.rova"}));
    // The running sequence ends: its runner reports it and the list moves on.
    frame().sequenceForm().stop();
    emit frame().sequenceEnded();
    QCoreApplication::processEvents();
    EXPECT_EQ(frame().windowTitle(), "Rova - b.rova");
    EXPECT_TRUE(frame().sequenceForm().isRunning());
}

// Chosen in the Open dialog together, names with "|" among them.
TEST_F(ApplicationTest, FilesOpenedTogetherPlayInSortedOrderUntilRemoved) {
    ASSERT_TRUE(start());
    dialog.choices = {FilePrompt::DialogResult{
        {writeSequence("c.rova", 1), writeSequence("a|x.rova", 1), writeSequence("b.rova", 2)}, 0}};
    trigger(C::FileOpen);
    EXPECT_EQ(frame().windowTitle(), "Rova - a|x.rova");
    EXPECT_EQ(listed(), QStringList({"a|x.rova", "b.rova", "c.rova"}));
    trigger(C::FilePrevious);
    EXPECT_EQ(frame().windowTitle(), "Rova - c.rova");
    trigger(C::FileRemove);
    trigger(C::FileRemove);
    EXPECT_EQ(frame().windowTitle(), "Rova - b.rova");
    EXPECT_FALSE(enabled(C::FileNext)) << "its one entry is already open";
    trigger(C::FileRemove);
    EXPECT_EQ(frame().windowTitle(), "Rova - Untitled");
    EXPECT_EQ(application->document().commands().size(), 0u);
    EXPECT_FALSE(enabled(C::FileRemove));
}

}  // namespace
}  // namespace rova::test
