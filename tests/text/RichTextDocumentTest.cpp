// The rich-text document without any window: streams, selections, formats, the default format
// and the edit state.

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QSignalSpy>
#include <QTextCursor>

#include <functional>

#include "RichTextDocument.h"
#include "TextTestSupport.h"

namespace rova {
namespace {

using test::formatsOf;
using test::fullFormat;
using test::kBold;
using test::kGreen;
using test::kItalic;
using test::kMixed;
using test::kRed;
using test::kUnderline;
using test::rawText;
using test::text16;

// Inserts `text` at `position` as an edit of its own, in the format of the text before it.
void insertAt(QTextDocument& document, int position, const QString& text) {
    QTextCursor cursor(&document);
    cursor.setPosition(position);
    cursor.insertText(text);
}

class RichTextDocumentTest : public test::QtGuiApplicationTest {
  protected:
    void SetUp() override {
        // The parameter form's set-up: Arial, bold, 12 points, red.
        text_.setDefaultFormat(fullFormat("Arial", 240, kBold, kRed));
    }

    std::vector<CharacterFormat> formats(const RichTextDocument& text) const {
        return formatsOf(text.document(), text.defaultFormat());
    }

    RichTextDocument text_;
};

TEST_F(RichTextDocumentTest, StreamsOutAndBackInWithTheSameCharactersAndFormats) {
    ASSERT_TRUE(text_.streamIn(kMixed));
    text_.setSelection(1, 5);
    text_.setSelectionFormat({kItalic | kUnderline, kItalic, 0, 0, {}});
    insertAt(text_.document(), 6, "new");

    QByteArray rtf = "kept";
    ASSERT_TRUE(text_.streamOutRtf(rtf));
    ASSERT_TRUE(rtf.startsWith("kept{\\rtf1"));

    // Into a document with other defaults: every format came along explicitly.
    RichTextDocument other;
    other.setDefaultFormat(fullFormat("Courier", 400, kUnderline, 0x00FFFF));
    ASSERT_TRUE(other.streamIn(QByteArrayView(rtf).sliced(4)));
    EXPECT_EQ(rawText(other.document()), rawText(text_.document()));
    EXPECT_EQ(formats(other), formats(text_));
}

TEST_F(RichTextDocumentTest, StreamsOutPlainTextInTheAnsiCodePage) {
    insertAt(text_.document(), 0, text16(u"Line one\ncaf\u00E9 \u03A9 \u20AC\u2028soft\n"));
    QByteArray text("prefix\0", 7);
    ASSERT_TRUE(text_.streamOutPlainText(text));
    EXPECT_EQ(text, QByteArray("prefix\0Line one\r\ncaf\xe9 ? \x80\vsoft\r\n", 32));
}

TEST_F(RichTextDocumentTest, StreamInReplacesEverythingOrLeavesTheDocumentEmpty) {
    insertAt(text_.document(), 0, "typed");
    text_.setSelection(1, 3);
    ASSERT_TRUE(text_.canUndo());
    ASSERT_TRUE(text_.isModified());

    ASSERT_TRUE(text_.streamIn(kMixed));
    EXPECT_EQ(rawText(text_.document()), text16(u"abcdef\u2029gh"));
    EXPECT_EQ(text_.selection(), (RichTextDocument::Selection{0, 0}));
    EXPECT_FALSE(text_.canUndo());
    EXPECT_FALSE(text_.isModified());

    EXPECT_FALSE(text_.streamIn("no rtf at all"));
    EXPECT_EQ(text_.textLength(), 0);
    EXPECT_FALSE(text_.canUndo());
}

TEST_F(RichTextDocumentTest, ClearingEmptiesTheTextButKeepsTheFormatOfTheTextTypedNext) {
    ASSERT_TRUE(text_.streamIn(kMixed));
    insertAt(text_.document(), 0, "more");
    text_.setSelection(6, 6);
    text_.setSelectionFormat({kItalic, kItalic, 0, 0, {}});
    ASSERT_TRUE(text_.canUndo());
    ASSERT_TRUE(text_.isModified());

    text_.clear();
    EXPECT_EQ(text_.textLength(), 0);
    EXPECT_FALSE(text_.canUndo());
    EXPECT_FALSE(text_.isModified());
    EXPECT_EQ(text_.selectionFormat(), fullFormat("Arial", 240, kItalic, kRed));
}

TEST_F(RichTextDocumentTest, SelectsByCharacterPositions) {
    insertAt(text_.document(), 0, text16(u"Hello w\u00F6rld\nx\u03A9"));
    EXPECT_EQ(text_.textLength(), 14);

    text_.setSelection(0, -1);
    EXPECT_EQ(text_.selection(), (RichTextDocument::Selection{0, 14}));
    text_.setSelection(6, 14);
    EXPECT_EQ(text_.selectedText(), QByteArray("w\xf6rld\rx?"));
    text_.setSelection(3, 100);
    EXPECT_EQ(text_.selection(), (RichTextDocument::Selection{3, 14}));
    // Selecting backwards leaves the caret at the second position.
    text_.setSelection(8, 2);
    EXPECT_EQ(text_.selection(), (RichTextDocument::Selection{2, 8}));
    EXPECT_EQ(text_.cursor().position(), 2);
    EXPECT_EQ(text_.selectedText(), QByteArray("llo w\xf6"));
    text_.setSelection(-1, 5);
    EXPECT_EQ(text_.selection(), (RichTextDocument::Selection{2, 2}));
    EXPECT_EQ(text_.selectedText(), QByteArray());
}

TEST_F(RichTextDocumentTest, ReportsTheAttributesUniformOverTheSelection) {
    ASSERT_TRUE(text_.streamIn(kMixed));

    text_.setSelection(0, 4);  // "abcd": bold differs; the colour is the default red
    CharacterFormat format = text_.selectionFormat();
    EXPECT_EQ(format.mask, CharacterFormat::kAll & ~kBold);
    EXPECT_EQ(format.effects & kBold, 0u) << "values of the first character";
    EXPECT_EQ(format.height, 240);
    EXPECT_EQ(format.colour, kRed);
    EXPECT_EQ(format.face, QString("Arial"));

    text_.setSelection(2, 4);
    EXPECT_EQ(text_.selectionFormat(), fullFormat("Arial", 240, kBold, kRed));

    text_.setSelection(2, 6);
    EXPECT_EQ(text_.selectionFormat().mask, kItalic | kUnderline);

    // A selection across the paragraph break counts only the characters.
    text_.setSelection(6, 8);
    EXPECT_EQ(text_.selectionFormat(), fullFormat("Arial", 240, 0, kRed));
    text_.setSelection(4, 8);
    EXPECT_EQ(text_.selectionFormat().mask, kBold | kItalic | kUnderline);

    // With nothing selected: the format new text at the caret takes, all attributes named.
    text_.setSelection(3, 3);
    EXPECT_EQ(text_.selectionFormat(), fullFormat("Arial", 240, kBold, kRed));
}

TEST_F(RichTextDocumentTest, AppliesOnlyTheNamedAttributes) {
    ASSERT_TRUE(text_.streamIn(kMixed));
    text_.setSelection(2, 4);
    text_.setSelectionFormat({CharacterFormat::kColour, kItalic, 999, kGreen, "Ignored"});
    EXPECT_EQ(text_.selectionFormat(), fullFormat("Arial", 240, kBold, kGreen));
    text_.setSelectionFormat({kBold, 0, 0, 0, {}});
    EXPECT_EQ(text_.selectionFormat(), fullFormat("Arial", 240, 0, kGreen));

    // Toggling bold on a half-bold selection, as the Bold command does, makes it uniform.
    text_.setSelection(0, 2);
    text_.setSelectionFormat({kBold, kBold, 0, 0, {}});
    text_.setSelection(0, 4);
    CharacterFormat toggle = text_.selectionFormat();
    ASSERT_FALSE(toggle.mask & kBold);
    toggle.effects ^= kBold;
    toggle.mask = kBold;
    text_.setSelectionFormat(toggle);
    EXPECT_NE(text_.selectionFormat().mask & kBold, 0u);
    EXPECT_EQ(text_.selectionFormat().effects & kBold, 0u) << "the first character was bold";

    // Heights are kept in half points, which RTF carries exactly.
    text_.setSelectionFormat({CharacterFormat::kHeight, 0, 195, 0, {}});
    EXPECT_EQ(text_.selectionFormat().height, 200);
    text_.setSelectionFormat({CharacterFormat::kHeight, 0, 210, 0, {}});
    EXPECT_EQ(text_.selectionFormat().height, 210);
    text_.setSelectionFormat({CharacterFormat::kHeight, 0, 5, 0, {}});
    EXPECT_EQ(text_.selectionFormat().height, 10);

    // The changes are undoable.
    ASSERT_TRUE(text_.canUndo());
    text_.document().undo();
    EXPECT_EQ(text_.selectionFormat().height, 210);
}

TEST_F(RichTextDocumentTest, FormatsTheTextTypedNextWhenNothingIsSelected) {
    ASSERT_TRUE(text_.streamIn(kMixed));
    text_.setSelection(2, 2);
    text_.setSelectionFormat({kItalic | CharacterFormat::kColour, kItalic, 0, kGreen, {}});
    EXPECT_EQ(text_.selectionFormat(), fullFormat("Arial", 240, kItalic, kGreen));
    EXPECT_EQ(formatsOf(text_.document(), text_.defaultFormat())[1],
              fullFormat("Arial", 240, 0, kRed))
        << "no character changed";

    QTextCursor caret = text_.cursor();
    caret.insertText("z");
    EXPECT_EQ(rawText(text_.document()), text16(u"abzcdef\u2029gh"));
    text_.setSelection(2, 3);
    EXPECT_EQ(text_.selectionFormat(), fullFormat("Arial", 240, kItalic, kGreen));
}

TEST_F(RichTextDocumentTest, DefaultFormatIsTheFormatOfTextWithoutItsOwn) {
    RichTextDocument fresh;
    EXPECT_EQ(fresh.defaultFormat().mask, CharacterFormat::kAll);
    EXPECT_EQ(fresh.defaultFormat().colour, 0u) << "black until set";
    EXPECT_EQ(fresh.defaultFormat().face, QGuiApplication::font().family());
    EXPECT_FALSE(fresh.backgroundColour().isValid());

    EXPECT_EQ(text_.defaultFormat(), fullFormat("Arial", 240, kBold, kRed));
    insertAt(text_.document(), 0, "new");
    text_.setSelection(0, -1);
    EXPECT_EQ(text_.selectionFormat(), fullFormat("Arial", 240, kBold, kRed));

    // A default change names only some attributes and reaches text without its own.
    QSignalSpy appearance(&text_, &RichTextDocument::appearanceChanged);
    text_.setDefaultFormat(
        {CharacterFormat::kColour | CharacterFormat::kHeight, 0, 195, kGreen, {}});
    EXPECT_EQ(text_.defaultFormat(), fullFormat("Arial", 200, kBold, kGreen));
    EXPECT_EQ(text_.selectionFormat(), fullFormat("Arial", 200, kBold, kGreen));
    EXPECT_EQ(appearance.count(), 1);

    // Streamed-in text that names no colour shows in the default colour; the default stays.
    ASSERT_TRUE(text_.streamIn(R"({\rtf1 plain})"));
    text_.setSelection(0, -1);
    EXPECT_EQ(text_.selectionFormat().colour, kGreen);
    EXPECT_EQ(text_.defaultFormat(), fullFormat("Arial", 200, kBold, kGreen));

    text_.setBackgroundColour(kRed);
    EXPECT_EQ(text_.backgroundColour(), QColor(255, 0, 0));
    EXPECT_EQ(appearance.count(), 2);
}

// Edits are announced, however they are made; moving the caret or the selection is no edit but
// is announced to views as a caret change, and so is a change of the format of the text typed
// next.
TEST_F(RichTextDocumentTest, NotifiesEveryEditAndEveryCaretChange) {
    QSignalSpy edits(&text_, &RichTextDocument::contentsChanged);
    QSignalSpy carets(&text_, &RichTextDocument::cursorChanged);
    const struct {
        const char* what;
        std::function<void()> act;
        bool edit;
        bool caretChange;
    } steps[] = {
        {"stream in", [this] { text_.streamIn(R"({\rtf1 abc})"); }, true, true},
        {"select", [this] { text_.setSelection(0, 1); }, false, true},
        {"format",
         [this] {
             text_.setSelectionFormat({kItalic, kItalic, 0, 0, {}});
         },
         true, true},
        {"format at the caret",
         [this, &carets] {
             text_.setSelection(2, 2);
             carets.clear();
             text_.setSelectionFormat({kBold, kBold, 0, 0, {}});
         },
         false, true},
        {"edit directly", [this] { insertAt(text_.document(), 1, "x"); }, true, false},
        {"clear", [this] { text_.clear(); }, true, true},
        {"set plain text", [this] { text_.document().setPlainText("plain"); }, true, false},
        {"change the default",
         [this] {
             text_.setDefaultFormat({kBold, 0, 0, 0, {}});
         },
         false, false},
    };
    for (const auto& step : steps) {
        edits.clear();
        carets.clear();
        step.act();
        EXPECT_EQ(!edits.isEmpty(), step.edit) << step.what;
        EXPECT_EQ(!carets.isEmpty(), step.caretChange) << step.what;
    }
}

TEST_F(RichTextDocumentTest, TracksUndoAndTheModifiedFlag) {
    EXPECT_FALSE(text_.canUndo());
    EXPECT_FALSE(text_.isModified());
    insertAt(text_.document(), 0, "ab");
    EXPECT_TRUE(text_.canUndo());
    EXPECT_TRUE(text_.isModified());
    text_.setModified(false);
    EXPECT_FALSE(text_.isModified());
    text_.document().undo();
    EXPECT_EQ(text_.textLength(), 0);
    text_.document().redo();
    text_.emptyUndoBuffer();
    EXPECT_FALSE(text_.canUndo());
    EXPECT_EQ(text_.textLength(), 2);
}

}  // namespace
}  // namespace rova
