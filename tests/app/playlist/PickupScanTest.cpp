#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>

#include "DocumentTestSupport.h"
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
    // The names the entries' files have in the picked-up folder.
    static QStringList namesOf(const std::vector<DocumentListEntry>& entries) {
        QStringList names;
        for (const DocumentListEntry& entry : entries) {
            names.append(QFileInfo(entry.path).fileName());
        }
        return names;
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

// Earlier files keep their names and contents; numbering goes on past two digits.
TEST_F(PickupScanTest, ATakenNameGetsTheNextFreeNumber) {
    ASSERT_TRUE(QDir(root.path()).mkpath("data/Rova/PickedUp"));
    write(out("x.rova"), "0");
    for (int n = 1; n <= 99; ++n) {
        write(out(QString("x.%1.rova").arg(n)), QByteArray::number(n));
    }
    write(in("x.rova"), "new");
    write(in("Y.RTF"), "rich", kBaseTime + 1);
    EXPECT_EQ(namesOf(settleAndScan()), QStringList({"x.100.rova", "Y.RTF"}));
    EXPECT_EQ(test::readBytes(out("x.100.rova")), "new");
    EXPECT_EQ(test::readBytes(out("x.rova")), "0");
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
    EXPECT_EQ(namesOf(settleAndScan()), QStringList({"taken.Rova"}));
    EXPECT_EQ(waiting(), QStringList({".hidden.rova", "folder.rova", "link.txt", "noextension",
                                      "picture.bmp", "pipe.txt", "readonly.txt"}));
    EXPECT_EQ(test::readBytes(root.filePath("outside.txt")), "o");
}

// A file is taken once it stayed the same for a tick; one that changed or left counts as first
// seen. It moves to the picked-up folder, made with its parents, as a single-play entry.
TEST_F(PickupScanTest, ASettledDocumentMovesAndBecomesASinglePlayEntry) {
    write(in("x.txt"), "chunk 1");
    EXPECT_TRUE(scanner.scan(100).empty());
    write(in("x.txt"), ", chunk 2");
    EXPECT_TRUE(scanner.scan(200).empty()) << "the size changed";
    write(in("x.txt"), "", kBaseTime + 60);
    EXPECT_TRUE(scanner.scan(300).empty()) << "the modification time changed";
    ASSERT_TRUE(QFile::rename(in("x.txt"), root.filePath("x.txt")));
    EXPECT_TRUE(scanner.scan(400).empty()) << "gone";
    ASSERT_TRUE(QFile::rename(root.filePath("x.txt"), in("x.txt")));
    EXPECT_TRUE(scanner.scan(500).empty()) << "back with the same size and time";
    const std::vector<DocumentListEntry> entries = scanner.scan(1600);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].path, out("x.txt"));
    EXPECT_EQ(entries[0].timeAdded, 1600u);
    EXPECT_EQ(entries[0].orderKey, kBaseTime + 60);
    EXPECT_TRUE(entries[0].singlePlay);
    EXPECT_EQ(waiting(), QStringList());
    EXPECT_EQ(test::readBytes(out("x.txt")), "chunk 1, chunk 2");
    EXPECT_TRUE(scanner.scan(2100).empty());
}

TEST_F(PickupScanTest, AFileThatCannotMoveStaysAndEndsTheTick) {
    // The long name's target needs a number, which makes it too long: that move fails.
    const QString longName = QString(250, u'n') + ".txt";
    ASSERT_TRUE(QDir(root.path()).mkpath("data/Rova/PickedUp"));
    write(out(longName), "earlier");
    write(in("old.txt"), "old", kBaseTime + 1);
    write(in(longName), "stuck", kBaseTime + 2);
    write(in("young.txt"), "young", kBaseTime + 3);
    EXPECT_EQ(namesOf(settleAndScan()), QStringList({"old.txt"}));
    EXPECT_EQ(waiting(), QStringList({longName, "young.txt"}));
    EXPECT_EQ(test::readBytes(in(longName)), "stuck");
    EXPECT_EQ(test::readBytes(out(longName)), "earlier");
}

// Oldest first, at most kMovesPerTick files a tick.
TEST_F(PickupScanTest, ManyFilesAreTakenOldestFirstInBoundedTicks) {
    constexpr int kFiles = 200;
    for (int i = 0; i < kFiles; ++i) {
        // Names in one order, times in another, so the oldest-first choice shows.
        write(in(QString("f%1.txt").arg(i, 4, 10, QChar(u'0'))), "x", kBaseTime + (i * 7) % kFiles);
    }
    EXPECT_TRUE(scanner.scan(0).empty());
    std::int32_t lastKey = 0;
    int ticks = 0;
    for (std::uint32_t now = 1; !waiting().isEmpty() && ticks < kFiles; ++now, ++ticks) {
        const std::vector<DocumentListEntry> entries = scanner.scan(now);
        ASSERT_FALSE(entries.empty()) << "tick " << ticks;
        for (const DocumentListEntry& entry : entries) {
            EXPECT_GE(entry.orderKey, lastKey) << entry.path.toStdString();
            lastKey = entry.orderKey;
        }
    }
    EXPECT_EQ(ticks, 13);  // 16 files a tick at most
    EXPECT_EQ(QDir(root.filePath("data/Rova/PickedUp")).entryList(QDir::Files).size(), kFiles);
}

TEST_F(PickupScanTest, APickupPathNamesAFolderOrASearchPatternAndAnEmptyOneNothing) {
    const struct {
        const char* pickup;
        QStringList taken;
        QStringList left;
    } cases[] = {
        {"drop", {"a.txt", "b.rova"}, {}},
        {"drop/", {"a.txt", "b.rova"}, {}},
        {"drop/*.txt", {"a.txt"}, {"b.rova"}},
        {"", {}, {"a.txt", "b.rova"}},
    };
    const QString previous = QDir::currentPath();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pickup);
        QTemporaryDir base;
        PickupScan scan(*c.pickup ? base.filePath(c.pickup) : QString(), base.filePath("out"));
        // The folder comes after the scanner, as when the setting names a folder not yet made.
        ASSERT_TRUE(QDir(base.path()).mkdir("drop"));
        write(base.filePath("drop/a.txt"), "a", kBaseTime + 1);
        write(base.filePath("drop/b.rova"), "b", kBaseTime + 2);
        QDir::setCurrent(base.filePath("drop"));  // where an empty path would look
        const bool firstTickTookNothing = scan.scan(1).empty();
        const QStringList taken = namesOf(scan.scan(2));
        QDir::setCurrent(previous);
        EXPECT_TRUE(firstTickTookNothing);
        EXPECT_EQ(taken, c.taken);
        EXPECT_EQ(QDir(base.filePath("drop")).entryList(QDir::Files, QDir::Name), c.left);
    }
}

}  // namespace
}  // namespace rova
