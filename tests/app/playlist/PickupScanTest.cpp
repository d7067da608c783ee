#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>
#include <set>

#include "PickupScan.h"

namespace rova {
namespace {

constexpr qint64 kBaseTime = 1'600'000'000;  // seconds since 1970

class PickupScanTest : public ::testing::Test {
  protected:
    PickupScanTest() { EXPECT_TRUE(QDir(root.path()).mkdir("in")); }

    QString in(const QString& name) const { return root.filePath("in/" + name); }
    QString out(const QString& name) const { return root.filePath("data/Rova/PickedUp/" + name); }

    static void write(const QString& path, const QByteArray& bytes, qint64 modified = kBaseTime) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Append)) << path.toStdString();
        ASSERT_EQ(file.write(bytes), bytes.size());
        ASSERT_TRUE(file.flush());
        ASSERT_TRUE(file.setFileTime(QDateTime::fromSecsSinceEpoch(modified),
                                     QFileDevice::FileModificationTime));
    }
    static QByteArray read(const QString& path) {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        return file.readAll();
    }
    static QStringList pathsOf(const std::vector<DocumentListEntry>& entries) {
        QStringList paths;
        for (const DocumentListEntry& entry : entries) {
            paths.append(entry.path);
        }
        return paths;
    }
    // The files left in the pickup folder, hidden ones too.
    QStringList waiting() const {
        return QDir(root.filePath("in"))
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                       QDir::Name);
    }
    // Two ticks: the first sees the files, the second takes those that stayed the same.
    std::vector<DocumentListEntry> settleAndScan(std::uint32_t now = 500) {
        EXPECT_TRUE(scanner.scan(now - 1).empty());
        return scanner.scan(now);
    }

    QTemporaryDir root;
    PickupScan scanner{root.filePath("in/"), root.filePath("data/Rova/PickedUp")};
};

TEST_F(PickupScanTest, ASettledDocumentMovesAndBecomesASinglePlayEntry) {
    write(in("x.txt"), "hello", kBaseTime + 7);
    EXPECT_TRUE(scanner.scan(100).empty()) << "first seen: waits a tick";
    EXPECT_TRUE(QFileInfo::exists(in("x.txt")));

    const std::vector<DocumentListEntry> entries = scanner.scan(1100);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].path, out("x.txt"));
    EXPECT_EQ(entries[0].timeAdded, 1100u);
    EXPECT_EQ(entries[0].orderKey, kBaseTime + 7);
    EXPECT_TRUE(entries[0].singlePlay);
    EXPECT_FALSE(QFileInfo::exists(in("x.txt")));
    EXPECT_EQ(read(out("x.txt")), "hello") << "the picked-up folder was made with its parents";
    EXPECT_TRUE(scanner.scan(2100).empty());
}

TEST_F(PickupScanTest, ATakenNameGetsTheNextFreeNumber) {
    ASSERT_TRUE(QDir(root.path()).mkpath("data/Rova/PickedUp"));
    write(out("x.txt"), "first");
    write(out("x.1.txt"), "second");
    write(in("x.txt"), "third");
    write(in("Y.RTF"), "rich", kBaseTime + 1);
    EXPECT_EQ(pathsOf(settleAndScan()), QStringList({out("x.2.txt"), out("Y.RTF")}));
    EXPECT_EQ(read(out("x.txt")), "first");
    EXPECT_EQ(read(out("x.1.txt")), "second");
    EXPECT_EQ(read(out("x.2.txt")), "third");
}

TEST_F(PickupScanTest, NumberingGoesOnPastNinetyNineWithoutOverwriting) {
    ASSERT_TRUE(QDir(root.path()).mkpath("data/Rova/PickedUp"));
    write(out("name.rova"), "0");
    for (int n = 1; n <= 99; ++n) {
        write(out(QString("name.%1.rova").arg(n)), QByteArray::number(n));
    }
    write(in("name.rova"), "new");
    EXPECT_EQ(pathsOf(settleAndScan()), QStringList({out("name.100.rova")}));
    EXPECT_EQ(read(out("name.100.rova")), "new");
    EXPECT_EQ(read(out("name.rova")), "0");
    for (int n = 1; n <= 99; ++n) {
        EXPECT_EQ(read(out(QString("name.%1.rova").arg(n))), QByteArray::number(n)) << n;
    }
}

TEST_F(PickupScanTest, OnlyPlainVisibleWritableDocumentsAreTaken) {
    write(in(".hidden.rova"), "h");
    ASSERT_TRUE(QDir(root.filePath("in")).mkdir("folder.rova"));
    write(in("picture.bmp"), "b");
    write(in("noextension"), "n");
    write(in("readonly.txt"), "r");
    ASSERT_TRUE(QFile::setPermissions(in("readonly.txt"), QFileDevice::ReadOwner));
    write(root.filePath("outside.txt"), "o");
    ASSERT_TRUE(QFile::link(root.filePath("outside.txt"), in("link.txt")));
    ASSERT_EQ(::mkfifo(QFile::encodeName(in("pipe.txt")).constData(), 0644), 0);
    write(in("taken.Rova"), "t");

    EXPECT_EQ(pathsOf(settleAndScan()), QStringList({out("taken.Rova")}));
    EXPECT_TRUE(scanner.scan(600).empty());
    EXPECT_EQ(waiting(), QStringList({".hidden.rova", "folder.rova", "link.txt", "noextension",
                                      "picture.bmp", "pipe.txt", "readonly.txt"}));
    EXPECT_EQ(read(root.filePath("outside.txt")), "o");
}

