// A command's text and picture content: taken from and put back into the rich text and the
// picture, and the picture content record read and written byte for byte.

#include <gtest/gtest.h>

#include <QTextDocument>

#include <cstdint>
#include <string>
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

namespace rova {
namespace {

std::string textOf(std::span<const std::uint8_t> bytes) {
    return {bytes.begin(), bytes.end()};
}

std::vector<std::uint8_t> bytesOf(const std::string& text) {
    return {text.begin(), text.end()};
}

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
    EXPECT_EQ(textOf(command.content()),
              "Hello bold\r\nthree" + std::string(1, '\0') + rtf.toStdString());

    RichTextDocument other;
    ASSERT_TRUE(putText(command, other));
    QByteArray after;
    ASSERT_TRUE(other.streamOutRtf(after));
    EXPECT_EQ(after, rtf);
    EXPECT_EQ(other.document().toPlainText(), text_.document().toPlainText());
}

TEST_F(CommandTextTest, PutsRawRtfWithAnEmptyPlainPart) {
    // The form of text taken over from a rich-text file: a NUL, then the file's bytes.
    Command command;
    ASSERT_TRUE(command.takeRawContent(content_kind::Rich, bytesOf(R"({\rtf1 from a file})")));
    ASSERT_TRUE(putText(command, text_));
    EXPECT_EQ(text_.document().toPlainText(), "from a file");
}

TEST_F(CommandTextTest, AnEmptyContentEmptiesTheControlAndABrokenOneFails) {
    ASSERT_TRUE(text_.streamIn(R"({\rtf1 old text})"));
    Command command;
    EXPECT_TRUE(putText(command, text_));
    EXPECT_EQ(text_.textLength(), 0);

    ASSERT_TRUE(text_.streamIn(R"({\rtf1 old text})"));
    command.assignContent(content_kind::Rich, bytesOf(std::string("plain", 6) + "not rtf"));
    EXPECT_FALSE(putText(command, text_));
    EXPECT_EQ(text_.textLength(), 0);

    // Without the NUL there is no RTF part at all.
    ASSERT_TRUE(text_.streamIn(R"({\rtf1 old text})"));
    command.assignContent(content_kind::Rich, bytesOf(R"({\rtf1 hidden})"));
    EXPECT_FALSE(putText(command, text_));
    EXPECT_EQ(text_.textLength(), 0);
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
    }

    static bool samePixels(const Picture& a, const Picture& b) {
        bool same = a.width() == b.width() && a.height() == b.height();
        for (int y = 0; same && y < a.height(); ++y) {
            same = std::ranges::equal(a.row(y), b.row(y));
        }
        return same && a.bitCount() == b.bitCount();
    }

    Picture picture_;
};

TEST_F(CommandPictureTest, TheRecordHoldsFileNameStateAndPackedPicture) {
    std::vector<std::uint8_t> record;
    ASSERT_TRUE(writePictureRecord("C:\\pics\\star.bmp", {0, 16}, picture_, record));
    std::vector<std::uint8_t> packed;
    ASSERT_TRUE(writePackedBitmap(picture_, packed));

    const std::string name = "C:\\pics\\star.bmp";
    const std::span<const std::uint8_t> bytes = record;
    ASSERT_EQ(bytes.size(), name.size() + 1 + 12 + packed.size());
    EXPECT_EQ(textOf(bytes.first(name.size())), name);
    EXPECT_EQ(bytes[name.size()], 0);
    const std::vector<std::uint8_t> state(
        bytes.begin() + static_cast<std::ptrdiff_t>(name.size()) + 1,
        bytes.begin() + static_cast<std::ptrdiff_t>(name.size()) + 13);
    EXPECT_EQ(state, (std::vector<std::uint8_t>{12, 0, 0, 0, 0, 0, 0, 0, 16, 0, 0, 0}));
    EXPECT_TRUE(std::ranges::equal(bytes.last(packed.size()), packed));

    const PictureRecord read = readPictureRecord(bytes);
    EXPECT_EQ(read.fileName, name);
    EXPECT_EQ(read.state, (PictureState{0, 16}));
    EXPECT_TRUE(std::ranges::equal(read.bitmap, packed));
}

