#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QTextCursor>

#include "RichTextControl.h"
#include "TextTestSupport.h"

namespace rova {
namespace {

using test::formatsOf;
using test::fullFormat;
using test::kBold;
using test::kItalic;
using test::kUnderline;
using test::rawText;
using test::text16;

constexpr std::uint32_t kRed = 0x0000FF;
constexpr std::uint32_t kGreen = 0x00FF00;

// "ab" plain, "cd" bold, both Arial 12 points without a colour of their own; "ef" Times,
// 15 points, green; then a second paragraph "gh" in Arial.
constexpr char kMixed[] =
    R"({\rtf1{\fonttbl{\f0 Arial;}{\f1 Times;}}{\colortbl;\red0\green255\blue0;})"
    R"(\f0\fs24 ab\b cd\b0\f1\fs30\cf1 ef\par\f0\fs24\cf0 gh})";

class RichTextControlTest : public test::QtApplicationTest {
  protected:
    void SetUp() override {
        // The parameter form's set-up: Arial, bold, 12 points, red.
        control_.setDefaultFormat(fullFormat("Arial", 240, kBold, kRed));
    }

    std::vector<CharacterFormat> formats(const RichTextControl& control) const {
        return formatsOf(*control.document(), control.defaultFormat());
    }

    RichTextControl control_;
};

TEST_F(RichTextControlTest, StreamsOutAndBackInWithTheSameCharactersAndFormats) {
    ASSERT_TRUE(control_.streamIn(kMixed));
    control_.setSelection(1, 5);
    control_.setSelectionFormat({kItalic | kUnderline, kItalic, 0, 0, {}});
    control_.setSelection(6, 6);
    QTest::keyClicks(&control_, "new");

    QByteArray rtf = "kept";
    ASSERT_TRUE(control_.streamOutRtf(rtf));
    ASSERT_TRUE(rtf.startsWith("kept{\\rtf1"));

    // Into a control with other defaults: every format came along explicitly.
    RichTextControl other;
    other.setDefaultFormat(fullFormat("Courier", 400, kUnderline, 0x00FFFF));
    ASSERT_TRUE(other.streamIn(QByteArrayView(rtf).sliced(4)));
    EXPECT_EQ(rawText(*other.document()), rawText(*control_.document()));
    EXPECT_EQ(formats(other), formats(control_));
}

TEST_F(RichTextControlTest, StreamsOutPlainTextInTheAnsiCodePage) {
    QTextCursor(control_.document())
        .insertText(text16(u"Line one\ncaf\u00E9 \u03A9 \u20AC\u2028soft\n"));
    QByteArray text("prefix\0", 7);
    ASSERT_TRUE(control_.streamOutPlainText(text));
    EXPECT_EQ(text, QByteArray("prefix\0Line one\r\ncaf\xe9 ? \x80\vsoft\r\n", 32));
}

TEST_F(RichTextControlTest, StreamInReplacesEverythingOrLeavesTheControlEmpty) {
    QTest::keyClicks(&control_, "typed");
    ASSERT_TRUE(control_.canUndo());
    ASSERT_TRUE(control_.isModified());

    ASSERT_TRUE(control_.streamIn(kMixed));
    EXPECT_EQ(rawText(*control_.document()), text16(u"abcdef\u2029gh"));
    EXPECT_EQ(control_.selection(), (RichTextControl::Selection{0, 0}));
    EXPECT_FALSE(control_.canUndo());
    EXPECT_FALSE(control_.isModified());

    EXPECT_FALSE(control_.streamIn("no rtf at all"));
    EXPECT_EQ(control_.textLength(), 0);
    EXPECT_FALSE(control_.canUndo());
}

TEST_F(RichTextControlTest, SelectsByCharacterPositions) {
    QTextCursor(control_.document()).insertText(text16(u"Hello w\u00F6rld\nx\u03A9"));
    EXPECT_EQ(control_.textLength(), 14);

    control_.setSelection(0, -1);
    EXPECT_EQ(control_.selection(), (RichTextControl::Selection{0, 14}));
    control_.setSelection(6, 14);
    EXPECT_EQ(control_.selectedText(), QByteArray("w\xf6rld\rx?"));
    control_.setSelection(3, 100);
    EXPECT_EQ(control_.selection(), (RichTextControl::Selection{3, 14}));
    // Selecting backwards leaves the caret at the second position.
    control_.setSelection(8, 2);
    EXPECT_EQ(control_.selection(), (RichTextControl::Selection{2, 8}));
    EXPECT_EQ(control_.textCursor().position(), 2);
    EXPECT_EQ(control_.selectedText(), QByteArray("llo w\xf6"));
    control_.setSelection(-1, 5);
    EXPECT_EQ(control_.selection(), (RichTextControl::Selection{2, 2}));
    EXPECT_EQ(control_.selectedText(), QByteArray());
}

TEST_F(RichTextControlTest, ReportsTheAttributesUniformOverTheSelection) {
    ASSERT_TRUE(control_.streamIn(kMixed));

    control_.setSelection(0, 4);  // "abcd": bold differs; the colour is the default red
    CharacterFormat format = control_.selectionFormat();
    EXPECT_EQ(format.mask, CharacterFormat::kAll & ~kBold);
    EXPECT_EQ(format.effects & kBold, 0u) << "values of the first character";
    EXPECT_EQ(format.height, 240);
    EXPECT_EQ(format.colour, kRed);
    EXPECT_EQ(format.face, QString("Arial"));

    control_.setSelection(2, 4);
    EXPECT_EQ(control_.selectionFormat(), fullFormat("Arial", 240, kBold, kRed));

    control_.setSelection(2, 6);
    EXPECT_EQ(control_.selectionFormat().mask, kItalic | kUnderline);

    // A selection across the paragraph break counts only the characters.
    control_.setSelection(6, 8);
    EXPECT_EQ(control_.selectionFormat(), fullFormat("Arial", 240, 0, kRed));
    control_.setSelection(4, 8);
    EXPECT_EQ(control_.selectionFormat().mask, kBold | kItalic | kUnderline);

    // With nothing selected: the format new text at the caret takes, all attributes named.
    control_.setSelection(3, 3);
    EXPECT_EQ(control_.selectionFormat(), fullFormat("Arial", 240, kBold, kRed));
}

TEST_F(RichTextControlTest, AppliesOnlyTheNamedAttributes) {
    ASSERT_TRUE(control_.streamIn(kMixed));
    control_.setSelection(2, 4);
    control_.setSelectionFormat({CharacterFormat::kColour, kItalic, 999, kGreen, "Ignored"});
    EXPECT_EQ(control_.selectionFormat(), fullFormat("Arial", 240, kBold, kGreen));
    control_.setSelectionFormat({kBold, 0, 0, 0, {}});
    EXPECT_EQ(control_.selectionFormat(), fullFormat("Arial", 240, 0, kGreen));

    // Toggling bold on a half-bold selection, as the Bold command does, makes it uniform.
    control_.setSelection(0, 2);
    control_.setSelectionFormat({kBold, kBold, 0, 0, {}});
    control_.setSelection(0, 4);
    CharacterFormat toggle = control_.selectionFormat();
    ASSERT_FALSE(toggle.mask & kBold);
    toggle.effects ^= kBold;
    toggle.mask = kBold;
    control_.setSelectionFormat(toggle);
    EXPECT_NE(control_.selectionFormat().mask & kBold, 0u);
    EXPECT_EQ(control_.selectionFormat().effects & kBold, 0u) << "the first character was bold";

    // Heights are kept in half points, which RTF carries exactly.
    control_.setSelectionFormat({CharacterFormat::kHeight, 0, 195, 0, {}});
    EXPECT_EQ(control_.selectionFormat().height, 200);
    control_.setSelectionFormat({CharacterFormat::kHeight, 0, 210, 0, {}});
    EXPECT_EQ(control_.selectionFormat().height, 210);
    control_.setSelectionFormat({CharacterFormat::kHeight, 0, 5, 0, {}});
    EXPECT_EQ(control_.selectionFormat().height, 10);

    // The changes are undoable.
    ASSERT_TRUE(control_.canUndo());
    control_.undo();
    EXPECT_EQ(control_.selectionFormat().height, 210);
}

TEST_F(RichTextControlTest, FormatsTheTextTypedNextWhenNothingIsSelected) {
    ASSERT_TRUE(control_.streamIn(kMixed));
    control_.setSelection(2, 2);
    control_.setSelectionFormat({kItalic | CharacterFormat::kColour, kItalic, 0, kGreen, {}});
    QTest::keyClicks(&control_, "z");
    EXPECT_EQ(rawText(*control_.document()), text16(u"abzcdef\u2029gh"));
    control_.setSelection(2, 3);
    EXPECT_EQ(control_.selectionFormat(), fullFormat("Arial", 240, kItalic, kGreen));
    control_.setSelection(1, 2);
    EXPECT_EQ(control_.selectionFormat(), fullFormat("Arial", 240, 0, kRed));
}

TEST_F(RichTextControlTest, DefaultFormatIsTheFormatOfTextWithoutItsOwn) {
    RichTextControl fresh;
    EXPECT_EQ(fresh.defaultFormat().mask, CharacterFormat::kAll);
    EXPECT_EQ(fresh.defaultFormat().colour, 0u) << "black until set";

    EXPECT_EQ(control_.defaultFormat(), fullFormat("Arial", 240, kBold, kRed));
    QTest::keyClicks(&control_, "new");
    control_.setSelection(0, -1);
    EXPECT_EQ(control_.selectionFormat(), fullFormat("Arial", 240, kBold, kRed));

    // A default change names only some attributes and reaches text without its own.
    control_.setDefaultFormat(
        {CharacterFormat::kColour | CharacterFormat::kHeight, 0, 195, kGreen, {}});
    EXPECT_EQ(control_.defaultFormat(), fullFormat("Arial", 200, kBold, kGreen));
    EXPECT_EQ(control_.selectionFormat(), fullFormat("Arial", 200, kBold, kGreen));

    // Streamed-in text that names no colour shows in the default colour; the default stays.
    ASSERT_TRUE(control_.streamIn(R"({\rtf1 plain})"));
    control_.setSelection(0, -1);
    EXPECT_EQ(control_.selectionFormat().colour, kGreen);
    EXPECT_EQ(control_.defaultFormat(), fullFormat("Arial", 200, kBold, kGreen));
}

TEST_F(RichTextControlTest, NotifiesEveryEdit) {
    QSignalSpy changes(&control_, &QTextEdit::textChanged);
    const auto changed = [&changes] {
        const bool any = !changes.isEmpty();
        changes.clear();
        return any;
    };

    QTest::keyClicks(&control_, "abc");
    EXPECT_TRUE(changed());
    control_.setSelection(0, 1);
    control_.setSelectionFormat({kItalic, kItalic, 0, 0, {}});
    EXPECT_TRUE(changed());
    control_.cut();
    EXPECT_TRUE(changed());
    control_.paste();
    EXPECT_TRUE(changed());
    control_.undo();
    EXPECT_TRUE(changed());
    EXPECT_TRUE(control_.streamIn(R"({\rtf1 x})"));
    EXPECT_TRUE(changed());
    control_.setSelection(0, 1);
    EXPECT_FALSE(changed()) << "selecting is no edit";
}

TEST_F(RichTextControlTest, TracksUndoAndTheModifiedFlag) {
    EXPECT_FALSE(control_.canUndo());
    EXPECT_FALSE(control_.isModified());
    QTest::keyClicks(&control_, "ab");
    EXPECT_TRUE(control_.canUndo());
    EXPECT_TRUE(control_.isModified());
    control_.setModified(false);
    EXPECT_FALSE(control_.isModified());
    control_.undo();
    EXPECT_EQ(control_.textLength(), 0);
    control_.redo();
    control_.emptyUndoBuffer();
    EXPECT_FALSE(control_.canUndo());
    EXPECT_EQ(control_.textLength(), 2);
}

TEST_F(RichTextControlTest, CopiesAndPastesRichText) {
    ASSERT_TRUE(control_.streamIn(kMixed));
    control_.setSelection(1, 7);
    control_.copy();
    const QMimeData* copied = QApplication::clipboard()->mimeData();
    ASSERT_NE(copied, nullptr);
    EXPECT_TRUE(copied->hasFormat("text/rtf")) << copied->formats().join(",").toStdString();

    RichTextControl other;
    other.setDefaultFormat(fullFormat("Courier", 400, 0, 0));
    ASSERT_TRUE(other.canPaste());
    other.paste();
    EXPECT_EQ(rawText(*other.document()), text16(u"bcdef\u2029"));
    const std::vector<CharacterFormat> source = formats(control_);
    const std::vector<CharacterFormat> pasted = formats(other);
    ASSERT_GE(pasted.size(), 5u);
    EXPECT_EQ(std::vector(pasted.begin(), pasted.begin() + 5),
              std::vector(source.begin() + 1, source.begin() + 6));
}

TEST_F(RichTextControlTest, PastesWebPagesAsCharactersAndFormatsOnly) {
    auto* html = new QMimeData;
    html->setHtml(
        "<p><span style='font-size:16px; color:#00ff00; font-weight:bold'>Hi</span> there "
        "<img src='missing.png'/>!</p><table><tr><td>A</td><td>B</td></tr></table>");
    QApplication::clipboard()->setMimeData(html);
    control_.setDefaultFormat(fullFormat("Arial", 240, 0, kRed));
    control_.paste();
    EXPECT_EQ(rawText(*control_.document()), text16(u"Hi there !\u2029A\u2029B\u2029"));
    control_.setSelection(0, 2);
    EXPECT_EQ(control_.selectionFormat(), fullFormat("Arial", 240, kBold, kGreen));
    control_.setSelection(2, 8);
    EXPECT_EQ(control_.selectionFormat(), fullFormat("Arial", 240, 0, kRed));

    auto* plain = new QMimeData;
    plain->setText("plain");
    QApplication::clipboard()->setMimeData(plain);
    control_.setSelection(0, -1);
    control_.paste();
    EXPECT_EQ(rawText(*control_.document()), QString("plain"));
}

}  // namespace
}  // namespace rova
