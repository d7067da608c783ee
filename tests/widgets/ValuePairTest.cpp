// The slider-and-edit value pair on screen: its slider's range and ticks, and how moves of the
// slider, typing, the program and the caption hand values to the form.

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QSlider>
#include <QTest>
#include <algorithm>
#include <memory>
#include <vector>

#include "NamedWidget.h"
#include "QtApplicationTest.h"
#include "ValuePair.h"

namespace rova {
namespace {

using test::named;

const QString kName = QStringLiteral("Distance");

class ValuePairTest : public test::QtApplicationTest {
  protected:
    // Puts one pair on a new form and finds its widgets as assistive technology does.
    void make(ValueRange range, Qt::Orientation orientation = Qt::Horizontal) {
        taken_.clear();
        form_ = std::make_unique<QWidget>();
        pair_ = new ValuePair(QStringLiteral("&Distance:"), range, form_.get(), orientation);
        pair_->setAccessibleName(kName, QStringLiteral("feet"));
        QObject::connect(pair_, &ValuePair::valueTaken,
                         [this](double value) { taken_.push_back(value); });
        slider_ = named<QSlider>(*form_, kName);
        edit_ = named<QLineEdit>(*form_, kName);
        ASSERT_NE(slider_, nullptr);
        ASSERT_NE(edit_, nullptr);
    }
    void type(const QString& keys) {
        QTest::keyClick(edit_, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(edit_, keys);
    }

    std::unique_ptr<QWidget> form_;
    ValuePair* pair_ = nullptr;
    QSlider* slider_ = nullptr;
    QLineEdit* edit_ = nullptr;
    std::vector<double> taken_;
};

struct RangeCase {
    ValueRange range;
    Qt::Orientation orientation;
    int positions;
    double last;
    double first;
    double second;
};

// The values at the slider's ends and one step in, as the user moves it there.
TEST_F(ValuePairTest, SliderPositionsRunFromTheFirstValueInSteps) {
    const RangeCase cases[] = {
        {{1, 16, 1}, Qt::Horizontal, 16, 16, 1, 2},
        {{5, 1, 0.25}, Qt::Vertical, 17, 1, 5, 4.75},
        {{10, 200, 5}, Qt::Horizontal, 39, 200, 10, 15},
    };
    for (const RangeCase& c : cases) {
        SCOPED_TRACE(c.positions);
        make(c.range, c.orientation);
        pair_->setFormat(2, false);
        EXPECT_EQ(slider_->maximum() - slider_->minimum() + 1, c.positions);
        slider_->triggerAction(QSlider::SliderToMaximum);
        slider_->triggerAction(QSlider::SliderToMinimum);
        slider_->triggerAction(QSlider::SliderSingleStepAdd);
        EXPECT_EQ(taken_, (std::vector<double>{c.last, c.first, c.second}));
    }
}

// Position 0 is at the top: a click above the handle and the up arrow key move towards it.
TEST_F(ValuePairTest, VerticalSliderShowsTheFirstValueAtTheTop) {
    make({5, 1, 0.25}, Qt::Vertical);
    slider_->setGeometry(0, 0, 24, 200);
    form_->show();
    pair_->setValue(1);
    ASSERT_EQ(slider_->value(), slider_->maximum());
    taken_.clear();

    // Clicks along the top edge: those on the groove page towards the top.
    for (int x = 0; x < slider_->width(); ++x) {
        QTest::mouseClick(slider_, Qt::LeftButton, {}, QPoint(x, 2));
    }
    ASSERT_FALSE(taken_.empty());
    EXPECT_GT(*std::min_element(taken_.cbegin(), taken_.cend()), 1.0);

    pair_->setValue(1);
    taken_.clear();
    QTest::keyClick(slider_, Qt::Key_Up);
    EXPECT_EQ(taken_, std::vector<double>{1.3F});  // 1.25 as shown
}

struct TickCase {
    double to;
    QSize size;
    int interval;  // 0: no ticks
};

TEST_F(ValuePairTest, TicksAreSpacedForTheSliderLength) {
    const TickCase cases[] = {
        {360, {129, 24}, 2},  // 73 positions, at most 39 ticks
        {75, {129, 24}, 1},   // 16 positions
        {360, {24, 129}, 2},  // the longer side counts
        {360, {12, 12}, 0},
    };
    for (const TickCase& c : cases) {
        SCOPED_TRACE(c.to);
        make({0, c.to, 5});
        form_->show();
        slider_->setGeometry(QRect({0, 0}, c.size));
        EXPECT_EQ(slider_->tickPosition() != QSlider::NoTicks, c.interval != 0);
        if (c.interval != 0) {
            EXPECT_EQ(slider_->tickInterval(), c.interval);
        }
    }
}

struct TypingCase {
    const char* keys;
    std::vector<double> taken;
    int position;
};

// Each keystroke's text is read as far as it makes a number; the form gets each new number.
TEST_F(ValuePairTest, TypedNumbersAreTakenAndMoveTheSlider) {
    const TypingCase cases[] = {
        {"3.5abc", {3, 3.5}, 3},
        {"abc", {}, 7},
        {"40", {4, 40}, 15},  // beyond the end: taken, the slider at its end
        {"-2", {-2}, 0},
    };
    make({1, 16, 1});
    for (const TypingCase& c : cases) {
        SCOPED_TRACE(c.keys);
        pair_->setValue(8);
        taken_.clear();
        type(QString::fromLatin1(c.keys));
        EXPECT_EQ(taken_, c.taken);
        EXPECT_EQ(edit_->text(), QString::fromLatin1(c.keys));
        EXPECT_EQ(slider_->value(), c.position);
        EXPECT_EQ(pair_->currentValue(), c.taken.empty() ? 8 : c.taken.back());
    }
}

// The form gets the value as the field shows it; the pair keeps the slider's own value, so the
// same position again is no change.
TEST_F(ValuePairTest, SliderMovesHandOverTheShownValueOnlyWhenItChanges) {
    make({0.25, 2.5, 0.25});
    slider_->setGeometry(0, 0, 200, 24);
    form_->show();

    slider_->triggerAction(QSlider::SliderToMinimum);  // already there
    EXPECT_TRUE(taken_.empty());
    slider_->triggerAction(QSlider::SliderSingleStepAdd);
    slider_->triggerAction(QSlider::SliderSingleStepSub);
    EXPECT_EQ(taken_, (std::vector<double>{0.5, 0.3F}));
    EXPECT_EQ(edit_->text(), QStringLiteral("0.3"));
    EXPECT_EQ(pair_->currentValue(), 0.25);

    // Dragging the handle at the first position and letting it go there.
    const QPoint handle(3, slider_->height() / 2);
    QTest::mousePress(slider_, Qt::LeftButton, {}, handle);
    QTest::mouseMove(slider_, handle + QPoint(1, 0));
    QTest::mouseRelease(slider_, Qt::LeftButton, {}, handle + QPoint(1, 0));
    EXPECT_EQ(slider_->value(), 0);
    EXPECT_EQ(taken_.size(), 2U);
}

TEST_F(ValuePairTest, ProgramValuesAreShownAndHandedOverAsShown) {
    make({5, 1, 0.25}, Qt::Vertical);
    pair_->setFormat(2, true);
    pair_->setValue(2.625);
    EXPECT_EQ(edit_->text(), QStringLiteral("+2.63"));
    EXPECT_EQ(slider_->value(), 10);
    EXPECT_EQ(taken_, std::vector<double>{2.63F});

    pair_->setValue(3);
    pair_->setValue(3);
    EXPECT_EQ(edit_->text(), QStringLiteral("+3"));
    EXPECT_EQ(taken_, (std::vector<double>{2.63F, 3}));
}

TEST_F(ValuePairTest, DisabledPairShowsNothingAndKeepsTheValueForLater) {
    make({-10, 10, 1});
    pair_->setValue(4);
    taken_.clear();

    pair_->setEnabled(false);
    EXPECT_FALSE(slider_->isEnabled());
    EXPECT_FALSE(edit_->isEnabled());
    EXPECT_EQ(edit_->text(), QString());
    EXPECT_EQ(slider_->value(), 10);  // the position of 0

    pair_->setValue(7);
    EXPECT_EQ(edit_->text(), QString());
    EXPECT_EQ(slider_->value(), 10);
    slider_->triggerAction(QSlider::SliderToMaximum);
    EXPECT_EQ(pair_->currentValue(), 7);

    pair_->setEnabled(true);
    EXPECT_EQ(edit_->text(), QStringLiteral("7"));
    EXPECT_EQ(slider_->value(), 17);
    EXPECT_TRUE(taken_.empty());
}

TEST_F(ValuePairTest, ClickOnTheCaptionSetsItsValueThroughTheField) {
    make({5, 1, 0.25}, Qt::Vertical);
    pair_->setLabelValue(2.625);
    ValueLabel* label = pair_->label();
    label->setGeometry(0, 0, 100, 20);
    form_->show();

    QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(edit_->text(), QStringLiteral("2.6"));
    EXPECT_EQ(slider_->value(), 10);
    EXPECT_EQ(taken_, std::vector<double>{2.6F});
}

}  // namespace
}  // namespace rova
