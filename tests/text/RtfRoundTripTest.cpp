#include <gtest/gtest.h>

#include <QTextCursor>
#include <QTextDocument>

#include "RtfReader.h"
#include "RtfWriter.h"
#include "TextTestSupport.h"

namespace rova {
namespace {

using test::formatsOf;
using test::fullFormat;
using test::rawText;
using test::testDefaults;

constexpr std::uint32_t kBold = CharacterFormat::kBold;
constexpr std::uint32_t kItalic = CharacterFormat::kItalic;
constexpr std::uint32_t kUnderline = CharacterFormat::kUnderline;

QString text16(const char16_t* text) {
    return QString::fromUtf16(text);
}

void insert(QTextCursor& cursor, const QString& text, const CharacterFormat& format) {
    cursor.insertText(text, toTextCharFormat(format));
}

// A text with a bit of everything: faces (also ones that need escaping or Unicode), sizes from
// half a point to the largest, every combination of effects, the lamp colours, characters
// inside and outside the code page, tabs, line breaks, empty paragraphs of their own size, and
// text that carries no format at all.
void buildMixedText(QTextDocument& document) {
    QTextCursor cursor(&document);
    insert(cursor, "Plain ", fullFormat("Arial", 240));
    insert(cursor, "bold ", fullFormat("Arial", 240, kBold, 0x0000FF));
    insert(cursor, "italic ", fullFormat("Arial", 210, kItalic, 0x00FF00));
    insert(cursor, "under", fullFormat("Times New Roman", 360, kUnderline, 0xFF0000));
    insert(cursor, "all", fullFormat("Times New Roman", 10, kBold | kItalic | kUnderline));
    cursor.insertBlock();
    insert(cursor, text16(u"caf\u00E9 \u20AC \u2019 \u03A9 \U0001F60A {x}\\y\tz\u2028next"),
           fullFormat("Odd;Name{x}\\", 32760, 0, 0xE0E0E0));
    insert(cursor, text16(u"\u00A0nbsp"),
           fullFormat(text16(u"\u0428rift \u00E9"), 130, 0, 0xFFFFFF));
    cursor.insertBlock();
    cursor.setBlockCharFormat(toTextCharFormat(fullFormat("Arial", 480, kBold, 0xFF00FF)));
    cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
    cursor.insertText("no format of its own", QTextCharFormat());
    insert(cursor, "last", fullFormat("Arial", 200, 0, 0x00FFFF));
}

TEST(RtfRoundTrip, KeepsCharactersAndFormats) {
    QTextDocument original;
    buildMixedText(original);
    const QByteArray rtf = writeRtf(original, testDefaults());

    QTextDocument read;
    ASSERT_TRUE(readRtf(rtf, read)) << rtf.constData();
    EXPECT_EQ(rawText(read), rawText(original));
    EXPECT_EQ(formatsOf(read), formatsOf(original)) << rtf.constData();

    // Written again, the stream is the same.
    EXPECT_EQ(writeRtf(read, testDefaults()), rtf);
}

TEST(RtfRoundTrip, KeepsEmptyAndSingleParagraphTexts) {
    for (const char* text : {"", "one line", "\n", "two\n\nempty"}) {
        QTextDocument original;
        QTextCursor(&original).insertText(QString::fromUtf8(text));
        QTextDocument read;
        ASSERT_TRUE(readRtf(writeRtf(original, testDefaults()), read));
        EXPECT_EQ(rawText(read), rawText(original)) << text;
        EXPECT_EQ(formatsOf(read), formatsOf(original)) << text;
    }
}

TEST(RtfWriter, WritesWhatWordProcessorsRead) {
    QTextDocument document;
    buildMixedText(document);
    const QByteArray rtf = writeRtf(document, testDefaults());

    EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1")) << rtf.constData();
    EXPECT_TRUE(rtf.endsWith("\\par\r\n}"));
    // The font table starts with the defaults' face, the default font.
    EXPECT_TRUE(
        rtf.contains("{\\fonttbl{\\f0\\fnil\\fcharset0 Liberation Serif;}"
                     "{\\f1\\fnil\\fcharset0 Arial;}"));
    EXPECT_TRUE(rtf.contains("{\\f3\\fnil\\fcharset0 Odd\\'3bName\\{x\\}\\\\;}"));
    EXPECT_TRUE(rtf.contains("{\\f4\\fnil\\fcharset0 \\u1064?rift \\'e9;}"));
    // The colour table's first entry is empty: the automatic colour, which text never gets.
    EXPECT_TRUE(
        rtf.contains("{\\colortbl ;\\red0\\green0\\blue0;\\red255\\green0\\blue0;"
                     "\\red0\\green255\\blue0;\\red0\\green0\\blue255;"
                     "\\red224\\green224\\blue224;"));
    EXPECT_FALSE(rtf.contains("\\cf0"));
    // Sizes in half points, effects switched on and off, colours by index.
    EXPECT_TRUE(rtf.contains("\\f1\\cf1 Plain \\b\\cf2 bold \\fs21\\b0\\i\\cf3 italic "));
    EXPECT_TRUE(rtf.contains("\\f2\\fs36\\i0\\ul\\cf4 under\\fs1\\b\\i\\cf1 all\\par"));
    // Characters of the code page as \'hh, others as \uN with a fallback, surrogates each.
    EXPECT_TRUE(
        rtf.contains("caf\\'e9 \\'80 \\'92 \\u937? \\u-10179?\\u-8694? \\{x\\}\\\\y"
                     "\\tab z\\line next"));
    EXPECT_TRUE(rtf.contains("\\'a0nbsp\\par"));
    // The empty paragraph carries the format at its mark.
    EXPECT_TRUE(rtf.contains("\\par\r\n\\f1\\fs48\\b\\cf7 \\par\r\n"));
    // Text without a format of its own is written in the defaults: 15 points, 0x123456.
    EXPECT_TRUE(rtf.contains("\\f0\\fs30\\b0\\cf8 no format of its own"));
    EXPECT_TRUE(rtf.contains("\\red86\\green52\\blue18;"));
}

TEST(RtfWriter, LeavesOutControlCharactersAndObjectPlaceholders) {
    QTextDocument document;
    QTextCursor(&document).insertText(text16(u"a\u0001b\uFFFCc\u0007d"));
    QTextDocument read;
    ASSERT_TRUE(readRtf(writeRtf(document, testDefaults()), read));
    EXPECT_EQ(rawText(read), QString("abcd"));
}

}  // namespace
}  // namespace rova
