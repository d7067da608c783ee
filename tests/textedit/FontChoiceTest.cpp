// The "Font..." command: the font the dialog opens with, the format its choice applies to the
// selection, and the command on a document, with a scripted dialog and with Qt's own.

#include <gtest/gtest.h>

#include <QApplication>
#include <QByteArray>
#include <QDialog>
#include <QFont>
#include <QTimer>

#include <functional>
#include <optional>
#include <string>

#include "FontChoice.h"
#include "QtApplicationTest.h"
#include "RichTextDocument.h"
#include "TextTestSupport.h"

namespace rova {
namespace {

using test::formatAt;
using test::fullFormat;
using test::kBold;
using test::kGreen;
using test::kItalic;
using test::kMixed;
using test::kUnderline;

constexpr std::uint32_t kFace = CharacterFormat::kFace;
constexpr std::uint32_t kHeight = CharacterFormat::kHeight;
constexpr std::uint32_t kAll = CharacterFormat::kAll;

class FontChoiceTest : public test::QtApplicationTest {};

TEST_F(FontChoiceTest, OpensWithTheUniformAttributesAndTheFallbackForTheRest) {
    CharacterFormat format = fullFormat("Arial", 240, 0);
    format.mask = kFace | kHeight;
    QFont fallback(QStringLiteral("Times"), 9);
    fallback.setBold(true);
    fallback.setItalic(true);

    const QFont font = fontForSelection(format, fallback);

    EXPECT_EQ(font.family(), "Arial");
    EXPECT_DOUBLE_EQ(font.pointSizeF(), 12.0);
    EXPECT_TRUE(font.bold());
    EXPECT_TRUE(font.italic());
}

const auto kUnchanged = [](QFont&) {};
constexpr std::uint32_t kFontBits = kFace | kHeight | kBold | kItalic;

// One selection (Arial, green) and one choice in the dialog each.
struct ChoiceCase {
    const char* name;
    std::uint32_t mask;     // the attributes uniform over the selection
    std::uint32_t effects;  // the selection's effects
    int height;             // the selection's height (of its first character when mixed)
    std::function<void(QFont&)> choose;
    CharacterFormat expected;
};

TEST_F(FontChoiceTest, AppliesTheUniformAndTheChangedAttributesOnly) {
    const ChoiceCase cases[] = {
        {"uniform bold unchanged",
         kAll,
         kBold,
         240,
         kUnchanged,
         {kFontBits, kBold, 240, 0, "Arial"}},
        {"mixed bold unchanged",
         kAll & ~kBold,
         0,
         240,
         kUnchanged,
         {kFace | kHeight | kItalic, 0, 240, 0, "Arial"}},
        {"mixed bold made bold",
         kAll & ~kBold,
         0,
         240,
         [](QFont& f) { f.setBold(true); },
         {kFontBits, kBold, 240, 0, "Arial"}},
        {"underline, strike-out and colour left alone",
         kAll,
         kUnderline,
         240,
         [](QFont& f) {
             f.setUnderline(false);
             f.setStrikeOut(true);
         },
         {kFontBits, 0, 240, 0, "Arial"}},
        {"mixed size unchanged",
         kAll & ~kHeight,
         0,
         240,
         kUnchanged,
         {kFace | kBold | kItalic, 0, 0, 0, "Arial"}},
        {"mixed size to 12 points",
         kAll & ~kHeight,
         0,
         200,
         [](QFont& f) { f.setPointSizeF(12); },
         {kFontBits, 0, 240, 0, "Arial"}},
        {"half a point",
         kAll,
         0,
         240,
         [](QFont& f) { f.setPointSizeF(10.5); },
         {kFontBits, 0, 210, 0, "Arial"}},
        {"fraction in whole twips",
         kAll,
         0,
         240,
         [](QFont& f) { f.setPointSizeF(10.33); },
         {kFontBits, 0, 207, 0, "Arial"}},
        {"mixed face changed",
         kAll & ~kFace,
         0,
         240,
         [](QFont& f) { f.setFamilies({QStringLiteral("Times")}); },
         {kFontBits, 0, 240, 0, "Times"}},
        {"mixed face unchanged",
         kAll & ~kFace,
         0,
         240,
         kUnchanged,
         {kHeight | kBold | kItalic, 0, 240, 0, ""}},
    };
    for (const ChoiceCase& c : cases) {
        SCOPED_TRACE(c.name);
        CharacterFormat before = fullFormat("Arial", c.height, c.effects, kGreen);
        before.mask = c.mask;
        const QFont opened = fontForSelection(before, fontOf(before));
        QFont chosen = opened;
        c.choose(chosen);
        EXPECT_EQ(fontChoiceFormat(before, opened, chosen), c.expected);
    }
}

class ChooseFontTest : public FontChoiceTest {
  protected:
    void SetUp() override {
        ASSERT_TRUE(text_.streamIn(kMixed));
        text_.setSelection(0, 4);  // "ab" plain and "cd" bold, Arial 12 points
    }

