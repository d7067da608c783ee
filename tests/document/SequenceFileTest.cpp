// The edges of SequenceFile that reading and writing sequences never reach.

#include <array>
#include <vector>

#include "DocumentTestSupport.h"
#include "SequenceFile.h"

namespace rova {
namespace {

using test::writeBytes;

TEST(SequenceFileTest, ReadsWholeRegularFilesOnly) {
    test::TempFolder folder;
    std::vector<std::uint8_t> buffer{1, 2};
    writeBytes(folder.path("empty"), "");
    EXPECT_EQ(SequenceFile::readWholeFile(folder.path("empty"), buffer), FileResult::Ok);
    EXPECT_TRUE(buffer.empty());
    writeBytes(folder.path("some"), "some bytes");
    ASSERT_EQ(SequenceFile::readWholeFile(folder.path("some"), buffer), FileResult::Ok);
    EXPECT_EQ(std::string(buffer.begin(), buffer.end()), "some bytes");
    EXPECT_EQ(SequenceFile::readWholeFile(folder.path("none"), buffer), FileResult::OpenFailed);
    EXPECT_EQ(SequenceFile::readWholeFile(folder.root(), buffer), FileResult::OpenFailed);
}

TEST(SequenceFileTest, SeeksWithinTheFileOnlyAndNothingWorksWhenClosed) {
    test::TempFolder folder;
    writeBytes(folder.path("data"), "0123456789");
    SequenceFile file(folder.path("data"));
    EXPECT_EQ(file.size(), 10);  // from the folder entry
    EXPECT_EQ(file.position(), -1);
    EXPECT_EQ(file.seek(0, SeekOrigin::Start), -1);

    ASSERT_EQ(file.openForReading(AccessHint::Sequential), FileResult::Ok);
    std::array<std::uint8_t, 4> four{};
    ASSERT_EQ(file.readExactly(four), FileResult::Ok);
    EXPECT_EQ(file.seek(-2, SeekOrigin::Current), 2);
    EXPECT_EQ(file.seek(-3, SeekOrigin::End), 7);
    EXPECT_EQ(file.seek(-1, SeekOrigin::Start), -1);
    std::size_t count = 0;
    ASSERT_EQ(file.read(four, count), FileResult::Ok);
    EXPECT_EQ(count, 3u);
    EXPECT_EQ(file.readExactly(four), FileResult::BadFormat);
    // Opening again moves to the start; closing twice is harmless.
    ASSERT_EQ(file.openForReading(), FileResult::Ok);
    EXPECT_EQ(file.position(), 0);
    file.close();
    file.close();
    EXPECT_FALSE(file.isOpen());
    EXPECT_EQ(file.read(four, count), FileResult::ReadFailed);
    EXPECT_EQ(file.write(four), FileResult::WriteFailed);
    EXPECT_EQ(file.commit(), FileResult::WriteFailed);
}

TEST(SequenceFileTest, CreatingNeedsAPlaceForTheFile) {
    test::TempFolder folder;
    SequenceFile nested(folder.path("p/q/file"));
    EXPECT_EQ(nested.createForWriting(false), FileResult::CreateFailed);
    EXPECT_EQ(nested.createForWriting(true), FileResult::Ok);
    QDir(folder.root()).mkdir("taken");
    SequenceFile onFolder(folder.path("taken"));
    EXPECT_EQ(onFolder.createForWriting(true), FileResult::CreateFailed);
}

}  // namespace
}  // namespace rova
