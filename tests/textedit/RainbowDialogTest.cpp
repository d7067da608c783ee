// The Rainbow Text dialog on screen: the cycle from the settings, editing it with the palette
// and the buttons, the colour items' drawing, and OK storing the cycle and colouring the text.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <vector>

#include "MemorySettingsStore.h"
#include "NamedWidget.h"
#include "QtApplicationTest.h"
#include "RainbowDialog.h"
#include "RichTextDocument.h"
#include "TextRainbow.h"
#include "TextTestSupport.h"

namespace rova::test {
namespace {

constexpr ColourRef kYellow = 0x00FFFF;

class RainbowDialogTest : public test::QtApplicationTest {
  protected:
    void SetUp() override { text_.setDefaultFormat(fullFormat("Arial", 240, 0, kAuto)); }

    // Opens the dialog on the stored settings and finds its controls.
    void open() {
        dialog_ = std::make_unique<RainbowDialog>(settings_, text_);
        dialog_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog_.get()));
        cycle_ = named<QListWidget>(*dialog_, "Cycle");
        palette_ = named<QListWidget>(*dialog_, "Palette");
        words_ = named<QCheckBox>(*dialog_, "Words");
        ASSERT_TRUE(cycle_ && palette_ && words_);
    }

    void press(const char* name) {
        QPushButton* button = named<QPushButton>(*dialog_, name);
        ASSERT_NE(button, nullptr) << name;
        QTest::mouseClick(button, Qt::LeftButton);
    }

    static void clickItem(QListWidget* list, int row) {
        list->scrollToItem(list->item(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(row)).center());
    }

    static int selectedRow(const QListWidget* list) {
        const QList<QListWidgetItem*> items = list->selectedItems();
        return items.isEmpty() ? -1 : list->row(items.front());
    }

    MemorySettingsStore settings_;
    RichTextDocument text_;
    std::unique_ptr<RainbowDialog> dialog_;
    QListWidget* cycle_ = nullptr;
    QListWidget* palette_ = nullptr;
    QCheckBox* words_ = nullptr;
};

// Every focusable control has an accessible name; the colours are named by their colour. The
// buttons are found by name where they are pressed.
TEST_F(RainbowDialogTest, OpensWithTheStoredCycleAndNamedControls) {
    settings_.set(RainbowSettings::kCycleKey, "65280 -1 16777216 255 x 16711680");
    settings_.set(RainbowSettings::kWordsKey, "1");
    open();
    EXPECT_EQ(dialog_->cycle(), (QList<ColourRef>{kGreen, kRed}));
    EXPECT_TRUE(words_->isChecked());
    EXPECT_EQ(selectedRow(cycle_), -1);
    ASSERT_EQ(palette_->count(), 8);
    EXPECT_EQ(palette_->item(3)->data(ColourListDelegate::kColourRole).toUInt(), kYellow);
    EXPECT_EQ(palette_->item(3)->data(Qt::AccessibleTextRole).toString(), "Yellow");
    EXPECT_EQ(cycle_->item(0)->data(Qt::AccessibleTextRole).toString(), "Green");
    for (QWidget* widget : dialog_->findChildren<QWidget*>()) {
        EXPECT_TRUE(widget->focusPolicy() == Qt::NoFocus || !widget->isVisibleTo(dialog_.get()) ||
                    !widget->accessibleName().isEmpty())
            << widget->metaObject()->className();
    }
}

