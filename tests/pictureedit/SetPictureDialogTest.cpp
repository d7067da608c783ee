// The Set Picture dialog: its fields, the checks of OK, and the choice it remembers.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "AnsweringPrompt.h"
#include "NamedWidget.h"
#include "QtApplicationTest.h"
#include "SetPictureDialog.h"

namespace rova::test {
namespace {

const QString kWidthMessage = QStringLiteral("The width must be greater than zero.");
const QString kHeightMessage = QStringLiteral("The height must be greater than zero.");

class SetPictureDialogTest : public QtApplicationTest {
  protected:
    // Fills in the dialog as the user would and presses OK.
    static void confirm(SetPictureDialog& dialog, const QString& width, const QString& height,
                        const QString& function, const QString& colour) {
        named<QLineEdit>(dialog, "Width:")->setText(width);
        named<QLineEdit>(dialog, "Height:")->setText(height);
        named<QRadioButton>(dialog, function)->click();
        auto* colours = named<QComboBox>(dialog, "Colour");
        colours->setCurrentIndex(colours->findText(colour));
        named<QPushButton>(dialog, "OK")->click();
    }

    SetPictureChoice choice_;
    AnsweringPrompt prompt_;
};

TEST_F(SetPictureDialogTest, ShowsTheWorkingPictureSizeOrNothing) {
    SetPictureDialog sized(40, 16, choice_, prompt_);
    EXPECT_EQ(sized.windowTitle(), "Set Picture");
    EXPECT_EQ(named<QLineEdit>(sized, "Width:")->text(), "40");
    EXPECT_EQ(named<QLineEdit>(sized, "Height:")->text(), "16");
    EXPECT_EQ(named<QLabel>(sized, "Current width")->text(), "40");
    EXPECT_EQ(named<QLabel>(sized, "Current height")->text(), "16");

    SetPictureDialog empty(0, 0, choice_, prompt_);
    EXPECT_EQ(named<QLineEdit>(empty, "Width:")->text(), "");
    EXPECT_EQ(named<QLabel>(empty, "Current height")->text(), "");
}

// A missing or non-positive number keeps the dialog open with one message, the width's first.
TEST_F(SetPictureDialogTest, RefusesSizesBelowOne) {
    const struct {
        const char* width;
        const char* height;
        QString message;
    } cases[] = {
        {"0", "16", kWidthMessage},  {"abc", "16", kWidthMessage}, {"", "16", kWidthMessage},
        {"-4", "16", kWidthMessage}, {"0.5", "16", kWidthMessage}, {"x", "0", kWidthMessage},
        {"12", "0", kHeightMessage}, {"12", "", kHeightMessage},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.width) + " × " + c.height);
        AnsweringPrompt prompt;
        SetPictureDialog dialog(10, 16, choice_, prompt);
        confirm(dialog, c.width, c.height, "Resize Current Picture", "Blue");
        EXPECT_EQ(prompt.messages, QStringList{c.message});
        EXPECT_NE(dialog.result(), QDialog::Accepted);
        EXPECT_FALSE(dialog.request());
        EXPECT_EQ(named<QLineEdit>(dialog, "Width:")->text(), c.width);
        EXPECT_EQ(choice_.function, SetPictureFunction::SetTo);
    }
}

TEST_F(SetPictureDialogTest, ReadsTheNumberAtTheStartOfEachField) {
    const struct {
        const char* width;
        const char* height;
        int expectedWidth;
        int expectedHeight;
    } cases[] = {{"12abc", "24", 12, 24}, {"  7", " 3 rows", 7, 3}, {"20.9", "1", 20, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.width);
        SetPictureDialog dialog(10, 16, choice_, prompt_);
        confirm(dialog, c.width, c.height, "Scale Current Picture", "Black");
        ASSERT_TRUE(dialog.request());
        EXPECT_EQ(dialog.request()->width, c.expectedWidth);
        EXPECT_EQ(dialog.request()->height, c.expectedHeight);
    }
    EXPECT_TRUE(prompt_.messages.isEmpty());
}

TEST_F(SetPictureDialogTest, SetToYellowRequestsTheYellowOfTheColourTable) {
    SetPictureDialog dialog(10, 16, choice_, prompt_);
    confirm(dialog, "20", "24", "Set to...", "Yellow");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    ASSERT_TRUE(dialog.request());
    EXPECT_EQ(*dialog.request(), (SetPictureRequest{SetPictureFunction::SetTo, 20, 24, 0x00FFFF}));
}

// The colour list names its colours to assistive technology and shows each as a swatch.
TEST_F(SetPictureDialogTest, ColourListHasTheEightNamedColours) {
    SetPictureDialog dialog(10, 16, choice_, prompt_);
    auto* colours = named<QComboBox>(dialog, "Colour");
    ASSERT_EQ(colours->count(), 8);
    const QStringList names{"Black", "Red", "Green", "Blue", "Cyan", "Magenta", "Yellow", "White"};
    for (int i = 0; i < colours->count(); ++i) {
        EXPECT_EQ(colours->itemData(i, Qt::AccessibleTextRole).toString(), names[i]);
        EXPECT_FALSE(colours->itemIcon(i).isNull());
    }
    colours->setCurrentIndex(7);
    named<QPushButton>(dialog, "OK")->click();
    ASSERT_TRUE(dialog.request());
    EXPECT_EQ(dialog.request()->colour, 0xE0E0E0u);
}

// The last confirmed function and colour come back when the dialog opens again; Cancel
// forgets what was chosen in it.
TEST_F(SetPictureDialogTest, RemembersTheConfirmedChoiceOnly) {
    const auto shownChoice = [this] {
        SetPictureDialog dialog(10, 16, choice_, prompt_);
        QString function;
        for (const char* name : {"Set to...", "Resize Current Picture", "Scale Current Picture"}) {
            if (named<QRadioButton>(dialog, name)->isChecked()) {
                function = name;
            }
        }
        return function + " " + named<QComboBox>(dialog, "Colour")->currentText();
    };
    EXPECT_EQ(shownChoice(), "Set to... Black");
    {
        SetPictureDialog dialog(10, 16, choice_, prompt_);
        confirm(dialog, "10", "16", "Resize Current Picture", "Blue");
    }
    EXPECT_EQ(shownChoice(), "Resize Current Picture Blue");
    {
        SetPictureDialog dialog(10, 16, choice_, prompt_);
        named<QRadioButton>(dialog, "Scale Current Picture")->click();
        named<QComboBox>(dialog, "Colour")->setCurrentIndex(1);
        named<QPushButton>(dialog, "Cancel")->click();
        EXPECT_FALSE(dialog.request());
    }
    EXPECT_EQ(shownChoice(), "Resize Current Picture Blue");
}

}  // namespace
}  // namespace rova::test
