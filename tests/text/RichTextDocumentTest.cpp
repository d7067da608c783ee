// The rich-text document without any window: streams, selections, formats, the default format,
// the edit state and the layout onto other painters.

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSet>
#include <QSignalSpy>
#include <QTextCursor>

#include "RichTextDocument.h"
#include "TextTestSupport.h"

namespace rova::test {
namespace {

// Inserts `text` at `position` as an edit of its own, in the format of the text before it.
void insertAt(QTextDocument& document, int position, const QString& text) {
    QTextCursor cursor(&document);
    cursor.setPosition(position);
    cursor.insertText(text);
}

class RichTextDocumentTest : public test::QtGuiApplicationTest {
  protected:
    // The parameter form's set-up: Arial, bold, 12 points, red.
    void SetUp() override { text_.setDefaultFormat(fullFormat("Arial", 240, kBold, kRed)); }

    void expectEditState(int length, bool canUndo, bool modified) {
        EXPECT_EQ(text_.textLength(), length);
        EXPECT_EQ(text_.canUndo(), canUndo);
        EXPECT_EQ(text_.isModified(), modified);
    }

    RichTextDocument text_;
};

// Both streams append to what the sink holds.
TEST_F(RichTextDocumentTest, StreamsOutPlainTextInTheAnsiCodePageAndRtf) {
    insertAt(text_.document(), 0, text16(u"Line one\ncaf\u00E9 \u03A9 \u20AC\u2028soft\n"));
    QByteArray text("prefix\0", 7);
    ASSERT_TRUE(text_.streamOutPlainText(text));
    EXPECT_EQ(text, QByteArray("prefix\0Line one\r\ncaf\xe9 ? \x80\vsoft\r\n", 32));
    ASSERT_TRUE(text_.streamOutRtf(text));
    EXPECT_TRUE(
        text.startsWith(QByteArray("prefix\0Line one\r\ncaf\xe9 ? \x80\vsoft\r\n{\\rtf1", 38)));
}

TEST_F(RichTextDocumentTest, StreamingInAndClearingReplaceTheTextAndTheEditState) {
    insertAt(text_.document(), 0, "ab");
    expectEditState(2, true, true);
    text_.setModified(false);
    text_.emptyUndoBuffer();
    expectEditState(2, false, false);
    text_.setSelection(1, 2);
    ASSERT_TRUE(text_.streamIn(kMixed));
    EXPECT_EQ(text_.document().toRawText(), text16(u"abcdef\u2029gh"));
    EXPECT_EQ(text_.selection(), (RichTextDocument::Selection{0, 0}));
    expectEditState(9, false, false);
    // Clearing keeps the format of the text typed next.
    insertAt(text_.document(), 0, "more");
    text_.setSelection(6, 6);
    text_.setSelectionFormat({kItalic, kItalic, 0, 0, {}});
    text_.clear();
    expectEditState(0, false, false);
    EXPECT_EQ(text_.selectionFormat(), fullFormat("Arial", 240, kItalic, kRed));
    insertAt(text_.document(), 0, "typed");
    EXPECT_FALSE(text_.streamIn("no rtf at all"));
    expectEditState(0, false, false);
}

TEST_F(RichTextDocumentTest, SelectsByCharacterPositions) {
    insertAt(text_.document(), 0, text16(u"Hello w\u00F6rld\nx\u03A9"));
    EXPECT_EQ(text_.textLength(), 14);
    // Limited to the text; backwards leaves the caret at the second position; a negative first
    // position leaves the caret where it is.
    const struct {
        int first, last;
        RichTextDocument::Selection selection;
        int caret;
        QByteArray text;
    } cases[] = {
        {0, -1, {0, 14}, 14, "Hello w\xf6rld\rx?"},
        {3, 100, {3, 14}, 14, "lo w\xf6rld\rx?"},
        {8, 2, {2, 8}, 2, "llo w\xf6"},
        {-1, 5, {2, 2}, 2, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.first << ", " << c.last);
        text_.setSelection(c.first, c.last);
        EXPECT_EQ(text_.selection(), c.selection);
        EXPECT_EQ(text_.cursor().position(), c.caret);
        EXPECT_EQ(text_.selectedText(), c.text);
    }
}

// The mask names the attributes uniform over the characters (paragraph breaks not counted); the
// values are the first character's. With nothing selected: the format text typed at the caret
// takes, all attributes named.
TEST_F(RichTextDocumentTest, ReportsTheUniformAttributesAndAppliesOnlyTheNamedOnes) {
    ASSERT_TRUE(text_.streamIn(kMixed));
    constexpr std::uint32_t kAll = CharacterFormat::kAll;
    const struct {
        int first, last;
        CharacterFormat format;
    } cases[] = {
        {0, 4, {kAll & ~kBold, 0, 240, kRed, "Arial"}},
        {2, 4, {kAll, kBold, 240, kRed, "Arial"}},
        {2, 6, {kItalic | kUnderline, kBold, 240, kRed, "Arial"}},
        {6, 8, {kAll, 0, 240, kRed, "Arial"}},
        {4, 8, {kBold | kItalic | kUnderline, 0, 300, kGreen, "Times"}},
        {3, 3, {kAll, kBold, 240, kRed, "Arial"}},
    };
    for (const auto& c : cases) {
        text_.setSelection(c.first, c.last);
        EXPECT_EQ(text_.selectionFormat(), c.format) << c.first << ", " << c.last;
    }
    // Setting a format applies only the attributes it names, as an edit.
    text_.setSelection(2, 4);
    text_.setSelectionFormat({CharacterFormat::kColour, kItalic, 999, kGreen, "Ignored"});
    EXPECT_EQ(text_.selectionFormat(), fullFormat("Arial", 240, kBold, kGreen));
    text_.setSelectionFormat({kBold, 0, 0, 0, {}});
    EXPECT_EQ(text_.selectionFormat(), fullFormat("Arial", 240, 0, kGreen));
    // Heights are kept in half points, which RTF carries exactly.
    for (const auto& [twips, kept] : {std::pair{195, 200}, {210, 210}, {5, 10}}) {
        text_.setSelectionFormat({CharacterFormat::kHeight, 0, twips, 0, {}});
        EXPECT_EQ(text_.selectionFormat().height, kept) << twips;
    }
    ASSERT_TRUE(text_.canUndo());
    text_.document().undo();
    EXPECT_EQ(text_.selectionFormat().height, 210);
}

TEST_F(RichTextDocumentTest, DefaultFormatIsTheFormatOfTextWithoutItsOwn) {
    const RichTextDocument fresh;
    EXPECT_EQ(fresh.defaultFormat(),
              fullFormat(QGuiApplication::font().family(), fresh.defaultFormat().height))
        << "the application font in black";
    EXPECT_FALSE(fresh.backgroundColour().isValid());
    // A default change names only some attributes and reaches text without its own.
    insertAt(text_.document(), 0, "new");
    text_.setSelection(0, -1);
    QSignalSpy appearance(&text_, &RichTextDocument::appearanceChanged);
    text_.setDefaultFormat(
        {CharacterFormat::kColour | CharacterFormat::kHeight, 0, 195, kGreen, {}});
    EXPECT_EQ(text_.defaultFormat(), fullFormat("Arial", 200, kBold, kGreen));
    EXPECT_EQ(text_.selectionFormat(), fullFormat("Arial", 200, kBold, kGreen));
    EXPECT_EQ(appearance.count(), 1);
    // Streaming in leaves the default as it is.
    ASSERT_TRUE(text_.streamIn(R"({\rtf1 plain})"));
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
    const auto expectSignals = [&](const char* what, bool edit, bool caretChange) {
        EXPECT_EQ(!edits.isEmpty(), edit) << what;
        EXPECT_EQ(!carets.isEmpty(), caretChange) << what;
        edits.clear();
        carets.clear();
    };
    text_.streamIn(R"({\rtf1 abc})");
    expectSignals("stream in", true, true);
    text_.setSelection(0, 1);
    expectSignals("select", false, true);
    text_.setSelectionFormat({kItalic, kItalic, 0, 0, {}});
    expectSignals("format", true, true);
    text_.setSelection(2, 2);
    carets.clear();
    text_.setSelectionFormat({kBold, kBold, 0, 0, {}});
    expectSignals("format at the caret", false, true);
    insertAt(text_.document(), 1, "x");
    expectSignals("edit directly", true, false);
    text_.clear();
    expectSignals("clear", true, true);
    text_.setDefaultFormat({kBold, 0, 0, 0, {}});
    expectSignals("change the default", false, false);
}

constexpr QRgb kBackground = qRgb(1, 2, 3);
const QRect kBand(0, 0, 400, 64);
const QRect kBandTwips(0, 0, 400 * 20, 64 * 20);
constexpr char kRedHello[] =
    R"({\rtf1{\fonttbl{\f0 Arial;}}{\colortbl;\red255\green0\blue0;}\f0\fs24\cf1 Hello})";

// Where (the bounding box) and in which colours an image differs from the background.
std::pair<QRect, QSet<QRgb>> drawnIn(const QImage& image) {
    std::pair<QRect, QSet<QRgb>> drawn;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (const QRgb pixel = image.pixel(x, y); pixel != kBackground) {
                drawn.first |= QRect(x, y, 1, 1);
                drawn.second.insert(pixel);
            }
        }
    }
    return drawn;
}

