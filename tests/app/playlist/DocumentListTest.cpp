#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>
#include <deque>

#include "DocumentList.h"

namespace rova {
namespace {

// The list's paths in order, and every path the host was asked to open.
using State = std::pair<QStringList, QStringList>;

// The list's host opens whatever the list asks for and remembers it.
class DocumentListTest : public ::testing::Test, public DocumentListHost {
  protected:
    bool openFromList(const QString& path) override {
        opened.append(path);
        openPath = path;
        return opens;
    }
    QString openDocumentPath() const override { return openPath; }
    void newDocumentFromList() override {
        ++newDocuments;
        openPath.clear();
    }
    // Hands out the scripted numbers, then zeros.
    std::uint32_t nextRandom() {
        const std::uint32_t value = script.empty() ? 0 : script.front();
        if (!script.empty()) {
            script.pop_front();
        }
        return value;
    }
    bool open(const QStringList& paths) {
        list.beginOpen();
        for (const QString& path : paths) {
            list.addPath(path);
        }
        return list.endOpen();
    }
    State state() const { return {listed(), opened}; }
    QStringList listed() const {
        QStringList paths;
        for (const DocumentListEntry& entry : list.entries()) {
            paths.append(entry.path);
        }
        return paths;
    }

    QStringList opened;
    QString openPath;
    int newDocuments = 0;
    bool opens = true;
    AppFlags flags;
    VirtualClock clock{1000};
    std::deque<std::uint32_t> script;
    DocumentList list{*this, flags, clock, [this] { return nextRandom(); }};
};

TEST_F(DocumentListTest, FilesOpenedTogetherReplaceTheListSortedIgnoringCaseAndTheFirstOpens) {
    EXPECT_TRUE(open({"/c", "/A", "/b"}));
    EXPECT_EQ(state(), State({"/A", "/b", "/c"}, {"/A"}));
    EXPECT_TRUE(list.isCurrentFromList());
    open({"/z"});
    EXPECT_EQ(state(), State({"/z"}, {"/A", "/z"})) << "without Additive Open the list is replaced";
    EXPECT_FALSE(open({})) << "nothing pending";
    opens = false;
    EXPECT_FALSE(open({"/broken"}));
    EXPECT_EQ(listed(), QStringList({"/broken"})) << "an entry that fails to open stays";
}

TEST_F(DocumentListTest, AdditiveOpenQueuesAfterTheMostRecentlyAddedEntry) {
    flags.set(AppFlag::AdditiveOpen, true);
    open({"/a"});
    clock.advance(10);
    EXPECT_FALSE(open({"/b"}));
    EXPECT_EQ(state(), State({"/a", "/b"}, {"/a"})) << "the open document stays";
    list.next(false);  // b, a: b is the newest and now at the head
    clock.advance(10);
    EXPECT_FALSE(open({"/d", "/c"}));
    EXPECT_EQ(state(), State({"/b", "/c", "/d", "/a"}, {"/a", "/b"}));
}

// Ages are measured back from now, so the newest and the first added entry are found even when
// the millisecond clock wraps between the additions.
TEST_F(DocumentListTest, CurrentPositionCountsFromTheFirstAddedEntryAcrossTheClockWrap) {
    for (const std::uint32_t start : {1000u, 0xFFFFFFF0u}) {
        SCOPED_TRACE(start);
        clock.set(start);
        openPath.clear();
        flags.set(AppFlag::AdditiveOpen, false);
        open({"/a"});
        flags.set(AppFlag::AdditiveOpen, true);
        clock.advance(0x20);
        open({"/b"});
        clock.advance(0x20);
        open({"/c"});
        ASSERT_EQ(listed(), QStringList({"/a", "/b", "/c"}));
        for (const int position : {1, 2, 3, 1}) {
            EXPECT_EQ(list.currentPosition(), position);
            list.next(false);
        }
        list.setCurrentFromList(false);
        EXPECT_EQ(list.currentPosition(), 0);
    }
}

// Paths name the same file when their clean absolute forms match exactly: the file system tells
// names apart by letter case.
TEST_F(DocumentListTest, OpeningTheOpenFileReducesTheListAndReopensNothing) {
    const std::pair<QString, bool> cases[] = {
        {"/d/a", false}, {"/d/x/..//./a", false}, {"/d/A", true}, {"/D/a", true}};
    for (const auto& [path, reopens] : cases) {
        SCOPED_TRACE(path.toStdString());
        opened.clear();
        openPath.clear();
        open({"/d/a", "/d/b"});
        open({path});
        EXPECT_EQ(listed(), QStringList({path}));
        EXPECT_EQ(opened.size(), reopens ? 2 : 1);
        EXPECT_EQ(openPath, reopens ? path : "/d/a");
    }
}

// A single-play entry, only ever the head, leaves after it has played.
TEST_F(DocumentListTest, NextLoopsPreviousBringsTheLastToTheHeadSinglePlayLeavesPickedUpQueue) {
    open({"/a", "/b", "/c"});
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(list.next(true));
    }
    EXPECT_EQ(state(), State({"/b", "/c", "/a"}, {"/a", "/b", "/c", "/a", "/b"}));
    EXPECT_TRUE(list.previous());
    EXPECT_EQ(state(), State({"/a", "/b", "/c"}, {"/a", "/b", "/c", "/a", "/b", "/a"}));
    EXPECT_FALSE(list.headIsSinglePlay());
    list.toggleSinglePlay();
    EXPECT_TRUE(list.headIsSinglePlay());
    EXPECT_FALSE(list.entries().back().singlePlay);
    list.next(true);
    EXPECT_EQ(listed(), QStringList({"/b", "/c"}));
    EXPECT_EQ(opened.last(), "/b");
    // Picked-up entries queue after the current one and after unplayed picked-up ones.
    list.mergePickedUp({{"/p/x", 1000, 100, true}, {"/p/y", 1000, 200, true}});
    list.mergePickedUp({{"/p/z", 2000, 50, true}});
    EXPECT_EQ(listed(), QStringList({"/b", "/p/x", "/p/y", "/p/z", "/c"}));
    EXPECT_EQ(opened.size(), 7) << "nothing opens";
}

// A one-entry list stays at the end of its run. Removing the last entry clears the list; clearing
// it replaces the document only when it came from the list, and New never does.
TEST_F(DocumentListTest, OneEntryNavigatesOnlyToComeBackRemoveOpensTheNextClearingSparesOthers) {
    EXPECT_FALSE(list.canNavigate()) << "empty";
    open({"/a"});
    list.toggleSinglePlay();
    EXPECT_FALSE(list.canNavigate()) << "one entry, already open";
    EXPECT_FALSE(list.next(true));
    EXPECT_EQ(state(), State({"/a"}, {"/a"}));
    // Once another document is on screen, Next brings the entry back.
    list.setCurrentFromList(false);
    openPath = "/demo/Demo.rova";
    EXPECT_TRUE(list.canNavigate());
    EXPECT_TRUE(list.next(false));
    EXPECT_EQ(opened.last(), "/a");
    EXPECT_TRUE(list.isCurrentFromList());
    open({"/a", "/b"});
    EXPECT_TRUE(list.remove());
    EXPECT_EQ(state(), State({"/b"}, {"/a", "/a", "/b"}));
    EXPECT_FALSE(list.remove());
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(newDocuments, 1);
    EXPECT_FALSE(list.isCurrentFromList());
    open({"/a", "/b"});
    list.setCurrentFromList(false);  // as after Run Demo
    list.removeAll();
    EXPECT_EQ(list.count(), 0);
    open({"/a", "/b"});
    list.setCurrentFromList(true);
    list.clearForNew();
    EXPECT_EQ(list.count(), 0);
    EXPECT_FALSE(list.isCurrentFromList());
    EXPECT_EQ(newDocuments, 1);
}

// Without Random Order a reshuffle sorts. With it, a single-play head that is the newest entry
// (all were added at once) leaves before the reshuffle, and the newest leading entry is reshuffled.
TEST_F(DocumentListTest, RandomOrderInsertsAtRandomAndReshufflesUntilNoNewestEntryLeads) {
    flags.set(AppFlag::RandomOrder, true);
    script = {7, 0, 4};  // a at 7 % 1, b at 0 % 2, c at 4 % 3
    open({"/a", "/b", "/c"});
    EXPECT_EQ(listed(), QStringList({"/b", "/c", "/a"}));
    EXPECT_TRUE(script.empty());
    flags.set(AppFlag::RandomOrder, false);
    list.reshuffle();
    EXPECT_EQ(listed(), QStringList({"/a", "/b", "/c"}));
    flags.set(AppFlag::RandomOrder, true);
    list.toggleSinglePlay();
    script = {0, 0};  // b, then c before it
    list.next(true);
    EXPECT_TRUE(script.empty());
    EXPECT_EQ(state(), State({"/c", "/b"}, {"/b", "/c"}));
    // A reshuffle goes on until another entry leads. Here b is the newest entry; a and c were
    // added together before it.
    flags.set(AppFlag::RandomOrder, false);
    list.beginOpen();
    list.insertPending({"/a", 1000, 0, false});
    list.insertPending({"/b", 1005, 0, false});
    list.insertPending({"/c", 1000, 0, false});
    clock.set(1010);
    list.endOpen();
    flags.set(AppFlag::RandomOrder, true);
    list.next(true);  // a is not the newest: plain rotation
    EXPECT_EQ(listed(), QStringList({"/b", "/c", "/a"}));
    EXPECT_TRUE(script.empty());
    // b, the newest, leads at the end of its run. The first reshuffle (b, c, a in turn at
    // 0, 1, 1) keeps b first; the second (b, a, c at 0, 0, 2) gives a, b, c.
    script = {0, 1, 1, 0, 0, 2};
    list.next(true);
    EXPECT_TRUE(script.empty()) << "reshuffled twice";
    EXPECT_EQ(state(), State({"/a", "/b", "/c"}, {"/b", "/c", "/a", "/b", "/a"}));
}

// Picked-up entries for a document not from the list come first, still after unplayed ones.
TEST_F(DocumentListTest, PickedUpEntriesForADocumentNotFromTheListLead) {
    list.mergePickedUp({{"/p/v", 3000, 300, true}});
    list.mergePickedUp({{"/p/u", 3000, 400, true}});
    EXPECT_EQ(listed(), QStringList({"/p/v", "/p/u"}));
    open({"/k"});
    list.setCurrentFromList(false);
    list.mergePickedUp({{"/p/t", 3000, 500, true}});
    EXPECT_EQ(state(), State({"/p/t", "/k"}, {"/k"}));
}

// The test process starts without a data folder, like a fresh account: the trash is made. A file
// already gone still loses its entry, and the last entry clears the list and the document.
TEST_F(DocumentListTest, DeleteSendsTheFileToTheTrashAndRemovesTheEntry) {
    QTemporaryDir folder;
    const QString a = folder.filePath("a.rova");
    const QString b = folder.filePath("b.rova");
    ASSERT_TRUE(QFile(a).open(QIODevice::WriteOnly) && QFile(b).open(QIODevice::WriteOnly));
    open({a, b, folder.filePath("gone.rova")});
    EXPECT_TRUE(list.deleteOpenFile());
    EXPECT_FALSE(QFileInfo::exists(a));
    EXPECT_TRUE(
        QFileInfo::exists(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                          "/Trash/files/a.rova"));
    EXPECT_EQ(opened.last(), b);
    EXPECT_TRUE(QFileInfo::exists(b));
    list.next(false);
    list.deleteOpenFile();
    EXPECT_EQ(listed(), QStringList({b}));
    list.deleteOpenFile();
    EXPECT_FALSE(QFileInfo::exists(b));
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(newDocuments, 1);
}

}  // namespace
}  // namespace rova