TEST_F(PickupScanTest, AFileStillBeingWrittenWaits) {
    write(in("growing.txt"), "chunk 1");
    EXPECT_TRUE(scanner.scan(100).empty());
    write(in("growing.txt"), ", chunk 2");
    EXPECT_TRUE(scanner.scan(200).empty()) << "the size changed";
    write(in("growing.txt"), "", kBaseTime + 60);
    EXPECT_TRUE(scanner.scan(300).empty()) << "the modification time changed";
    EXPECT_EQ(scanner.scan(400).size(), 1u);
    EXPECT_EQ(read(out("growing.txt")), "chunk 1, chunk 2");
}

TEST_F(PickupScanTest, AFileThatLeftIsForgotten) {
    write(in("x.txt"), "x");
    EXPECT_TRUE(scanner.scan(100).empty());
    ASSERT_TRUE(QFile::rename(in("x.txt"), root.filePath("x.txt")));
    EXPECT_TRUE(scanner.scan(200).empty());
    ASSERT_TRUE(QFile::rename(root.filePath("x.txt"), in("x.txt")));
    EXPECT_TRUE(scanner.scan(300).empty()) << "back with the same size and time: first seen again";
    EXPECT_EQ(scanner.scan(400).size(), 1u);
}

TEST_F(PickupScanTest, EntriesComeOldestFirst) {
    write(in("a.txt"), "a", kBaseTime + 30);
    write(in("b.rova"), "b", kBaseTime + 10);
    write(in("c.rtf"), "c", kBaseTime + 20);
    const std::vector<DocumentListEntry> entries = settleAndScan();
    EXPECT_EQ(pathsOf(entries), QStringList({out("b.rova"), out("c.rtf"), out("a.txt")}));
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].orderKey, kBaseTime + 10);
    EXPECT_EQ(entries[2].orderKey, kBaseTime + 30);
}

TEST_F(PickupScanTest, AFileThatCannotMoveStaysAndEndsTheTick) {
    // The target of the long name needs a number, which makes the name too long for the file
    // system: that move fails.
    const QString longName = QString(250, u'n') + ".txt";
    ASSERT_TRUE(QDir(root.path()).mkpath("data/Rova/PickedUp"));
    write(out(longName), "earlier");
    write(in("old.txt"), "old", kBaseTime + 1);
    write(in(longName), "stuck", kBaseTime + 2);
    write(in("young.txt"), "young", kBaseTime + 3);

    EXPECT_EQ(pathsOf(settleAndScan()), QStringList({out("old.txt")}));
    EXPECT_EQ(waiting(), QStringList({longName, "young.txt"}));
    EXPECT_EQ(read(in(longName)), "stuck");
    EXPECT_EQ(read(out(longName)), "earlier");
}

TEST_F(PickupScanTest, ThousandsOfFilesAreTakenInBoundedTicks) {
    constexpr int kFiles = 2000;
    for (int i = 0; i < kFiles; ++i) {
        // Names in one order, times in another, so the oldest-first choice shows.
        write(in(QString("f%1.txt").arg(i, 4, 10, QChar(u'0'))), "x", kBaseTime + (i * 7) % kFiles);
    }
    EXPECT_TRUE(scanner.scan(0).empty());
    std::set<QString> targets;
    std::int32_t lastKey = 0;
    int ticks = 0;
    for (std::uint32_t now = 1; !waiting().isEmpty() && ticks < kFiles; ++now, ++ticks) {
        const std::vector<DocumentListEntry> entries = scanner.scan(now);
        ASSERT_FALSE(entries.empty()) << "tick " << ticks;
        ASSERT_LE(entries.size(), std::size_t{PickupScan::kMovesPerTick});
        for (const DocumentListEntry& entry : entries) {
            EXPECT_GE(entry.orderKey, lastKey) << entry.path.toStdString();
            lastKey = entry.orderKey;
            targets.insert(entry.path);
        }
    }
    EXPECT_EQ(ticks, (kFiles + PickupScan::kMovesPerTick - 1) / PickupScan::kMovesPerTick);
    EXPECT_EQ(targets.size(), std::size_t{kFiles});
    EXPECT_EQ(QDir(root.filePath("data/Rova/PickedUp")).entryList(QDir::Files).size(), kFiles);
}

TEST_F(PickupScanTest, APickupPathNamesAFolderOrASearchPattern) {
    const struct {
        const char* pickup;
        QStringList taken;
        QStringList left;
    } cases[] = {
        {"drop", {"a.txt", "b.rova"}, {}},
        {"drop/", {"a.txt", "b.rova"}, {}},
        {"drop/*.txt", {"a.txt"}, {"b.rova"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pickup);
        QTemporaryDir base;
        PickupScan scan(base.filePath(c.pickup), base.filePath("out"));
        // The folder comes after the scanner, as when the setting names a folder not yet made.
        ASSERT_TRUE(QDir(base.path()).mkdir("drop"));
        write(base.filePath("drop/a.txt"), "a", kBaseTime + 1);
        write(base.filePath("drop/b.rova"), "b", kBaseTime + 2);
        EXPECT_TRUE(scan.scan(1).empty());
        QStringList expected;
        for (const QString& name : c.taken) {
            expected.append(base.filePath("out/" + name));
        }
        EXPECT_EQ(pathsOf(scan.scan(2)), expected);
        EXPECT_EQ(QDir(base.filePath("drop")).entryList(QDir::Files, QDir::Name), c.left);
    }
}

TEST_F(PickupScanTest, AnEmptyPickupFolderWatchesNothing) {
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(root.filePath("in")));
    write(in("a.txt"), "a");
    PickupScan nowhere(QString(), root.filePath("data/Rova/PickedUp/"));
    EXPECT_TRUE(nowhere.scan(1).empty());
    EXPECT_TRUE(nowhere.scan(2).empty());
    QDir::setCurrent(previous);
    EXPECT_EQ(waiting(), QStringList({"a.txt"}));
}

}  // namespace
}  // namespace rova
