// A command's text and picture content: taken from and put back into the rich text and the
// picture, and the picture content record read and written byte for byte.

#include <gtest/gtest.h>

#include <QTextDocument>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "BmpCodec.h"
#include "Command.h"
#include "CommandContent.h"
#include "ContentTestSupport.h"
#include "Picture.h"
#include "PictureDC.h"
#include "PictureEdits.h"
#include "PictureRecord.h"
#include "RichTextDocument.h"
#include "TestCommands.h"

namespace rova {
namespace {

using namespace std::string_literals;
using namespace std::string_view_literals;
using test::bytesOf;

class CommandTextTest : public test::QtGuiApplicationTest {
  protected:
    RichTextDocument text_;
};

TEST_F(CommandTextTest, TakesThePlainTextANulAndTheRtfAndPutsTheTextBackWithItsFormats) {
    ASSERT_TRUE(text_.streamIn(R"({\rtf1{\fonttbl{\f0 Arial;}}{\colortbl;\red255\green0\blue0;})"
                               R"(\f0\fs30 Hello {\cf1\i bold}\par three})"));
    Command command;
    ASSERT_TRUE(takeText(command, text_));
    EXPECT_EQ(command.contentKind(), content_kind::Rich);
    EXPECT_EQ(command.name(), "Hello bold\r\nthree");  // paragraphs end in CR LF
    QByteArray rtf;
    ASSERT_TRUE(text_.streamOutRtf(rtf));
    const std::span<const std::uint8_t> content = command.content();
    EXPECT_EQ(std::string(content.begin(), content.end()),
              "Hello bold\r\nthree\0"s + rtf.toStdString());

    RichTextDocument other;
    ASSERT_TRUE(putText(command, other));
    QByteArray after;
    ASSERT_TRUE(other.streamOutRtf(after));
    EXPECT_EQ(after, rtf);
}

// Only the RTF after the first NUL is read: text taken over from a rich-text file has an empty
// plain part. No content empties the text; a content without RTF fails and empties it too.
TEST_F(CommandTextTest, PutsTheRtfPartBackAndEmptiesTheTextForNoneOrABrokenOne) {
    const struct {
        std::string_view content;
        bool put;
        const char* text;
    } cases[] = {
        {"\0{\\rtf1 from a file}"sv, true, "from a file"},
        {""sv, true, ""},
        {"plain\0not rtf"sv, false, ""},
        {"{\\rtf1 hidden}"sv, false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.content);
        ASSERT_TRUE(text_.streamIn(R"({\rtf1 old text})"));
        Command command;
        command.assignContent(content_kind::Rich, bytesOf(c.content));
        EXPECT_EQ(putText(command, text_), c.put);
        EXPECT_EQ(text_.document().toPlainText(), c.text);
    }
}

// A picture record put together by hand: `name` (with its 0 byte, if any), a state block and a
// bitmap.
std::vector<std::uint8_t> recordOf(std::string_view name, std::vector<std::uint8_t> block,
                                   std::span<const std::uint8_t> bitmap = {}) {
    std::vector<std::uint8_t> record = bytesOf(name);
    record.insert(record.end(), block.begin(), block.end());
    record.insert(record.end(), bitmap.begin(), bitmap.end());
    return record;
}

class CommandPictureTest : public test::QtGuiApplicationTest {
  protected:
    // A 6 × 4 lamp picture with a few coloured pixels.
    void SetUp() override {
        ASSERT_TRUE(picture_.createLamp(6, 4));
        PictureDC dc;
        ASSERT_TRUE(dc.open(picture_));
        dc.painter().fillRect(0, 0, 2, 1, QColor(255, 0, 0));
        dc.painter().fillRect(5, 3, 1, 1, QColor(0, 0, 255));
        dc.release(true);
        ASSERT_TRUE(writePackedBitmap(picture_, packed_));
    }