TEST_F(CommandPictureTest, TakesAndPutsAPictureBack) {
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
    EXPECT_TRUE(samePixels(restored, picture_));
    EXPECT_EQ(restored.colourTable().size(), 8u);

    // A picture without a file name gives an empty name.
    ASSERT_TRUE(takePicture(command, "", {1, 4}, picture_));
    EXPECT_EQ(command.name(), "");
}

TEST_F(CommandPictureTest, APictureWithoutPixelsCannotBeTaken) {
    Command command;
    ASSERT_TRUE(takePicture(command, "a.bmp", {}, picture_));
    EXPECT_FALSE(takePicture(command, "b.bmp", {}, Picture()));
    EXPECT_EQ(command.contentKind(), content_kind::None);
    EXPECT_TRUE(command.content().empty());
}

TEST_F(CommandPictureTest, AShorterOrLongerStateBlockMovesTheBitmap) {
    std::vector<std::uint8_t> packed;
    ASSERT_TRUE(writePackedBitmap(picture_, packed));

    // An 8-byte block holds size and flags only; the rows keep their initial value.
    std::vector<std::uint8_t> shortBlock = bytesOf(std::string("x.bmp", 6));
    shortBlock.insert(shortBlock.end(), {8, 0, 0, 0, 0, 0, 0, 0});
    shortBlock.insert(shortBlock.end(), packed.begin(), packed.end());
    PictureRecord read = readPictureRecord(shortBlock);
    EXPECT_EQ(read.fileName, "x.bmp");
    EXPECT_EQ(read.state, (PictureState{0, 0}));
    EXPECT_TRUE(std::ranges::equal(read.bitmap, packed));

    // A 16-byte block: the first 12 bytes are read, the bitmap follows the whole block.
    std::vector<std::uint8_t> longBlock = bytesOf(std::string("", 1));
    longBlock.insert(longBlock.end(),
                     {16, 0, 0, 0, 1, 0, 0, 0, 9, 0, 0, 0, 0xAA, 0xBB, 0xCC, 0xDD});
    longBlock.insert(longBlock.end(), packed.begin(), packed.end());
    read = readPictureRecord(longBlock);
    EXPECT_EQ(read.state, (PictureState{1, 9}));
    EXPECT_TRUE(std::ranges::equal(read.bitmap, packed));
}

TEST_F(CommandPictureTest, ADamagedRecordGivesABlack16By16Picture) {
    std::vector<std::vector<std::uint8_t>> damaged = {
        {},
        bytesOf("no terminating zero"),
        bytesOf(std::string("a.bmp\0\x0C\0\0", 9)),  // state cut short
    };
    // A state block that claims to be longer than the record.
    std::vector<std::uint8_t> overlong = bytesOf(std::string("a.bmp", 6));
    overlong.insert(overlong.end(), {0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 3, 0, 0, 0});
    damaged.push_back(overlong);
    // A bitmap whose header is not a bitmap header.
    std::vector<std::uint8_t> notABitmap = bytesOf(std::string("a.bmp", 6));
    notABitmap.insert(notABitmap.end(), {12, 0, 0, 0, 1, 0, 0, 0, 3, 0, 0, 0, 99, 0, 0, 0});
    damaged.push_back(notABitmap);

    for (const std::vector<std::uint8_t>& bytes : damaged) {
        Command command;
        command.restoreContent(content_kind::Picture, std::vector<std::uint8_t>(bytes));
        std::string fileName = "old.bmp";
        PictureState state{1, 7};
        Picture picture;
        EXPECT_FALSE(putPicture(command, fileName, state, picture)) << bytes.size() << " bytes";
        EXPECT_EQ(fileName, "");
        EXPECT_EQ(state, (PictureState{0, 16}));
        EXPECT_EQ(picture.width(), 16);
        EXPECT_EQ(picture.height(), 16);
        EXPECT_FALSE(contentBounds(picture).has_value()) << "all black";
    }
}

}  // namespace
}  // namespace rova
