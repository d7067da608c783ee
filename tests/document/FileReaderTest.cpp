#include <sys/stat.h>

#include <vector>

#include "DocumentTestSupport.h"
#include "FileReader.h"

namespace rova {
namespace {

using test::TempFolder;
using test::writeBytes;

QByteArray pattern(int size) {
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i) {
        bytes[i] = static_cast<char>(i * 7 % 251);
    }
    return bytes;
}

// Reads `count` bytes and checks them against the pattern at the reader's position.
void expectPatternRead(FileReader& reader, const QByteArray& whole, std::size_t count) {
    const std::int64_t start = reader.position();
    std::vector<std::uint8_t> buffer(count);
    const auto arrived = reader.read(buffer);
    ASSERT_TRUE(arrived);
    const std::size_t expected =
        std::min<std::size_t>(count, static_cast<std::size_t>(whole.size() - start));
    ASSERT_EQ(*arrived, expected);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(buffer.data()), static_cast<int>(expected)),
              whole.mid(start, static_cast<int>(expected)));
    EXPECT_EQ(reader.position(), start + static_cast<std::int64_t>(expected));
}

TEST(FileReaderTest, ReadsAndSeeksAcrossBufferRefills) {
    TempFolder folder;
    const QByteArray whole = pattern(300000);
    writeBytes(folder.path("data"), whole);
    auto reader = FileReader::open(folder.path("data"), true);
    ASSERT_TRUE(reader);
    EXPECT_EQ(reader->size(), 300000);
    for (std::size_t count : {std::size_t{1}, std::size_t{191}, FileReader::kBufferSize - 150,
                              std::size_t{4000}, FileReader::kBufferSize * 2 + 5, std::size_t{3}}) {
        SCOPED_TRACE(count);
        expectPatternRead(*reader, whole, count);
    }
    // Past the end: what is left, then nothing.
    expectPatternRead(*reader, whole, 200000);
    EXPECT_EQ(reader->read(std::span<std::uint8_t>()).value_or(99), 0u);
    std::vector<std::uint8_t> more(10);
    EXPECT_EQ(reader->read(more).value_or(99), 0u);

    // To the start, back inside what is buffered, far ahead, far back.
    for (const auto& [position, count] :
         {std::pair<std::int64_t, std::size_t>{0, 100}, {40, 100}, {150000, 500}, {10, 70000}}) {
        SCOPED_TRACE(position);
        ASSERT_TRUE(reader->seek(position));
        expectPatternRead(*reader, whole, count);
    }
    EXPECT_FALSE(reader->seek(-1));
    ASSERT_TRUE(reader->seek(350000));  // beyond the end
    EXPECT_EQ(reader->position(), 350000);
    EXPECT_EQ(reader->read(more).value_or(99), 0u);
}

TEST(FileReaderTest, OpensOnlyExistingRegularFiles) {
    TempFolder folder;
    EXPECT_FALSE(FileReader::open(folder.path("missing"), true));
    EXPECT_FALSE(FileReader::open(folder.root(), true));
    const QString pipe = folder.path("pipe");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    EXPECT_FALSE(FileReader::open(pipe, true));  // and does not wait for a writer
    EXPECT_FALSE(FileReader::open("/dev/null", true));
}

}  // namespace
}  // namespace rova