    Picture picture_;
    std::vector<std::uint8_t> packed_;
};

// The state block gives its own length: of a shorter one the fields it does not reach keep their
// initial values, of a longer one only the first 12 bytes are read; the bitmap follows the block.
TEST_F(CommandPictureTest, TheRecordHoldsFileNameStateBlockOfAnyLengthAndPackedPicture) {
    std::vector<std::uint8_t> record;
    ASSERT_TRUE(writePictureRecord("C:\\pics\\star.bmp", {0, 16}, picture_, record));
    EXPECT_EQ(record,
              recordOf("C:\\pics\\star.bmp\0"sv, {12, 0, 0, 0, 0, 0, 0, 0, 16, 0, 0, 0}, packed_));
    const struct {
        std::vector<std::uint8_t> block;
        PictureState state;
    } cases[] = {
        {{8, 0, 0, 0, 0, 0, 0, 0}, {0, 0}},
        {{16, 0, 0, 0, 1, 0, 0, 0, 9, 0, 0, 0, 0xAA, 0xBB, 0xCC, 0xDD}, {1, 9}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.block.size());
        record = recordOf("C:\\x.bmp\0"sv, c.block, packed_);
        const PictureRecord read = readPictureRecord(record);
        EXPECT_EQ(read.fileName, "C:\\x.bmp");
        EXPECT_EQ(read.state, c.state);
        EXPECT_TRUE(std::ranges::equal(read.bitmap, packed_));
    }
}

TEST_F(CommandPictureTest, TakesAndPutsAPictureBackButNoneWithoutPixels) {
    Command command;
    ASSERT_TRUE(takePicture(command, "C:\\pics\\star.bmp", {1, 4}, picture_));
    EXPECT_EQ(command.contentKind(), content_kind::Picture);
    EXPECT_EQ(command.name(), "star.bmp");

    std::string fileName;
    PictureState state{0, 0};
    Picture restored;
    ASSERT_TRUE(putPicture(command, fileName, state, restored));
    EXPECT_EQ(fileName, "C:\\pics\\star.bmp");
    EXPECT_EQ(state, (PictureState{1, 4}));
    std::vector<std::uint8_t> packed;
    ASSERT_TRUE(writePackedBitmap(restored, packed));
    EXPECT_EQ(packed, packed_);

    // A picture without a file name gives an empty name; one without pixels cannot be taken.
    ASSERT_TRUE(takePicture(command, "", {1, 4}, picture_));
    EXPECT_EQ(command.name(), "");
    EXPECT_FALSE(takePicture(command, "b.bmp", {}, Picture()));
    EXPECT_EQ(command.contentKind(), content_kind::None);
    EXPECT_TRUE(command.content().empty());
}

TEST_F(CommandPictureTest, ADamagedRecordGivesABlack16By16Picture) {
    const std::vector<std::uint8_t> damaged[] = {
        {},
        bytesOf("no terminating zero"),
        recordOf("a.bmp\0"sv, {12, 0, 0}),  // state cut short
        // A state block that claims to be longer than the record.
        recordOf("a.bmp\0"sv, {0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 3, 0, 0, 0}),
        // A bitmap whose header is not a bitmap header.
        recordOf("a.bmp\0"sv, {12, 0, 0, 0, 1, 0, 0, 0, 3, 0, 0, 0, 99, 0, 0, 0}),
    };
    for (const std::vector<std::uint8_t>& bytes : damaged) {
        Command command;
        command.restoreContent(content_kind::Picture, std::vector<std::uint8_t>(bytes));
        std::string fileName = "old.bmp";
        PictureState state{1, 7};
        Picture picture;
        EXPECT_FALSE(putPicture(command, fileName, state, picture)) << bytes.size() << " bytes";
        EXPECT_EQ(fileName, "");
        EXPECT_EQ(state, (PictureState{0, 16}));
        EXPECT_EQ(QSize(picture.width(), picture.height()), QSize(16, 16));
        EXPECT_FALSE(contentBounds(picture).has_value()) << "all black";
    }
}

}  // namespace
}  // namespace rova
