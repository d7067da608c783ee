#include <array>
#include <vector>

#include "DocumentTestSupport.h"
#include "SequenceFile.h"

namespace rova {
namespace {

using test::readBytes;
using test::TempFolder;
using test::writeBytes;

TEST(SequenceFileTest, ReadsWholeFiles) {
    TempFolder folder;
    std::vector<std::uint8_t> buffer;
    writeBytes(folder.path("empty"), "");
    EXPECT_EQ(SequenceFile::readWholeFile(folder.path("empty"), buffer), FileResult::Ok);
    EXPECT_TRUE(buffer.empty());

    writeBytes(folder.path("some"), "some bytes");
    ASSERT_EQ(SequenceFile::readWholeFile(folder.path("some"), buffer), FileResult::Ok);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(buffer.data()), buffer.size()),
              "some bytes");

    EXPECT_EQ(SequenceFile::readWholeFile(folder.path("none"), buffer), FileResult::OpenFailed);
    EXPECT_EQ(SequenceFile::readWholeFile(folder.root(), buffer), FileResult::OpenFailed);
}

TEST(SequenceFileTest, ReadsSeeksAndReportsShortReads) {
    TempFolder folder;
    writeBytes(folder.path("data"), "0123456789");
    SequenceFile file(folder.path("data"));
    EXPECT_FALSE(file.isOpen());
    EXPECT_EQ(file.size(), 10);  // from the folder entry
    EXPECT_EQ(file.position(), -1);

    ASSERT_EQ(file.openForReading(AccessHint::Sequential), FileResult::Ok);
    std::array<std::uint8_t, 4> four{};
    ASSERT_EQ(file.readExactly(four), FileResult::Ok);
    EXPECT_EQ(four, (std::array<std::uint8_t, 4>{'0', '1', '2', '3'}));
    EXPECT_EQ(file.seek(-2, SeekOrigin::Current), 2);
    EXPECT_EQ(file.seek(-3, SeekOrigin::End), 7);
    EXPECT_EQ(file.seek(-1, SeekOrigin::Start), -1);

    std::size_t count = 0;
    ASSERT_EQ(file.read(four, count), FileResult::Ok);
    EXPECT_EQ(count, 3u);
    EXPECT_EQ(file.position(), 10);
    ASSERT_EQ(file.read(four, count), FileResult::Ok);
    EXPECT_EQ(count, 0u);

    EXPECT_EQ(file.seek(8, SeekOrigin::Start), 8);
    EXPECT_EQ(file.readExactly(four), FileResult::BadFormat);

    // Opening again moves to the start.
    ASSERT_EQ(file.openForReading(), FileResult::Ok);
    EXPECT_EQ(file.position(), 0);
    file.close();
    file.close();
    EXPECT_FALSE(file.isOpen());
    EXPECT_EQ(file.read(four, count), FileResult::ReadFailed);
}

TEST(SequenceFileTest, WritesReachThePathOnlyOnCommit) {
    TempFolder folder;
    const QString path = folder.path("out");
    writeBytes(path, "previous");
    const std::array<std::uint8_t, 3> bytes{'n', 'e', 'w'};
    {
        SequenceFile file(path);
        ASSERT_EQ(file.createForWriting(false), FileResult::Ok);
        ASSERT_EQ(file.write(bytes), FileResult::Ok);
        EXPECT_EQ(file.size(), 3);
        EXPECT_EQ(readBytes(path), "previous");
    }  // destroyed without a commit
    EXPECT_EQ(readBytes(path), "previous");
    EXPECT_EQ(folder.entries(), QStringList{"out"});

    SequenceFile file(path);
    ASSERT_EQ(file.createForWriting(false), FileResult::Ok);
    ASSERT_EQ(file.write(bytes), FileResult::Ok);
    ASSERT_EQ(file.commit(), FileResult::Ok);
    EXPECT_FALSE(file.isOpen());
    EXPECT_EQ(readBytes(path), "new");
    EXPECT_EQ(folder.entries(), QStringList{"out"});
    EXPECT_EQ(file.commit(), FileResult::WriteFailed);
}

TEST(SequenceFileTest, CreatingNeedsAPlaceForTheFile) {
    TempFolder folder;
    SequenceFile nested(folder.path("p/q/file"));
    EXPECT_EQ(nested.createForWriting(false), FileResult::CreateFailed);
    EXPECT_EQ(nested.createForWriting(true), FileResult::Ok);

    QDir(folder.root()).mkdir("taken");
    SequenceFile onFolder(folder.path("taken"));
    EXPECT_EQ(onFolder.createForWriting(true), FileResult::CreateFailed);
}

}  // namespace
}  // namespace rova
