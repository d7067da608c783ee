#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>
#include <deque>

#include "DocumentList.h"

namespace rova {
namespace {

// Opens whatever the list asks for and remembers it.
class FakeHost : public DocumentListHost {
  public:
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

    QStringList opened;
    QString openPath;
    int newDocuments = 0;
    bool opens = true;
};

class DocumentListTest : public ::testing::Test {
  protected:
    // Hands out the scripted numbers first, then a fixed pseudo-random sequence.
    std::uint32_t nextRandom() {
        if (!script.empty()) {
            const std::uint32_t value = script.front();
            script.pop_front();
            return value;
        }
        state = state * 214013u + 2531011u;
        return (state >> 16) & 0x7fff;
    }

    void open(const QStringList& paths) {
        list.beginOpen();
        for (const QString& path : paths) {
            list.addPath(path);
        }
        list.endOpen();
    }

    QStringList listed() const {
        QStringList paths;
        for (const DocumentListEntry& entry : list.entries()) {
            paths.append(entry.path);
        }
        return paths;
    }

    FakeHost host;
    AppFlags flags;
    VirtualClock clock{1000};
    std::deque<std::uint32_t> script;
    std::uint32_t state = 1;
    DocumentList list{host, flags, clock, [this] { return nextRandom(); }};
};

TEST_F(DocumentListTest, FilesOpenedTogetherAreSortedAndTheFirstOpens) {
    open({"/d/c.rova", "/d/A.rova", "/d/b.rova"});
    EXPECT_EQ(listed(), QStringList({"/d/A.rova", "/d/b.rova", "/d/c.rova"}));
    EXPECT_EQ(host.opened, QStringList({"/d/A.rova"}));
    EXPECT_TRUE(list.isCurrentFromList());
    EXPECT_EQ(list.count(), 3);
    ASSERT_NE(list.head(), nullptr);
    EXPECT_EQ(list.head()->path, "/d/A.rova");
    EXPECT_EQ(list.head()->orderKey, 0);
    EXPECT_FALSE(list.head()->singlePlay);
    EXPECT_EQ(list.head()->timeAdded, 1000u);

    list.beginOpen();
    EXPECT_FALSE(list.endOpen()) << "nothing pending";
}

TEST_F(DocumentListTest, WithoutAdditiveOpenOpeningReplacesTheList) {
    open({"/d/a.rova", "/d/b.rova", "/d/c.rova"});
    open({"/d/z.rova"});
    EXPECT_EQ(listed(), QStringList({"/d/z.rova"}));
    EXPECT_EQ(host.opened.last(), "/d/z.rova");
}

TEST_F(DocumentListTest, AdditiveOpenQueuesAfterTheMostRecentlyAddedEntry) {
    flags.set(AppFlag::AdditiveOpen, true);
    open({"/d/a.rova"});
    clock.advance(10);
    open({"/d/b.rova"});
    EXPECT_EQ(listed(), QStringList({"/d/a.rova", "/d/b.rova"}));
    EXPECT_EQ(host.opened, QStringList({"/d/a.rova"})) << "the open document stays";

    list.next(false);  // b, a: b is the newest and now at the head
    EXPECT_EQ(host.opened.last(), "/d/b.rova");
    clock.advance(10);
    list.beginOpen();
    list.addPath("/d/d.rova");
    list.addPath("/d/c.rova");
    EXPECT_FALSE(list.endOpen());
    EXPECT_EQ(listed(), QStringList({"/d/b.rova", "/d/c.rova", "/d/d.rova", "/d/a.rova"}));
    EXPECT_EQ(host.opened.size(), 2);
}

TEST_F(DocumentListTest, TheNewestEntryIsFoundAcrossTheClockWrapping) {
    flags.set(AppFlag::AdditiveOpen, true);
    clock.set(0xFFFFFFF0u);
    open({"/d/a.rova"});
    clock.advance(0x20);  // wraps to 0x10
    open({"/d/b.rova"});
    clock.advance(5);
    open({"/d/c.rova"});
    EXPECT_EQ(listed(), QStringList({"/d/a.rova", "/d/b.rova", "/d/c.rova"}));
    list.next(false);
    list.next(false);
    EXPECT_EQ(list.currentPosition(), 3) << "a, added first, is the last of c, a, b";
}

TEST_F(DocumentListTest, OpeningTheOpenFileReducesTheListAndReopensNothing) {
    // Paths name the same file when their clean absolute forms match exactly: the file system
    // tells names apart by letter case.
    const struct {
        QString path;
        bool reopens;
    } cases[] = {
        {"/d/a.rova", false},
        {"/d/x/..//./a.rova", false},
        {"/d/A.rova", true},
        {"/D/a.rova", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        host.opened.clear();
        host.openPath.clear();
        open({"/d/a.rova", "/d/b.rova"});
        ASSERT_EQ(host.opened, QStringList({"/d/a.rova"}));
        open({c.path});
        EXPECT_EQ(listed(), QStringList({c.path}));
        EXPECT_EQ(host.opened.size(), c.reopens ? 2 : 1);
        EXPECT_EQ(host.openPath, c.reopens ? c.path : QString("/d/a.rova"));
    }
}

TEST_F(DocumentListTest, EntriesAdvanceAtRunEndsAndLoop) {
    open({"/d/a.rova", "/d/b.rova", "/d/c.rova"});
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(list.next(true));
    }
    EXPECT_EQ(host.opened,
              QStringList({"/d/a.rova", "/d/b.rova", "/d/c.rova", "/d/a.rova", "/d/b.rova"}));
    EXPECT_EQ(listed(), QStringList({"/d/b.rova", "/d/c.rova", "/d/a.rova"}));
}

TEST_F(DocumentListTest, ASinglePlayEntryLeavesAfterItHasPlayed) {
    open({"/d/a.rova", "/d/b.rova", "/d/c.rova"});
    EXPECT_FALSE(list.headIsSinglePlay());
    list.toggleSinglePlay();
    EXPECT_TRUE(list.headIsSinglePlay());
    EXPECT_FALSE(list.entries().back().singlePlay) << "only the head";
    list.next(true);
    EXPECT_EQ(listed(), QStringList({"/d/b.rova", "/d/c.rova"}));
    list.next(true);
    list.next(true);
    EXPECT_EQ(host.opened, QStringList({"/d/a.rova", "/d/b.rova", "/d/c.rova", "/d/b.rova"}));

    list.toggleSinglePlay();
    list.toggleSinglePlay();
    EXPECT_FALSE(list.headIsSinglePlay()) << "toggled back";
    list.next(false);
    EXPECT_EQ(list.count(), 2);
}

TEST_F(DocumentListTest, PreviousBringsTheLastEntryToTheHead) {
    open({"/d/a.rova", "/d/b.rova", "/d/c.rova"});
    EXPECT_TRUE(list.previous());
    EXPECT_EQ(host.opened.last(), "/d/c.rova");
    EXPECT_EQ(listed(), QStringList({"/d/c.rova", "/d/a.rova", "/d/b.rova"}));
}

TEST_F(DocumentListTest, AOneEntryListStaysAtTheEndOfItsRun) {
    open({"/d/a.rova"});
    list.toggleSinglePlay();
    EXPECT_FALSE(list.next(true));
    EXPECT_EQ(listed(), QStringList({"/d/a.rova"}));
    EXPECT_EQ(host.opened.size(), 1);

    // Once another document is on screen, Next brings the entry back.
    list.setCurrentFromList(false);
    host.openPath = "/demo/Demo.rova";
    EXPECT_TRUE(list.next(false));
    EXPECT_EQ(host.opened.last(), "/d/a.rova");
    EXPECT_TRUE(list.isCurrentFromList());
}

TEST_F(DocumentListTest, NavigationIsEnabledOnlyWhenItCanOpenSomething) {
    EXPECT_FALSE(list.canNavigate()) << "empty";
    EXPECT_FALSE(list.isCurrentFromList());
    open({"/d/a.rova"});
    EXPECT_FALSE(list.canNavigate()) << "one entry, already open";
    EXPECT_TRUE(list.isCurrentFromList());
    list.setCurrentFromList(false);
    EXPECT_TRUE(list.canNavigate()) << "one entry, another document open";
    open({"/d/a.rova", "/d/b.rova"});
    EXPECT_TRUE(list.canNavigate());
}

TEST_F(DocumentListTest, RemoveOpensTheNextAndClearsTheLastEntry) {
    open({"/d/a.rova", "/d/b.rova"});
    EXPECT_TRUE(list.remove());
    EXPECT_EQ(listed(), QStringList({"/d/b.rova"}));
    EXPECT_EQ(host.opened.last(), "/d/b.rova");

    EXPECT_FALSE(list.remove());
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(host.newDocuments, 1) << "a new empty document replaces the removed one";
    EXPECT_FALSE(list.isCurrentFromList());
    EXPECT_EQ(list.currentPosition(), 0);
}

TEST_F(DocumentListTest, RemoveAllReplacesTheDocumentOnlyWhenItCameFromTheList) {
    open({"/d/a.rova", "/d/b.rova"});
    list.setCurrentFromList(false);  // as after Run Demo
    host.openPath = "/demo/Demo.rova";
    list.removeAll();
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(host.newDocuments, 0);

    open({"/d/a.rova", "/d/b.rova"});
    list.removeAll();
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(host.newDocuments, 1);
    EXPECT_FALSE(list.isCurrentFromList());
}

TEST_F(DocumentListTest, NewEmptiesTheListWithoutReplacingTheDocument) {
    open({"/d/a.rova", "/d/b.rova"});
    list.clearForNew();
    EXPECT_EQ(list.count(), 0);
    EXPECT_FALSE(list.isCurrentFromList());
    EXPECT_EQ(host.newDocuments, 0);
}

TEST_F(DocumentListTest, AnEntryThatFailsToOpenStaysInTheList) {
    host.opens = false;
    list.beginOpen();
    list.addPath("/d/broken.rova");
    EXPECT_FALSE(list.endOpen());
    EXPECT_EQ(listed(), QStringList({"/d/broken.rova"}));
    EXPECT_EQ(host.opened, QStringList({"/d/broken.rova"}));
}

TEST_F(DocumentListTest, RandomOrderInsertsAtRandomPlaces) {
    flags.set(AppFlag::RandomOrder, true);
    script = {7, 0, 4};  // a at 7 % 1, b at 0 % 2, c at 4 % 3
    open({"/d/a.rova", "/d/b.rova", "/d/c.rova"});
    EXPECT_EQ(listed(), QStringList({"/d/b.rova", "/d/c.rova", "/d/a.rova"}));
    EXPECT_TRUE(script.empty());

    flags.set(AppFlag::RandomOrder, false);
    list.reshuffle();
    EXPECT_EQ(listed(), QStringList({"/d/a.rova", "/d/b.rova", "/d/c.rova"}))
        << "without RandomOrder a reshuffle sorts";
}

TEST_F(DocumentListTest, RandomOrderReshufflesUntilAnotherEntryLeads) {
    // b is the newest entry; a and c were added together before it.
    list.beginOpen();
    list.insertPending({"/d/a.rova", 1000, 0, false});
    list.insertPending({"/d/b.rova", 1005, 0, false});
    list.insertPending({"/d/c.rova", 1000, 0, false});
    clock.set(1010);
    list.endOpen();
    flags.set(AppFlag::RandomOrder, true);

    list.next(true);  // a is not the newest: plain rotation
    EXPECT_EQ(listed(), QStringList({"/d/b.rova", "/d/c.rova", "/d/a.rova"}));
    EXPECT_TRUE(script.empty());

    // b, the newest, leads at the end of its run. The first reshuffle (b, c, a in turn at
    // 0, 1, 1) keeps b first; the second (b, a, c at 0, 0, 2) gives a, b, c.
    script = {0, 1, 1, 0, 0, 2};
    list.next(true);
    EXPECT_TRUE(script.empty()) << "reshuffled twice";
    EXPECT_EQ(listed(), QStringList({"/d/a.rova", "/d/b.rova", "/d/c.rova"}));
    EXPECT_EQ(host.opened.last(), "/d/a.rova");
}

TEST_F(DocumentListTest, RandomOrderDropsASinglePlayNewestHeadBeforeReshuffling) {
    open({"/d/a.rova", "/d/b.rova", "/d/c.rova"});  // all added at once: a counts as newest
    flags.set(AppFlag::RandomOrder, true);
    list.toggleSinglePlay();
    script = {0, 0};  // b, then c before it
    list.next(true);
    EXPECT_TRUE(script.empty());
    EXPECT_EQ(listed(), QStringList({"/d/c.rova", "/d/b.rova"}));
    EXPECT_EQ(host.opened.last(), "/d/c.rova");
}

TEST_F(DocumentListTest, CurrentPositionCountsFromTheFirstAddedEntry) {
    flags.set(AppFlag::AdditiveOpen, true);
    open({"/d/a.rova"});
    clock.advance(10);
    open({"/d/b.rova"});
    clock.advance(10);
    open({"/d/c.rova"});
    ASSERT_EQ(listed(), QStringList({"/d/a.rova", "/d/b.rova", "/d/c.rova"}));
    EXPECT_EQ(list.currentPosition(), 1);
    list.next(false);
    EXPECT_EQ(list.currentPosition(), 2);
    list.next(false);
    EXPECT_EQ(list.currentPosition(), 3);
    list.next(false);
    EXPECT_EQ(list.currentPosition(), 1);
    list.setCurrentFromList(false);
    EXPECT_EQ(list.currentPosition(), 0);
}

TEST_F(DocumentListTest, PickedUpEntriesQueueAfterTheCurrentAndUnplayedPickedUpOnes) {
    open({"/d/a.rova", "/d/b.rova", "/d/c.rova"});
    list.mergePickedUp({{"/p/x.txt", 1000, 100, true}, {"/p/y.txt", 1000, 200, true}});
    list.mergePickedUp({{"/p/z.txt", 2000, 50, true}});
    EXPECT_EQ(listed(), QStringList({"/d/a.rova", "/p/x.txt", "/p/y.txt", "/p/z.txt", "/d/b.rova",
                                     "/d/c.rova"}));
    EXPECT_EQ(host.opened.size(), 1) << "nothing opens";

    // Not from the list: the picked-up entries come first, still after unplayed ones.
    list.clearForNew();
    list.mergePickedUp({{"/p/v.txt", 3000, 300, true}});
    list.mergePickedUp({{"/p/u.txt", 3000, 400, true}});
    EXPECT_EQ(listed(), QStringList({"/p/v.txt", "/p/u.txt"}));
    open({"/d/k.rova"});
    list.setCurrentFromList(false);
    list.mergePickedUp({{"/p/t.txt", 3000, 500, true}});
    EXPECT_EQ(listed(), QStringList({"/p/t.txt", "/d/k.rova"}));
    EXPECT_EQ(host.opened.size(), 2);
}

class DocumentListDeleteTest : public DocumentListTest {
  protected:
    QString file(const QString& name) {
        const QString path = folder.filePath(name);
        QFile out(path);
        EXPECT_TRUE(out.open(QIODevice::WriteOnly));
        out.write("x");
        return path;
    }
    QTemporaryDir folder;
};

// The test process starts without a data folder, like a fresh account: the trash is made.
TEST_F(DocumentListDeleteTest, DeleteSendsTheFileToTheTrash) {
    const QString a = file("a.rova");
    const QString b = file("b.rova");
    open({a, b});
    EXPECT_TRUE(list.deleteOpenFile());
    EXPECT_FALSE(QFileInfo::exists(a));
    const QString trash =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/Trash/files/";
    EXPECT_TRUE(QFileInfo::exists(trash + "a.rova")) << trash.toStdString();
    EXPECT_EQ(listed(), QStringList({b}));
    EXPECT_EQ(host.opened.last(), b);
    EXPECT_TRUE(QFileInfo::exists(b));
}

TEST_F(DocumentListDeleteTest, DeleteRemovesTheEntryWhateverBecomesOfTheFile) {
    const QString gone = folder.filePath("gone.rova");
    const QString kept = file("kept.rova");
    open({gone, kept});
    list.deleteOpenFile();
    EXPECT_EQ(listed(), QStringList({kept}));

    // The last entry clears the list and the document.
    list.deleteOpenFile();
    EXPECT_FALSE(QFileInfo::exists(kept));
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(host.newDocuments, 1);
}

}  // namespace
}  // namespace rova
