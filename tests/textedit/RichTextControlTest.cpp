// The rich-text control as a view of a rich-text document: typing, the clipboard, and the caret,
// selection and appearance kept in step with the document.

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QTest>
#include <QTextCursor>

#include "QtApplicationTest.h"
#include "RichTextControl.h"
#include "RichTextDocument.h"
#include "TextTestSupport.h"

namespace rova::test {
namespace {

class RichTextControlTest : public test::QtApplicationTest {
  protected:
    void SetUp() override {
        // The parameter form's set-up: Arial, bold, 12 points, red.
        text_.setDefaultFormat(fullFormat("Arial", 240, kBold, kRed));
    }

    RichTextDocument text_;
    RichTextControl control_{text_};
};

// A caret or selection set on either side is the other's at once, as is the format of the
// text typed next.
TEST_F(RichTextControlTest, ShowsTheDocumentAndKeepsTheCaretAndSelectionInStep) {
    ASSERT_TRUE(text_.streamIn(kMixed));
    EXPECT_EQ(control_.document(), &text_.document());
    EXPECT_EQ(control_.textCursor().position(), 0);
    text_.setSelection(5, 1);
    EXPECT_EQ(control_.textCursor().anchor(), 5);
    EXPECT_EQ(control_.textCursor().position(), 1);
    QTest::keyClick(&control_, Qt::Key_End, Qt::ShiftModifier);
    EXPECT_EQ(text_.selection(), (RichTextDocument::Selection{5, 6}));
    EXPECT_EQ(text_.selectedText(), QByteArray("f"));
    QTest::keyClick(&control_, Qt::Key_Left);
    EXPECT_EQ(text_.selection(), (RichTextDocument::Selection{5, 5}));
    control_.selectAll();
    EXPECT_EQ(text_.selection(), (RichTextDocument::Selection{0, 9}));
    // The document's format for the text typed next is what the control types.
    text_.setSelection(2, 2);
    text_.setSelectionFormat({kItalic | CharacterFormat::kColour, kItalic, 0, kGreen, {}});
    QTest::keyClicks(&control_, "z");
    EXPECT_EQ(text_.document().toRawText(), text16(u"abzcdef\u2029gh"));
    control_.setSelection(2, 3);
    EXPECT_EQ(control_.selectionFormat(), fullFormat("Arial", 240, kItalic, kGreen));
    control_.setSelection(1, 2);
    EXPECT_EQ(control_.selectionFormat(), fullFormat("Arial", 240, 0, kRed));
    // And a format the control sets for the text typed next is the document's.
    control_.setSelection(3, 3);
    control_.setFontUnderline(true);
    EXPECT_NE(text_.selectionFormat().effects & CharacterFormat::kUnderline, 0u);
}

TEST_F(RichTextControlTest, ShowsTheDefaultFormatAndTheBackground) {
    EXPECT_EQ(control_.font().family(), QString("Arial"));
    EXPECT_EQ(control_.font().pointSizeF(), 12.0);
    EXPECT_TRUE(control_.font().bold());
    EXPECT_EQ(control_.palette().color(QPalette::Text), QColor(255, 0, 0));
    text_.setDefaultFormat(
        {CharacterFormat::kHeight | CharacterFormat::kColour, 0, 300, kGreen, {}});
    text_.setBackgroundColour(0x000000);
    EXPECT_EQ(control_.font().pointSizeF(), 15.0);
    EXPECT_EQ(control_.palette().color(QPalette::Text), QColor(0, 255, 0));
    EXPECT_EQ(control_.palette().color(QPalette::Base), QColor(0, 0, 0));
    EXPECT_EQ(text_.defaultFormat(), fullFormat("Arial", 300, kBold, kGreen))
        << "showing the format leaves it as it was";
}

TEST_F(RichTextControlTest, CopiesAndPastesRichText) {
    ASSERT_TRUE(control_.streamIn(kMixed));
    control_.setSelection(1, 7);
    control_.copy();
    const QMimeData* copied = QApplication::clipboard()->mimeData();
    ASSERT_NE(copied, nullptr);
    EXPECT_TRUE(copied->hasFormat("text/rtf")) << copied->formats().join(",").toStdString();
    RichTextDocument otherText;
    RichTextControl other(otherText);
    other.setDefaultFormat(fullFormat("Courier", 400, 0, 0));
    ASSERT_TRUE(other.canPaste());
    other.paste();
    EXPECT_EQ(otherText.document().toRawText(), text16(u"bcdef\u2029"));
    EXPECT_EQ(otherText.selection(), (RichTextDocument::Selection{6, 6}));
    const std::vector<CharacterFormat> source = formatsOf(text_.document(), text_.defaultFormat());
    const std::vector<CharacterFormat> pasted =
        formatsOf(otherText.document(), otherText.defaultFormat());
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
    EXPECT_EQ(text_.document().toRawText(), text16(u"Hi there !\u2029A\u2029B\u2029"));
    control_.setSelection(0, 2);
    EXPECT_EQ(control_.selectionFormat(), fullFormat("Arial", 240, kBold, kGreen));
    control_.setSelection(2, 8);
    EXPECT_EQ(control_.selectionFormat(), fullFormat("Arial", 240, 0, kRed));
    auto* plain = new QMimeData;
    plain->setText("plain");
    QApplication::clipboard()->setMimeData(plain);
    control_.setSelection(0, -1);
    control_.paste();
    EXPECT_EQ(text_.document().toRawText(), QString("plain"));
}

}  // namespace
}  // namespace rova::test