    QByteArray rtf() const {
        QByteArray sink;
        EXPECT_TRUE(text_.streamOutRtf(sink));
        return sink;
    }

    RichTextDocument text_;
};

TEST_F(ChooseFontTest, CancelChangesNothing) {
    const QByteArray before = rtf();
    std::optional<QFont> initial;
    const bool applied = chooseFont(text_, nullptr, [&initial](const QFont& font, QWidget*) {
        initial = font;
        return std::optional<QFont>();
    });

    EXPECT_FALSE(applied);
    ASSERT_TRUE(initial);
    EXPECT_EQ(initial->family(), "Arial");
    EXPECT_DOUBLE_EQ(initial->pointSizeF(), 12.0);
    EXPECT_EQ(rtf(), before);
    EXPECT_FALSE(text_.isModified());
    EXPECT_FALSE(text_.canUndo());
}

TEST_F(ChooseFontTest, BoldChosenMakesTheSelectionBoldInOneStep) {
    const QByteArray before = rtf();
    const CharacterFormat lastBefore = formatAt(text_.document(), 4);
    const bool applied = chooseFont(text_, nullptr, [](const QFont& font, QWidget*) {
        QFont bold = font;
        bold.setBold(true);
        return std::optional<QFont>(bold);
    });

    EXPECT_TRUE(applied);
    const CharacterFormat format = text_.selectionFormat();
    EXPECT_EQ(format.mask, kAll);
    EXPECT_EQ(format.effects, kBold);
    EXPECT_EQ(format.face, "Arial");
    EXPECT_EQ(format.height, 240);
    // Text outside the selection keeps its format.
    EXPECT_EQ(formatAt(text_.document(), 4), lastBefore);
    // A single undo takes it all back.
    text_.document().undo();
    EXPECT_EQ(rtf(), before);
    EXPECT_FALSE(text_.canUndo());
}

// Qt's dialog lists neither faces that are not installed nor half-point sizes; accepting it
// untouched must still leave such a selection as it was.
TEST_F(ChooseFontTest, QtDialogAcceptedUntouchedKeepsTheSelection) {
    ASSERT_TRUE(text_.streamIn(R"({\rtf1{\fonttbl{\f0 NoSuchFace;}}\f0\fs21\b\i abc})"));
    text_.setSelection(0, -1);
    const CharacterFormat before = text_.selectionFormat();
    QString title;
    QTimer::singleShot(0, [&title] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        title = dialog->windowTitle();
        static_cast<QDialog*>(dialog)->accept();
    });

    EXPECT_TRUE(chooseFont(text_, nullptr));

    EXPECT_EQ(title, "Font");
    EXPECT_EQ(text_.selectionFormat(), before);
}

}  // namespace
}  // namespace rova
