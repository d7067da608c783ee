// Reading RTF streams into documents and writing documents as RTF.

#include <gtest/gtest.h>

#include <QTextCursor>
#include <QTextDocument>

#include <string>
#include <string_view>

#include "RtfReader.h"
#include "RtfWriter.h"
#include "TextTestSupport.h"

namespace rova::test {
namespace {

using namespace std::string_view_literals;

// Reads `rtf` into `document` (or a document of its own), expecting success, and returns the
// text with U+2029 between paragraphs.
QString readText(std::string_view rtf, QTextDocument* document = nullptr) {
    QTextDocument own;
    QTextDocument& into = document != nullptr ? *document : own;
    EXPECT_TRUE(readRtf(QByteArrayView(rtf.data(), static_cast<qsizetype>(rtf.size())), into))
        << rtf;
    return into.toRawText();
}

TEST(RtfReader, ReadsTheTextOfEveryKindOfStream) {
    const struct {
        std::string_view rtf;
        const char16_t* text;
    } cases[] = {
        {R"({\rtf1 one\par two\line three\tab four\par})", u"one\u2029two\u2028three\tfour"},
        // The last paragraph mark closes its paragraph; further marks make empty paragraphs.
        {R"({\rtf1 a\par\par b})", u"a\u2029\u2029b"},
        {R"({\rtf1 a\par\par})", u"a\u2029"},
        {R"({\rtf1 \par})", u""},
        // Line breaks in the stream are no text; a backslash before one is a paragraph mark.
        {"{\\rtf1 a\r\nb\nc\\\nd\\\re}", u"abc\u2029d\u2029e"},
        // Table cells become tab-separated text, rows and sections paragraphs.
        {R"({\rtf1 \trowd A\cell B\cell\row C\sect D})", u"A\tB\t\u2029C\u2029D"},
        {R"({\rtf1 \{x\}\\ a\~b\_c\emdash\endash\bullet\lquote\rquote\ldblquote\rdblquote})",
         u"{x}\\ a\u00A0b\u2011c\u2014\u2013\u2022\u2018\u2019\u201C\u201D"},
        {R"({\rtf1 \zwj\zwnj\qmspace\ltrmark\rtlmark})", u"\u200D\u200C\u2005\u200E\u200F"},
        // Bytes, escaped or not, are read in Windows-1252.
        {R"({\rtf1\ansi\ansicpg1252 caf\'e9 \'80\'92\'93\'94\'85 \'C4\'d6})",
         u"caf\u00E9 \u20AC\u2019\u201C\u201D\u2026 \u00C4\u00D6"},
        {"{\\rtf1 caf\xe9 \x80}", u"caf\u00E9 \u20AC"},
        // A hex escape with one digit (here a dropped control code) or none swallows nothing.
        {R"({\rtf1 a\'4b\'4z\'zz})", u"aKzzz"},
        // Unicode characters and the fallback after them, counted by \uc within its group.
        {R"({\rtf1 \u8364?x})", u"\u20ACx"},
        {R"({\rtf1 \uc0\u937 x})", u"\u03A9x"},
        {R"({\rtf1 \uc2\u937\'3f\'3fx})", u"\u03A9x"},
        {R"({\rtf1 \u937\emdash x})", u"\u03A9x"},
        {R"({\rtf1 {\uc2 \u937 ab}\u937 cd})", u"\u03A9\u03A9d"},
        {R"({\rtf1 \uc3\u937{\b x}})", u"\u03A9x"},
        // Negative numbers stand for the upper half; surrogate pairs join, halves are no
        // character.
        {R"({\rtf1 \u-3913?\u-10179?\u-8694?})", u"\uF0B7\U0001F60A"},
        {R"({\rtf1 \u-10179?x\u-8694?y})", u"\uFFFDx\uFFFDy"},
        {R"({\rtf1 \u-10179?})", u"\uFFFD"},
        // Controls are dropped but VT (a line break) and the paragraph separator; so are the
        // document's own placeholders and non-characters.
        {R"({\rtf1 a\u0?\u7?\u11?b\u8233?c\u-4?\u-560?\u-559?\u-2?\u-1?d})", u"a\u2028b\u2029cd"},
        {"{\\rtf1 a\0b\x01\tc}"sv, u"ab\tc"},
        // Destinations, unknown words, pictures, fields' instructions and binary data are no text.
        {R"({\rtf1\ansi\foo123 \bar-7 A{\*\unknown hidden {nested \par hidden}})"
         R"({\stylesheet{\s0 Normal;}}{\info{\title T}{\author Au}}{\header head\par})"
         R"({\footnote note}{\pict\pngblip\picw10 89504e470d0a})"
         R"({\*\shppict{\pict\emfblip 0100}}{\nonshppict{\pict\wmetafile8 0100}})"
         R"( B {\field{\*\fldinst HYPERLINK "http://example.invalid/"}{\fldrslt link}})"
         R"( {\field{\fldinst PAGE}{\fldrslt 7}} C\bin4 {}\\ D})",
         u"A B link 7 C D"},
        {R"({\rtf1 {\*\blob \bin3 }}}}E})", u"E"},
        // Broken streams are read as far as they go.
        {R"({\rtf1 no closing {\b brace)", u"no closing brace"},
        {R"({\rtf1 a} ignored {after})", u"a"},
        {R"({\rtf1 a\)", u"a"},
        {R"({\rtf1 a\')", u"a"},
        {R"({\rtf1 a\u)", u"a"},
        {R"({\rtf1 a\u-)", u"a-"},
        {R"({\rtf1 a\fs99999999999999999999 b})", u"ab"},
        {R"({\rtf1 a\bin999999 b})", u"a"},
        {R"({\rtf1{\fonttbl{\f0 Unfinished)", u""},
        {" \r\n\t{\\rtf1 leading blanks}", u"leading blanks"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(readText(c.rtf), text16(c.text)) << c.rtf;
    }
}

// Groups restore the format; \plain gives the default font, 12 points and no colour of its own;
// \cf0 names the colour table's empty first entry, the automatic colour. Without \deff the
// default font is font 0. \fs0 and negative sizes are ignored, \fs alone is 12 points.
TEST(RtfReader, ReadsCharacterFormatsWithGroupScope) {
    QTextDocument document;
    ASSERT_EQ(readText(R"({\rtf1{\fonttbl{\f0\fswiss Arial;}{\f1\froman Times New Roman;}})"
                       R"({\colortbl;\red255\green0\blue0;\red224\green224\blue224;\green255;})"
                       R"(\fs24 a{\b b\i c}d\ul e\ulnone\f1\fs21\cf1 f\cf2 g\plain h\cf0 i\cf3 j)"
                       R"(\fs1 k\fs0 l\fs-4 m\fs99999 n\fs o})",
                       &document),
              QString("abcdefghijklmno"));
    const auto arial = [](int height, std::uint32_t effects = 0, ColourRef colour = kAuto) {
        return fullFormat("Arial", height, effects, colour);
    };
    EXPECT_EQ(formatsOf(document),
              (std::vector<CharacterFormat>{
                  arial(240), arial(240, kBold), arial(240, kBold | kItalic), arial(240),
                  arial(240, kUnderline), fullFormat("Times New Roman", 210, 0, 0x0000FF),
                  fullFormat("Times New Roman", 210, 0, 0xE0E0E0), arial(240), arial(240),
                  arial(240, 0, 0x00FF00), arial(10, 0, 0x00FF00), arial(10, 0, 0x00FF00),
                  arial(10, 0, 0x00FF00), arial(32760, 0, 0x00FF00), arial(240, 0, 0x00FF00)}));
    // An empty text keeps the format at its mark.
    ASSERT_EQ(readText(R"({\rtf1 \fs48\b})", &document), QString());
    EXPECT_EQ(formatAt(document, 0), fullFormat("Liberation Serif", 480, kBold, kAuto));
}

// Entries without braces, alternate names and panose numbers inside entries, a name with a
// coded semicolon and coded letters, a default font other than 0, and a font the table does
// not define, which leaves the face open.
TEST(RtfReader, ReadsFontAndColourTablesInEveryShape) {
    QTextDocument document;
    ASSERT_EQ(readText(R"({\rtf1\deff1{\fonttbl\f0\fnil Menlo-Regular;\f1\fswiss Helvetica;)"
                       R"({\f2{\*\panose 020b0604}Odd\'3bName{\*\falt Other};})"
                       R"({\f3 Caf\'e9 \u1064?rift ;}}{\colortbl\red300\green-5\blue7})"
                       R"(a\f0 b\f2 c\f3 d\f9\cf0 e})",
                       &document),
              QString("abcde"));
    const QString faces[] = {"Helvetica", "Menlo-Regular", "Odd;Name",
                             text16(u"Caf\u00E9 \u0428rift"), "Liberation Serif"};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(formatAt(document, i).face, faces[i]) << i;
    }
    // A colour table without the closing semicolon, its components clamped to 0..255.
    EXPECT_EQ(formatAt(document, 4).colour, 0x0700FFu);
}

TEST(RtfReader, RefusesWhatIsNoRtfOrPassesItsLimitsAndLeavesTheDocumentEmpty) {
    QTextDocument document;
    const auto refuses = [&document](const std::string& rtf) {
        QTextCursor(&document).insertText("left over");
        const bool read =
            readRtf(QByteArrayView(rtf.data(), static_cast<qsizetype>(rtf.size())), document);
        EXPECT_TRUE(document.isEmpty()) << rtf.substr(0, 20);
        return !read;
    };
    for (const char* rtf : {"", "plain text", "{\\rt1 x}", "x{\\rtf1 x}"}) {
        EXPECT_TRUE(refuses(rtf)) << rtf;
    }
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
}

// Files written by hand in the manner of a rich-edit control of the WordPad kind, a full word
// processor with its style sheets, themes and revision marks, an office suite's writer, and a
// Cocoa text editor with its own dialect. Empty paragraphs have a position of their own.
TEST(RtfReader, ReadsFilesOfDifferentWordProcessors) {
    const auto calibri = [](std::uint32_t effects = 0, ColourRef colour = kAuto) {
        return fullFormat("Calibri", 220, effects, colour);
    };
    const auto serif = [](int height, std::uint32_t effects = 0, ColourRef colour = kAuto) {
        return fullFormat("Liberation Serif", height, effects, colour);
    };
    const auto helvetica = [](ColourRef colour) { return fullFormat("Helvetica", 240, 0, colour); };
    const struct {
        const char* file;
        const char16_t* text;
        std::vector<int> positions;
        std::vector<CharacterFormat> formats;  // at those positions
    } samples[] = {
        {"wordpad.rtf",
         u"Plain bold italic underlined\u2029Red Arial\u2029Green White caf\u00E9 \u20AC 5"
         u"\u2029\u2029Tab\tend\u2028next",
         {9, 11, 27, 29, 44, 45, 72},
         {calibri(kBold), calibri(kItalic), calibri(kUnderline),
          fullFormat("Arial", 280, kBold, 0x0000FF), calibri(0, 0x50B000), calibri(0, 0xE0E0E0),
          calibri()}},
        {"word.rtf",
         u"Hello bold and red.\u2029Gr\u00FC\u00DFe \u041F\u0440\u0438\u0432\u0435\u0442 "
         u"\u201Cquoted\u201D\u2029a link",
         {6, 15, 20, 47},
         {calibri(kBold), calibri(0, 0x0000FF), fullFormat("Times New Roman", 320, 0, kAuto),
          calibri(kUnderline, 0xFF0000)}},
        {"libreoffice.rtf",
         u"Serif text bold then big red italic\u2029\u2029Arial under \u20AC 5 \u2122 "
         u"\u4E2D\u6587",
         {11, 34, 36, 43, 56},
         {serif(240, kBold), serif(360, kItalic, 0x0000FF), serif(240),
          fullFormat("Arial", 240, kUnderline, kAuto), fullFormat("Arial", 240, 0, kAuto)}},
        {"textedit.rtf",
         u"Hello, World!\u2029Red line\u2029\u2029code\tx\u2014done",
         {0, 11, 21, 23, 30, 34},
         {helvetica(0), fullFormat("Helvetica-Bold", 240, kBold, 0x000000), helvetica(0x0702FB),
          helvetica(0x0702FB), fullFormat("Menlo-Regular", 260, kItalic, 0x000000),
          fullFormat("Menlo-Regular", 260, 0, 0x000000)}},
    };
    for (const auto& sample : samples) {
        SCOPED_TRACE(sample.file);
        QTextDocument document;
        ASSERT_TRUE(readRtf(test::readTestFile(sample.file), document));
        ASSERT_EQ(document.toRawText(), text16(sample.text));
        std::vector<CharacterFormat> formats;
        for (const int position : sample.positions) {
            formats.push_back(formatAt(document, position));
        }
        EXPECT_EQ(formats, sample.formats);
    }
}

void insert(QTextCursor& cursor, const QString& text, const CharacterFormat& format) {
    cursor.insertText(text, toTextCharFormat(format));
}

// A text with a bit of everything: faces (also ones that need escaping or Unicode), sizes from
// half a point to the largest, every combination of effects, the lamp colours, characters
// inside and outside the code page, tabs, line breaks, empty paragraphs of their own size, and
// text without a format.
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

TEST(RtfWriter, WritesWhatWordProcessorsReadAndReadsBackTheSame) {
    QTextDocument document;
    buildMixedText(document);
    const QByteArray rtf = writeRtf(document, testDefaults());
    // The font table starts with the defaults' face, the default font; the colour table's first
    // entry is empty: the automatic colour, which text never gets. Sizes in half points, effects
    // switched on and off, colours by index. Characters of the code page as \'hh, others as \uN
    // with a fallback, surrogates each. The empty paragraph carries the format at its mark. Text
    // without a format of its own is written in the defaults: 15 points, 0x123456.
    // Lines end in CR LF, shown here as |.
    EXPECT_EQ(QByteArray(rtf).replace("\r\n", "|"),
              R"({\rtf1\ansi\ansicpg1252\deff0\uc1|{\fonttbl{\f0\fnil\fcharset0 Liberation Serif;})"
              R"({\f1\fnil\fcharset0 Arial;}{\f2\fnil\fcharset0 Times New Roman;})"
              R"({\f3\fnil\fcharset0 Odd\'3bName\{x\}\\;}{\f4\fnil\fcharset0 \u1064?rift \'e9;}}|)"
              R"({\colortbl ;\red0\green0\blue0;\red255\green0\blue0;\red0\green255\blue0;)"
              R"(\red0\green0\blue255;\red224\green224\blue224;\red255\green255\blue255;)"
              R"(\red255\green0\blue255;\red86\green52\blue18;\red255\green255\blue0;}|)"
              R"(\pard\plain \f1\cf1 Plain \b\cf2 bold \fs21\b0\i\cf3 italic )"
              R"(\f2\fs36\i0\ul\cf4 under\fs1\b\i\cf1 all\par|)"
              R"(\f3\fs3276\b0\i0\ulnone\cf5 caf\'e9 \'80 \'92 \u937? \u-10179?\u-8694? )"
              R"(\{x\}\\y\tab z\line next\f4\fs13\cf6 \'a0nbsp\par|\f1\fs48\b\cf7 \par|)"
              R"(\f0\fs30\b0\cf8 no format of its own\f1\fs20\cf9 last\par|})");
    // Read back: the same characters and formats, and written again the same stream.
    QTextDocument read;
    ASSERT_TRUE(readRtf(rtf, read));
    EXPECT_EQ(read.toRawText(), document.toRawText());
    EXPECT_EQ(formatsOf(read), formatsOf(document));
    EXPECT_EQ(writeRtf(read, testDefaults()), rtf);
}

TEST(RtfWriter, RoundTripsPlainTextsAndLeavesOutControlCharactersAndPlaceholders) {
    // The text read back where it differs from the one written.
    const std::pair<const char16_t*, const char16_t*> cases[] = {
        {u"", nullptr},
        {u"\n", nullptr},
        {u"two\n\nempty", nullptr},
        {u"a\u0001b\uFFFCc\u0007d", u"abcd"}};
    for (const auto& [text, changed] : cases) {
        QTextDocument original;
        QTextCursor(&original).insertText(text16(text));
        QTextDocument back;
        ASSERT_TRUE(readRtf(writeRtf(original, testDefaults()), back));
        EXPECT_EQ(back.toRawText(), changed != nullptr ? text16(changed) : original.toRawText());
    }
}

}  // namespace
}  // namespace rova::test
