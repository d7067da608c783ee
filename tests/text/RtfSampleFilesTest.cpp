// Reads RTF written by hand in the manner of different word processors: a rich-edit control of
// the WordPad kind, a full word processor with its style sheets, themes and revision marks, an
// office suite's writer, and a Cocoa text editor with its own dialect.

#include <gtest/gtest.h>

#include <QTextDocument>

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
using test::readTestFile;
using test::text16;

// Expects `format` over the characters of `document` from `first` up to `last`.
void expectFormat(const QTextDocument& document, int first, int last,
                  const CharacterFormat& format) {
    for (int position = first; position < last; ++position) {
        EXPECT_EQ(formatAt(document, position), format) << "at " << position;
    }
}

TEST(RtfSampleFiles, ReadsRichEditStyle) {
    QTextDocument document;
    ASSERT_TRUE(readRtf(readTestFile("wordpad.rtf"), document));
    ASSERT_EQ(rawText(document),
              text16(u"Plain bold italic underlined\u2029Red Arial\u2029Green White caf\u00E9 "
                     u"\u20AC 5\u2029\u2029Tab\tend\u2028next"));
    const CharacterFormat body = fullFormat("Calibri", 220, 0, kAuto);
    expectFormat(document, 0, 6, body);
    expectFormat(document, 6, 10, fullFormat("Calibri", 220, kBold, kAuto));
    expectFormat(document, 11, 17, fullFormat("Calibri", 220, kItalic, kAuto));
    expectFormat(document, 18, 28, fullFormat("Calibri", 220, kUnderline, kAuto));
    expectFormat(document, 29, 38, fullFormat("Arial", 280, kBold, 0x0000FF));
    expectFormat(document, 39, 45, fullFormat("Calibri", 220, 0, 0x50B000));
    expectFormat(document, 45, 50, fullFormat("Calibri", 220, 0, 0xE0E0E0));
    expectFormat(document, 50, 59, body);
    expectFormat(document, 60, 61, body);  // the empty paragraph
    expectFormat(document, 61, 73, body);
}

TEST(RtfSampleFiles, ReadsWordProcessorStyle) {
    QTextDocument document;
    ASSERT_TRUE(readRtf(readTestFile("word.rtf"), document));
    ASSERT_EQ(rawText(document),
              text16(u"Hello bold and red.\u2029Gr\u00FC\u00DFe "
                     u"\u041F\u0440\u0438\u0432\u0435\u0442 \u201Cquoted\u201D\u2029a link"));
    const CharacterFormat body = fullFormat("Calibri", 220, 0, kAuto);
    expectFormat(document, 0, 6, body);
    expectFormat(document, 6, 10, fullFormat("Calibri", 220, kBold, kAuto));
    expectFormat(document, 10, 15, body);
    expectFormat(document, 15, 18, fullFormat("Calibri", 220, 0, 0x0000FF));
    expectFormat(document, 18, 19, body);
    expectFormat(document, 20, 41, fullFormat("Times New Roman", 320, 0, kAuto));
    expectFormat(document, 42, 48, fullFormat("Calibri", 220, kUnderline, 0xFF0000));
}

TEST(RtfSampleFiles, ReadsOfficeSuiteStyle) {
    QTextDocument document;
    ASSERT_TRUE(readRtf(readTestFile("libreoffice.rtf"), document));
    ASSERT_EQ(rawText(document),
              text16(u"Serif text bold then big red italic\u2029\u2029Arial under "
                     u"\u20AC 5 \u2122 \u4E2D\u6587"));
    const CharacterFormat serif = fullFormat("Liberation Serif", 240, 0, kAuto);
    expectFormat(document, 0, 11, serif);
    expectFormat(document, 11, 15, fullFormat("Liberation Serif", 240, kBold, kAuto));
    expectFormat(document, 15, 21, serif);
    expectFormat(document, 21, 35, fullFormat("Liberation Serif", 360, kItalic, 0x0000FF));
    expectFormat(document, 36, 37, serif);  // the empty paragraph
    expectFormat(document, 37, 43, fullFormat("Arial", 240, 0, kAuto));
    expectFormat(document, 43, 48, fullFormat("Arial", 240, kUnderline, kAuto));
    expectFormat(document, 48, 57, fullFormat("Arial", 240, 0, kAuto));
}

TEST(RtfSampleFiles, ReadsCocoaStyle) {
    QTextDocument document;
    ASSERT_TRUE(readRtf(readTestFile("textedit.rtf"), document));
    ASSERT_EQ(rawText(document),
              text16(u"Hello, World!\u2029Red line\u2029\u2029code\tx\u2014done"));
    expectFormat(document, 0, 7, fullFormat("Helvetica", 240, 0, 0x000000));
    expectFormat(document, 7, 12, fullFormat("Helvetica-Bold", 240, kBold, 0x000000));
    expectFormat(document, 12, 13, fullFormat("Helvetica", 240, 0, 0x000000));
    expectFormat(document, 14, 22, fullFormat("Helvetica", 240, 0, 0x0702FB));
    expectFormat(document, 23, 24, fullFormat("Helvetica", 240, 0, 0x0702FB));
    expectFormat(document, 24, 30, fullFormat("Menlo-Regular", 260, 0, 0x000000));
    expectFormat(document, 30, 31, fullFormat("Menlo-Regular", 260, kItalic, 0x000000));
    expectFormat(document, 31, 35, fullFormat("Menlo-Regular", 260, 0, 0x000000));
}

}  // namespace
}  // namespace rova