TEST_F(RainbowDialogTest, InsertAndAppendPlaceThePaletteColourAroundTheSelectedEntry) {
    struct Case {
        const char* button;
        int cycleRow;    // -1: no entry selected
        int paletteRow;  // -1: no colour selected; clicked with no entry selected
        QList<ColourRef> cycle;
        int selected;
    };
    const Case cases[] = {
        {"Insert", -1, -1, {kRed, kGreen, kBlue}, 0},
        {"Append", -1, -1, {kGreen, kBlue, kRed}, 2},
        {"Insert", -1, 3, {kYellow, kGreen, kBlue}, 0},
        {"Append", -1, 7, {kGreen, kBlue, 0xFFFFFF}, 2},
        // A selected entry selects its own colour in the palette.
        {"Insert", 1, -1, {kGreen, kBlue, kBlue}, 1},
        {"Append", 0, -1, {kGreen, kGreen, kBlue}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.button << " " << c.cycleRow << " " << c.paletteRow);
        settings_.set(RainbowSettings::kCycleKey, "65280 16711680");
        open();
        if (c.paletteRow >= 0) {
            clickItem(palette_, c.paletteRow);
            ASSERT_EQ(dialog_->cycle(), (QList<ColourRef>{kGreen, kBlue}));
        }
        if (c.cycleRow >= 0) {
            clickItem(cycle_, c.cycleRow);
        }
        press(c.button);
        EXPECT_EQ(dialog_->cycle(), c.cycle);
        EXPECT_EQ(selectedRow(cycle_), c.selected);
    }
}

TEST_F(RainbowDialogTest, The33rdEntryIsRefused) {
    settings_.set(RainbowSettings::kCycleKey, "");
    open();
    // The last two presses, one of each button, are refused.
    for (int i = 0; i < 34; ++i) {
        press(i % 2 == 0 ? "Insert" : "Append");
    }
    EXPECT_EQ(cycle_->count(), 32);
}

TEST_F(RainbowDialogTest, SelectingAnEntrySelectsItsPaletteColourFromTheEnd) {
    settings_.set(RainbowSettings::kCycleKey, "16711680 14737632 0");
    open();
    clickItem(cycle_, 0);
    EXPECT_EQ(selectedRow(palette_), 4);
    clickItem(cycle_, 1);  // the text colour White is not in the palette
    EXPECT_EQ(selectedRow(palette_), -1);
    EXPECT_EQ(dialog_->cycle()[1], 0xE0E0E0u) << "and the entry keeps its colour";
    clickItem(cycle_, 2);
    EXPECT_EQ(selectedRow(palette_), 0);
    clickItem(palette_, 6);
    EXPECT_EQ(dialog_->cycle(), (QList<ColourRef>{kBlue, 0xE0E0E0, 0xFFFF00}));
    press("Delete");
    EXPECT_EQ(dialog_->cycle(), (QList<ColourRef>{kBlue, 0xE0E0E0}));
    EXPECT_EQ(selectedRow(cycle_), -1);
    press("Delete");
    EXPECT_EQ(cycle_->count(), 2) << "nothing selected, nothing deleted";
}

// OK stores what changed and colours the selection; OK with an empty cycle and Cancel change
// nothing.
TEST_F(RainbowDialogTest, OkStoresTheSettingsAndColoursTheSelectionUnlessTheCycleIsEmpty) {
    const ColourRef P = kAuto, R = kRed, G = kGreen, B = kBlue;
    const struct {
        const char* button;
        bool emptied;  // the cycle's only entry deleted first
        int writes;
        std::vector<ColourRef> colours;
    } cases[] = {
        {"OK", true, 0, std::vector<ColourRef>(14, P)},
        {"Cancel", false, 0, std::vector<ColourRef>(14, P)},
        {"OK", false, 1, {R, R, R, R, G, G, G, G, G, B, B, B, B, B}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.button << " " << c.emptied);
        const int writes = settings_.writeCount();
        settings_.set(RainbowSettings::kCycleKey, c.emptied ? "255" : "255 65280 16711680");
        text_.document().setPlainText("one two  three");
        text_.setSelection(0, -1);
        open();
        if (c.emptied) {
            clickItem(cycle_, 0);
            press("Delete");
        }
        QTest::mouseClick(words_, Qt::LeftButton);
        press(c.button);
        EXPECT_FALSE(dialog_->isVisible());
        EXPECT_EQ(settings_.writeCount() - writes, c.writes)
            << "the unchanged cycle is not written";
        EXPECT_EQ(settings_.setting(RainbowSettings::kWordsKey), c.writes != 0 ? "1" : "");
        EXPECT_EQ(coloursOf(text_.document(), text_.defaultFormat()), c.colours);
    }
}

}  // namespace
}  // namespace rova::test
