#include <gtest/gtest.h>

#include <QTextCursor>
#include <QTextDocument>

#include <string>

#include "RtfReader.h"
#include "TextTestSupport.h"

namespace rova {
namespace {

using test::formatAt;
using test::fullFormat;
using test::kAuto;
using test::kBold;
using test::kItalic;
using test::kUnderline;
using test::rawText;
using test::text16;

// Reads `rtf`, expecting success, and returns the text with U+2029 between paragraphs.
QString readText(const std::string& rtf, QTextDocument& document) {
    EXPECT_TRUE(readRtf(QByteArrayView(rtf.data(), static_cast<qsizetype>(rtf.size())), document))
        << rtf;
    return rawText(document);
}

QString readText(const std::string& rtf) {
    QTextDocument document;
    return readText(rtf, document);
}

TEST(RtfReader, ReadsParagraphsLineBreaksAndTabs) {
    EXPECT_EQ(readText(R"({\rtf1 one\par two\line three\tab four\par})"),
              text16(u"one\u2029two\u2028three\tfour"));
    // The last paragraph mark closes its paragraph; further marks make empty paragraphs.
    EXPECT_EQ(readText(R"({\rtf1 a\par\par b})"), text16(u"a\u2029\u2029b"));
    EXPECT_EQ(readText(R"({\rtf1 a\par\par})"), text16(u"a\u2029"));
    EXPECT_EQ(readText(R"({\rtf1 \par})"), QString());
    // Line breaks in the stream are no text; a backslash before one is a paragraph mark.
    EXPECT_EQ(readText("{\\rtf1 a\r\nb\nc\\\nd\\\re}"), text16(u"abc\u2029d\u2029e"));
    // Table cells become tab-separated text, rows and sections paragraphs.
    EXPECT_EQ(readText(R"({\rtf1 \trowd A\cell B\cell\row C\sect D})"),
              text16(u"A\tB\t\u2029C\u2029D"));
    // Escaped characters and the named special characters.
    EXPECT_EQ(
        readText(
            R"({\rtf1 \{x\}\\ a\~b\_c\emdash\endash\bullet\lquote\rquote\ldblquote\rdblquote})"),
        text16(u"{x}\\ a\u00A0b\u2011c\u2014\u2013\u2022\u2018\u2019\u201C\u201D"));
}

TEST(RtfReader, ReadsCharacterFormatsWithGroupScope) {
    QTextDocument document;
    const QString text = readText(
        R"({\rtf1\ansi\deff0{\fonttbl{\f0\fswiss Arial;}{\f1\froman Times New Roman;}})"
        R"({\colortbl;\red255\green0\blue0;\red224\green224\blue224;})"
        R"(\f0\fs24 a{\b b\i c}d\ul e\ulnone\f1\fs21\cf1 f\cf2 g\plain h\cf0 i\b\b0 j\ul0 k})",
        document);
    ASSERT_EQ(text, QString("abcdefghijk"));
    EXPECT_EQ(formatAt(document, 0), fullFormat("Arial", 240, 0, kAuto));
    EXPECT_EQ(formatAt(document, 1), fullFormat("Arial", 240, kBold, kAuto));
    EXPECT_EQ(formatAt(document, 2), fullFormat("Arial", 240, kBold | kItalic, kAuto));
    EXPECT_EQ(formatAt(document, 3), fullFormat("Arial", 240, 0, kAuto)) << "group restored";
    EXPECT_EQ(formatAt(document, 4), fullFormat("Arial", 240, kUnderline, kAuto));
    EXPECT_EQ(formatAt(document, 5), fullFormat("Times New Roman", 210, 0, 0x0000FF));
    EXPECT_EQ(formatAt(document, 6), fullFormat("Times New Roman", 210, 0, 0xE0E0E0));
    // \plain: the default font, 12 points, no effects, no colour of its own.
    EXPECT_EQ(formatAt(document, 7), fullFormat("Arial", 240, 0, kAuto));
    // \cf0 names the colour table's empty first entry: the automatic colour.
    EXPECT_EQ(formatAt(document, 8), fullFormat("Arial", 240, 0, kAuto));
    EXPECT_EQ(formatAt(document, 9), fullFormat("Arial", 240, 0, kAuto));
    EXPECT_EQ(formatAt(document, 10), fullFormat("Arial", 240, 0, kAuto));
}

TEST(RtfReader, ReadsFontTablesInEveryShape) {
    QTextDocument document;
    // Entries without braces, alternate names and panose numbers inside entries, a name with
    // a coded semicolon and coded letters, and a default font other than 0.
    ASSERT_EQ(readText(R"({\rtf1\deff1{\fonttbl\f0\fnil Menlo-Regular;\f1\fswiss Helvetica;)"
                       R"({\f2{\*\panose 020b0604}Odd\'3bName{\*\falt Other};})"
                       R"({\f3 Caf\'e9 \u1064?rift ;}})"
                       R"(a\f0 b\f2 c\f3 d\f9 e})",
                       document),
              QString("abcde"));
    EXPECT_EQ(formatAt(document, 0).face, QString("Helvetica"));
    EXPECT_EQ(formatAt(document, 1).face, QString("Menlo-Regular"));
    EXPECT_EQ(formatAt(document, 2).face, QString("Odd;Name"));
    EXPECT_EQ(formatAt(document, 3).face, text16(u"Caf\u00E9 \u0428rift"));
    // A font the table does not define leaves the face open: the defaults' face.
    EXPECT_EQ(formatAt(document, 4).face, QString("Liberation Serif"));
}

TEST(RtfReader, ReadsFontSizesWithinBounds) {
    QTextDocument document;
    ASSERT_EQ(readText(R"({\rtf1 \fs1 a\fs0 b\fs-4 c\fs99999 d\fs e})", document),
              QString("abcde"));
    EXPECT_EQ(formatAt(document, 0).height, 10);
    EXPECT_EQ(formatAt(document, 1).height, 10) << "\\fs0 is ignored";
    EXPECT_EQ(formatAt(document, 2).height, 10) << "a negative size is ignored";
    EXPECT_EQ(formatAt(document, 3).height, 32760);
    EXPECT_EQ(formatAt(document, 4).height, 240) << "\\fs alone is the default 12 points";
}

TEST(RtfReader, DecodesWindows1252Bytes) {
    EXPECT_EQ(readText(R"({\rtf1\ansi\ansicpg1252 caf\'e9 \'80\'92\'93\'94\'85 \'C4\'d6})"),
              text16(u"caf\u00E9 \u20AC\u2019\u201C\u201D\u2026 \u00C4\u00D6"));
    // Unescaped 8-bit bytes are read in the same code page.
    EXPECT_EQ(readText("{\\rtf1 caf\xe9 \x80}"), text16(u"caf\u00E9 \u20AC"));
    // A hex escape with one digit (here a control code, which is dropped) or with none does
    // not swallow what follows.
    EXPECT_EQ(readText(R"({\rtf1 a\'4b\'4z\'zz})"), QString("aKzzz"));
}

TEST(RtfReader, ReadsUnicodeAndSkipsItsFallback) {
    EXPECT_EQ(readText(R"({\rtf1 \u8364?x})"), text16(u"\u20ACx"));
    EXPECT_EQ(readText(R"({\rtf1 \uc0\u937 x})"), text16(u"\u03A9x"));
    EXPECT_EQ(readText(R"({\rtf1 \uc2\u937\'3f\'3fx})"), text16(u"\u03A9x"));
    // A control word counts as one fallback character.
    EXPECT_EQ(readText(R"({\rtf1 \u937\emdash x})"), text16(u"\u03A9x"));
    // \uc holds within its group; a group's end ends the fallback.
    EXPECT_EQ(readText(R"({\rtf1 {\uc2 \u937 ab}\u937 cd})"), text16(u"\u03A9\u03A9d"));
    EXPECT_EQ(readText(R"({\rtf1 \uc3\u937{\b x}})"), text16(u"\u03A9x"));
    // Negative numbers stand for the upper half; surrogate pairs join.
    EXPECT_EQ(readText(R"({\rtf1 \u-3913?\u-10179?\u-8694?})"), text16(u"\uF0B7\U0001F60A"));
    // Half a surrogate pair is no character.
    EXPECT_EQ(readText(R"({\rtf1 \u-10179?x\u-8694?y})"), text16(u"\uFFFDx\uFFFDy"));
    EXPECT_EQ(readText(R"({\rtf1 \u-10179?})"), text16(u"\uFFFD"));
}

TEST(RtfReader, KeepsControlCharactersAndPlaceholdersOut) {
    // NUL and other controls are dropped, VT is a line break, the paragraph separator a
    // paragraph mark; the document's own placeholders and non-characters are dropped.
    EXPECT_EQ(readText(R"({\rtf1 a\u0?\u7?\u11?b\u8233?c\u-4?\u-560?\u-559?\u-2?\u-1?d})"),
              text16(u"a\u2028b\u2029cd"));
    constexpr char kRaw[] = "{\\rtf1 a\0b\x01\tc}";
    EXPECT_EQ(readText(std::string(kRaw, sizeof kRaw - 1)), QString("ab\tc"));
}

TEST(RtfReader, SkipsWhatIsNotTheDocumentsText) {
    EXPECT_EQ(
        readText(R"({\rtf1\ansi\foo123 \bar-7 A)"
                 R"({\*\unknown hidden {nested \par hidden}})"
                 R"({\stylesheet{\s0 Normal;}}{\info{\title T}{\author Au}}{\header head\par})"
                 R"({\footnote note}{\pict\pngblip\picw10 89504e470d0a})"
                 R"({\*\shppict{\pict\emfblip 0100}}{\nonshppict{\pict\wmetafile8 0100}})"
                 R"( B {\field{\*\fldinst HYPERLINK "http://example.invalid/"}{\fldrslt link}})"
                 R"( {\field{\fldinst PAGE}{\fldrslt 7}} C\bin4 {}\\ D})"),
        QString("A B link 7 C D"));
    // Binary data is passed over inside skipped destinations too.
    EXPECT_EQ(readText(R"({\rtf1 {\*\blob \bin3 }}}}E})"), QString("E"));
}

TEST(RtfReader, EmptyParagraphsKeepTheFormatAtTheirMark) {
    QTextDocument document;
    ASSERT_EQ(readText(R"({\rtf1 \fs20 a\par\fs40\par b\par\fs60})", document),
              text16(u"a\u2029\u2029b"));
    EXPECT_EQ(formatAt(document, 2).height, 400);
    QTextDocument empty;
    ASSERT_EQ(readText(R"({\rtf1 \fs48\b})", empty), QString());
    EXPECT_EQ(formatAt(empty, 0), fullFormat("Liberation Serif", 480, kBold, kAuto));
}

TEST(RtfReader, RefusesWhatIsNoRtfOrPassesItsLimits) {
    QTextDocument document;
    const auto refuses = [&document](const std::string& rtf) {
        QTextCursor(&document).insertText("left over");
        const bool read =
            readRtf(QByteArrayView(rtf.data(), static_cast<qsizetype>(rtf.size())), document);
        EXPECT_TRUE(document.isEmpty()) << "a refused stream leaves the document empty";
        return !read;
    };
    EXPECT_TRUE(refuses(""));
    EXPECT_TRUE(refuses("plain text"));
    EXPECT_TRUE(refuses("{\\rt1 x}"));
    EXPECT_TRUE(refuses("x{\\rtf1 x}"));

    const auto nested = [](int depth) {
        return std::string("{\\rtf1") + std::string(static_cast<std::size_t>(depth - 1), '{') +
               "x" + std::string(static_cast<std::size_t>(depth), '}');
    };
    EXPECT_EQ(readText(nested(kMaxRtfGroupDepth)), QString("x"));
    EXPECT_TRUE(refuses(nested(kMaxRtfGroupDepth + 1)));
    // Groups inside skipped destinations count as well.
    EXPECT_TRUE(refuses("{\\rtf1{\\*\\x" + std::string(kMaxRtfGroupDepth, '{') + "}"));

    // A stream of the largest size is read, one byte more is refused. Its bulk is a skipped
    // destination, which is quick to pass over.
    std::string large = "{\\rtf1 x{\\*\\pad ";
    large.resize(kMaxRtfBytes - 2, 'a');
    large += "}}";
    EXPECT_EQ(readText(large), QString("x"));
    EXPECT_TRUE(refuses(large + " "));

    EXPECT_EQ(readText(" \r\n\t{\\rtf1 leading blanks}"), QString("leading blanks"));
}

TEST(RtfReader, ReadsBrokenStreamsAsFarAsTheyGo) {
    EXPECT_EQ(readText(R"({\rtf1 no closing {\b brace)"), QString("no closing brace"));
    EXPECT_EQ(readText(R"({\rtf1 a} ignored {after})"), QString("a"));
    EXPECT_EQ(readText(R"({\rtf1 a}}} b)"), QString("a"));
    EXPECT_EQ(readText(R"({\rtf1 a\)"), QString("a"));
    EXPECT_EQ(readText(R"({\rtf1 a\')"), QString("a"));
    EXPECT_EQ(readText(R"({\rtf1 a\u)"), QString("a"));
    EXPECT_EQ(readText(R"({\rtf1 a\u-)"), QString("a-"));
    EXPECT_EQ(readText(R"({\rtf1 a\fs99999999999999999999 b})"), QString("ab"));
    EXPECT_EQ(readText(R"({\rtf1 a\bin999999 b})"), QString("a"));
    EXPECT_EQ(readText(R"({\rtf1{\fonttbl{\f0 Unfinished)"), QString());
}

TEST(RtfReader, ReadsColourTablesWithoutTheClosingSemicolon) {
    QTextDocument document;
    ASSERT_EQ(readText(R"({\rtf1{\colortbl\red300\green-5\blue7}\cf0 x})", document), QString("x"));
    EXPECT_EQ(formatAt(document, 0).colour, 0x0700FFu) << "components clamped to 0..255";
}

}  // namespace
}  // namespace rova