// The layout onto other painters, the way text becomes a lamp picture: 72 dots per inch, glyphs
// in their exact colours, nothing drawn where no glyph is.
class TextLayoutTest : public RichTextDocumentTest {
  protected:
    void SetUp() override { text_.setDefaultFormat(fullFormat("Arial", 240, 0, kGreen)); }

    static QImage blankBand() {
        QImage band(kBand.size(), QImage::Format_RGB32);
        band.fill(kBackground);
        return band;
    }

    // Lays the text out in `layout` and draws it into a blank band; `used` gets the room taken.
    QImage render(const QRect& layout, QRect& used) {
        QImage band = blankBand();
        QPainter painter(&band);
        used = text_.formatRange(&painter, layout);
        return band;
    }
};

// One line of 12-point type takes the font's line spacing, a little over 12 points; a capital
// is 7 to 12 pixels high. Measuring draws nothing and takes the same room as rendering; the
// layout is kept for drawing bands until it is dropped. Text without a colour of its own is drawn
// in the default colour.
TEST_F(TextLayoutTest, LaysTextOutAtOnePixelPerPointWithoutAntiAliasingAndKeepsTheLayout) {
    ASSERT_TRUE(text_.streamIn(kRedHello));
    QImage band = blankBand();
    QPainter painter(&band);
    EXPECT_FALSE(text_.displayBand(painter, kBand));
    QRect used;
    const QImage rendered = render(kBandTwips, used);
    EXPECT_EQ(used.topLeft(), QPoint(0, 0));
    EXPECT_TRUE(used.height() > 12 * 20 && used.height() <= 16 * 20) << used.height();
    EXPECT_TRUE(used.width() > 15 * 20 && used.width() < 40 * 20) << used.width();
    const auto [box, colours] = drawnIn(rendered);
    EXPECT_EQ(colours, QSet<QRgb>{qRgb(255, 0, 0)}) << "only the text colour, no shades";
    EXPECT_TRUE(box.height() >= 7 && box.height() <= 12) << box.height();
    EXPECT_TRUE(QRect(0, 0, used.width() / 20, used.height() / 20).contains(box));

    EXPECT_EQ(text_.formatRange(nullptr, kBandTwips), used);
    EXPECT_EQ(band, blankBand());
    EXPECT_TRUE(text_.displayBand(painter, kBand));
    painter.end();
    EXPECT_EQ(band, rendered);
    text_.dropCachedFormatting();
    QPainter again(&band);
    EXPECT_FALSE(text_.displayBand(again, kBand));

    ASSERT_TRUE(text_.streamIn(R"({\rtf1 plain})"));
    EXPECT_EQ(drawnIn(render(kBandTwips, used)).second, QSet<QRgb>{qRgb(0, 255, 0)});
}

TEST_F(TextLayoutTest, BreaksLinesAtTheRightEdgeAndStaysInsideTheRectangle) {
    ASSERT_TRUE(text_.streamIn(R"({\rtf1 \fs24 Hello wide world of lamps})"));
    // 60 points wide, starting 10 points in and 20 down.
    const QRect layout(200, 400, 60 * 20, 40 * 20);
    QRect used;
    const QRect drawn = drawnIn(render(layout, used)).first;
    EXPECT_EQ(used.topLeft(), layout.topLeft());
    EXPECT_LE(used.width(), layout.width());
    EXPECT_GT(used.height(), 2 * 12 * 20) << "the text takes several lines";
    EXPECT_TRUE(QRect(10, 20, 60, 40).contains(drawn));
    // A rectangle lower than the text cuts it.
    const QRect low(0, 0, 60 * 20, 10 * 20);
    EXPECT_LT(drawnIn(render(low, used)).first.bottom(), 10);
    EXPECT_EQ(used.height(), low.height());
}

}  // namespace
}  // namespace rova::test
