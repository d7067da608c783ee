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

#include "FontChoice.h"
#include "QtApplicationTest.h"
#include "RichTextDocument.h"
#include "TextTestSupport.h"

namespace rova::test {
namespace {

constexpr std::uint32_t kFace = CharacterFormat::kFace;
constexpr std::uint32_t kHeight = CharacterFormat::kHeight;
constexpr std::uint32_t kAll = CharacterFormat::kAll;
constexpr std::uint32_t kFontBits = kFace | kHeight | kBold | kItalic;

class FontChoiceTest : public QtApplicationTest {};

// One selection in Arial, 12 points, green, and one change in the dialog. The dialog opens with
// the selection's uniform attributes and those of the fallback font for the rest.
TEST_F(FontChoiceTest, OpensWithTheUniformAttributesAndAppliesThoseAndTheChangedOnesOnly) {
    QFont fallback(QStringLiteral("Times"), 9);
    fallback.setBold(true);
    fallback.setItalic(true);
    using Change = std::function<void(QFont&)>;
    const Change none = [](QFont&) {};
    const Change plain = [](QFont& f) { f.setBold(false); };
    const auto points = [](double size) {
        return Change([size](QFont& f) { f.setPointSizeF(size); });
    };
    const Change courier = [](QFont& f) { f.setFamilies({QStringLiteral("Courier")}); };
    const struct {
        const char* name;
        std::uint32_t mask, effects;
        Change change;
        CharacterFormat expected;
    } cases[] = {
        {"underlined bold", kAll, kBold | kUnderline, none, {kFontBits, kBold, 240, 0, "Arial"}},
        {"mixed bold", kAll & ~kBold, 0, none, {kFontBits & ~kBold, 0, 240, 0, "Arial"}},
        {"mixed bold made plain", kAll & ~kBold, 0, plain, {kFontBits, 0, 240, 0, "Arial"}},
        {"mixed size", kAll & ~kHeight, 0, none, {kFontBits & ~kHeight, 0, 0, 0, "Arial"}},
        {"mixed size to 12", kAll & ~kHeight, 0, points(12), {kFontBits, 0, 240, 0, "Arial"}},
        {"half a point", kAll, 0, points(10.5), {kFontBits, 0, 210, 0, "Arial"}},
        {"whole twips", kAll, 0, points(10.33), {kFontBits, 0, 207, 0, "Arial"}},
        {"mixed face changed", kAll & ~kFace, 0, courier, {kFontBits, 0, 240, 0, "Courier"}},
        {"mixed face", kAll & ~kFace, 0, none, {kFontBits & ~kFace, 0, 240, 0, ""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CharacterFormat before = fullFormat("Arial", 240, c.effects, kGreen);
        before.mask = c.mask;
        const QFont opened = fontForSelection(before, fallback);
        QFont chosen = opened;
        c.change(chosen);
        EXPECT_EQ(fontChoiceFormat(before, opened, chosen), c.expected);
    }
}

class ChooseFontTest : public FontChoiceTest {
  protected:
    void SetUp() override {
        ASSERT_TRUE(text_.streamIn(kMixed));
        text_.setSelection(0, 4);  // "ab" plain and "cd" bold, Arial 12 points
        ASSERT_TRUE(text_.streamOutRtf(before_));
    }

    QByteArray rtf() const {
        QByteArray sink;
        EXPECT_TRUE(text_.streamOutRtf(sink));
        return sink;
    }

    RichTextDocument text_;
    QByteArray before_;
};

TEST_F(ChooseFontTest, CancelChangesNothingAndAChoiceIsOneUndoableEditOfTheSelection) {
    EXPECT_FALSE(
        chooseFont(text_, nullptr, [](const QFont&, QWidget*) { return std::optional<QFont>(); }));
    EXPECT_EQ(rtf(), before_);
    EXPECT_FALSE(text_.isModified());
    EXPECT_FALSE(text_.canUndo());

    const CharacterFormat outside = formatAt(text_.document(), 4);
    EXPECT_TRUE(chooseFont(text_, nullptr, [](const QFont& font, QWidget*) {
        QFont bold = font;
        bold.setBold(true);
        return std::optional<QFont>(bold);
    }));
    EXPECT_EQ(text_.selectionFormat(), fullFormat("Arial", 240, kBold));
    EXPECT_EQ(formatAt(text_.document(), 4), outside);
    text_.document().undo();
    EXPECT_EQ(rtf(), before_);
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
}  // namespace rova::test
