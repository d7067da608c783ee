// The widgets: the slider-and-edit value pair on screen (its slider's range and ticks, and how
// moves of the slider, typing, the program and the caption hand values to the form), the
// splitter whose panes keep their sizes, and the file dialog wrapper.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLineEdit>
#include <QSlider>
#include <QTest>

#include <algorithm>
#include <memory>
#include <numeric>
#include <tuple>
#include <vector>

#include "DocumentTestSupport.h"
#include "FilePrompt.h"
#include "NamedWidget.h"
#include "QtApplicationTest.h"
#include "ScriptedDialog.h"
#include "ValuePair.h"
#include "XSplitterStatic.h"

namespace rova::test {
namespace {

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

    // The field's text and the slider's position.
    std::pair<QString, int> shown() const { return {edit_->text(), slider_->value()}; }

    std::unique_ptr<QWidget> form_;
    ValuePair* pair_ = nullptr;
    QSlider* slider_ = nullptr;
    QLineEdit* edit_ = nullptr;
    std::vector<double> taken_;
};

// The values at the slider's ends and one step in, as the user moves it there.
TEST_F(ValuePairTest, SliderPositionsRunFromTheFirstValueInSteps) {
    const std::tuple<ValueRange, Qt::Orientation, int, std::vector<double>> cases[] = {
        {{1, 16, 1}, Qt::Horizontal, 16, {16, 1, 2}},
        {{5, 1, 0.25}, Qt::Vertical, 17, {1, 5, 4.75}},
        {{10, 200, 5}, Qt::Horizontal, 39, {200, 10, 15}},
    };
    for (const auto& [range, orientation, positions, taken] : cases) {
        SCOPED_TRACE(positions);
        make(range, orientation);
        pair_->setFormat(2, false);
        EXPECT_EQ(slider_->maximum() - slider_->minimum() + 1, positions);
        for (const auto action :
             {QSlider::SliderToMaximum, QSlider::SliderToMinimum, QSlider::SliderSingleStepAdd}) {
            slider_->triggerAction(action);
        }
        EXPECT_EQ(taken_, taken);
    }
}

TEST_F(ValuePairTest, TicksAreSpacedForTheSliderLength) {
    // The last value of 0 to `to` in steps of 5, the slider's size, the tick interval (0: none).
    const std::tuple<double, QSize, int> cases[] = {
        {360, {129, 24}, 2},  // 73 positions, at most 39 ticks
        {75, {129, 24}, 1},   // 16 positions
        {360, {24, 129}, 2},  // the longer side counts
        {360, {12, 12}, 0},
    };
    for (const auto& [to, size, interval] : cases) {
        SCOPED_TRACE(to);
        make({0, to, 5});
        form_->show();
        slider_->setGeometry(QRect({0, 0}, size));
        EXPECT_EQ(slider_->tickPosition() == QSlider::NoTicks ? 0 : slider_->tickInterval(),
                  interval);
    }
}

// Each keystroke's text is read as far as it makes a number; the form gets each new number.
TEST_F(ValuePairTest, TypedNumbersAreTakenAndMoveTheSlider) {
    const std::tuple<const char*, std::vector<double>, int> cases[] = {
        {"3.5abc", {3, 3.5}, 3},
        {"abc", {}, 7},
        {"40", {4, 40}, 15},  // beyond the end: taken, the slider at its end
        {"-2", {-2}, 0},
    };
    make({1, 16, 1});
    for (const auto& [keys, taken, position] : cases) {
        SCOPED_TRACE(keys);
        pair_->setValue(8);
        taken_.clear();
        QTest::keyClick(edit_, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(edit_, keys);
        EXPECT_EQ(taken_, taken);
        EXPECT_EQ(shown(), std::pair(QString(keys), position));
        EXPECT_EQ(pair_->currentValue(), taken.empty() ? 8 : taken.back());
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
    EXPECT_EQ(std::pair(edit_->text(), pair_->currentValue()), std::pair(QString("0.3"), 0.25));
    // Dragging the handle at the first position and letting it go there.
    QTest::mousePress(slider_, Qt::LeftButton, {}, QPoint(3, 12));
    QTest::mouseRelease(slider_, Qt::LeftButton, {}, QPoint(4, 12));
    EXPECT_EQ(std::pair(slider_->value(), taken_.size()), std::pair(0, std::size_t{2}));
}

// Program and caption values are shown and handed over as shown. Position 0 of a vertical slider
// is at the top: a click above the handle and the up arrow key move towards it.
TEST_F(ValuePairTest, ValuesAreHandedOverAsShownAndAVerticalSliderStartsAtTheTop) {
    make({5, 1, 0.25}, Qt::Vertical);
    pair_->setFormat(2, true);
    pair_->setValue(2.625);
    EXPECT_EQ(shown(), std::pair(QString("+2.63"), 10));
    pair_->setValue(3);
    pair_->setValue(3);
    EXPECT_EQ(edit_->text(), "+3");
    EXPECT_EQ(taken_, (std::vector<double>{2.63F, 3}));
    // A click on the caption sets its value through the field.
    make({5, 1, 0.25}, Qt::Vertical);
    pair_->setLabelValue(2.625);
    pair_->label()->setGeometry(0, 0, 100, 20);
    slider_->setGeometry(0, 0, 24, 200);
    form_->show();
    QTest::mouseClick(pair_->label(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(shown(), std::pair(QString("2.6"), 10));
    EXPECT_EQ(taken_, std::vector<double>{2.6F});
    pair_->setValue(1);
    ASSERT_EQ(slider_->value(), slider_->maximum());
    taken_.clear();
    QTest::keyClick(slider_, Qt::Key_Up);
    EXPECT_EQ(taken_, std::vector<double>{1.3F});  // 1.25 as shown
    // Clicks along the top edge: those on the groove page towards the top.
    for (int x = 0; x < slider_->width(); ++x) {
        QTest::mouseClick(slider_, Qt::LeftButton, {}, QPoint(x, 2));
    }
    EXPECT_GT(taken_.size(), 1u);
    EXPECT_GT(std::ranges::min(taken_), 1.0);
}

TEST_F(ValuePairTest, DisabledPairShowsNothingAndKeepsTheValueForLater) {
    make({-10, 10, 1});
    pair_->setValue(4);
    taken_.clear();
    pair_->setEnabled(false);
    EXPECT_FALSE(slider_->isEnabled() || edit_->isEnabled());
    EXPECT_EQ(shown(), std::pair(QString(), 10)) << "the slider at the position of 0";
    pair_->setValue(7);
    EXPECT_EQ(shown(), std::pair(QString(), 10));
    slider_->triggerAction(QSlider::SliderToMaximum);
    EXPECT_EQ(pair_->currentValue(), 7);
    pair_->setEnabled(true);
    EXPECT_EQ(shown(), std::pair(QString("7"), 17));
    EXPECT_TRUE(taken_.empty());
}

// ---- the splitter: panes that keep their sizes, hide and show again ----

// A pane that asks for a given size and may be squeezed to 10 pixels.
class Pane final : public QWidget {
  public:
    explicit Pane(QSize natural) : natural_(natural) {}
    QSize sizeHint() const override { return natural_; }
    QSize minimumSizeHint() const override { return {10, 10}; }

  private:
    QSize natural_;
};

class XSplitterStaticTest : public test::QtApplicationTest {
  protected:
    // Three rows; their natural heights are 120, 200 and 90.
    void SetUp() override {
        for (const int height : {120, 200, 90}) {
            rows_.addPane(new Pane({100, height}));
        }
    }
    int space() const {
        const QList<int> sizes = rows_.sizes();
        return std::accumulate(sizes.cbegin(), sizes.cend(), 0);
    }
    void showAt(int height) {
        rows_.resize(200, height);
        rows_.show();
    }

    XSplitterStatic rows_{Qt::Vertical};
};

TEST_F(XSplitterStaticTest, AFixedRowKeepsItsSizeWhenTheSplitterIsResized) {
    rows_.setFixed(1, true);
    showAt(500);
    rows_.setPaneSize(1, 100);
    const QList<int> before = rows_.sizes();
    ASSERT_EQ(before[1], 100);
    for (const int height : {700, 400}) {
        rows_.resize(200, height);
        EXPECT_EQ(rows_.paneSize(1), 100);
        EXPECT_EQ(rows_.paneSize(0) + rows_.paneSize(2), before[0] + before[2] + height - 500);
    }
    EXPECT_LT(rows_.paneSize(0), before[0]);
    EXPECT_LT(rows_.paneSize(2), before[2]) << "both loose rows gave room";
}

TEST_F(XSplitterStaticTest, TheDifferenceGoesToTheOtherLooseRowsFromTheLast) {
    showAt(500);
    const int room = space();
    rows_.setSizes({100, 150, room - 250});
    ASSERT_EQ(rows_.sizes(), QList<int>({100, 150, room - 250}));
    // 7 more for row 0: each other row gives 7 / 2 = 3, and row 2, visited first, also the
    // remainder 1.
    rows_.setPaneSize(0, 107);
    EXPECT_EQ(rows_.sizes(), QList<int>({107, 147, room - 254}));
    // A fixed row is left out of the spreading.
    rows_.setFixed(2, true);
    rows_.setPaneSize(0, 57);
    EXPECT_EQ(rows_.sizes(), QList<int>({57, 197, room - 254}));
}

TEST_F(XSplitterStaticTest, SizesSetBeforeTheSplitterIsShownTakeEffectAtTheNextLayout) {
    rows_.setPaneSize(0, 120);
    rows_.setPaneSize(2, 0);
    EXPECT_EQ(std::pair(rows_.paneSize(0), rows_.paneSize(2)), std::pair(120, 0));
    showAt(500);
    EXPECT_EQ(rows_.sizes(), QList<int>({120, space() - 120, 0}));
    // Applied once: later sizes are the splitter's own.
    rows_.setPaneSize(0, 80);
    EXPECT_EQ(rows_.sizes(), QList<int>({80, space() - 80, 0}));
    // Without redraw a size also waits, until the event loop lays the splitter out.
    rows_.setPaneSize(0, 100, false);
    rows_.setPaneSize(2, 30, false);
    EXPECT_EQ(rows_.paneSize(0), 100);
    EXPECT_EQ(rows_.sizes(), QList<int>({80, space() - 80, 0}));
    QCoreApplication::processEvents();
    EXPECT_EQ(rows_.sizes(), QList<int>({100, space() - 130, 30}));
}

TEST_F(XSplitterStaticTest, APaneNeverGrowsBeyondItsMaximum) {
    rows_.setMaximum(0, 60);
    showAt(500);
    rows_.setPaneSize(0, 200);
    EXPECT_EQ(rows_.paneSize(0), 60);
    // A loose row with a maximum absorbs growth only up to it.
    rows_.resize(200, 900);
    EXPECT_EQ(rows_.paneSize(0), 60);
    rows_.setMaximum(2, 150);
    rows_.setPaneSize(1, 100);
    EXPECT_EQ(rows_.sizes(), QList<int>({60, space() - 210, 150}));
}

TEST_F(XSplitterStaticTest, AHiddenPaneShowsAgainAtItsNaturalSizeAndGetsTheFocus) {
    rows_.setFixed(0, true);
    rows_.setFixed(2, true);
    showAt(600);
    rows_.setPaneSize(0, 120);
    rows_.setPaneSize(2, 0);
    EXPECT_TRUE(rows_.isCollapsible(2));
    EXPECT_EQ(rows_.sizes(), QList<int>({120, space() - 120, 0}));
    rows_.resize(200, 700);
    EXPECT_EQ(rows_.sizes(), QList<int>({120, space() - 120, 0})) << "the hidden row stays hidden";
    EXPECT_EQ(rows_.naturalSize(2), 90);
    rows_.showPane(2);
    EXPECT_EQ(rows_.sizes(), QList<int>({120, space() - 210, 90}));
    EXPECT_EQ(rows_.focusWidget(), rows_.widget(2));
    // Showing a visible pane only activates it.
    rows_.showPane(0);
    EXPECT_EQ(rows_.paneSize(0), 120);
    EXPECT_EQ(rows_.focusWidget(), rows_.widget(0));
    // Columns go by their natural width.
    XSplitterStatic columns(Qt::Horizontal);
    columns.addPane(new Pane({150, 40}));
    columns.addPane(new Pane({300, 40}));
    columns.setFixed(0, true);
    columns.setPaneSize(0, 0);
    columns.resize(600, 200);
    columns.show();
    const int room = columns.sizes().at(0) + columns.sizes().at(1);
    EXPECT_EQ(columns.sizes().at(0), 0);
    columns.showPane(0);
    EXPECT_EQ(columns.sizes(), QList<int>({150, room - 150}));
}

// ---- the file dialog wrapper: its filters and the checks it makes of a choice ----

const QString kBitmapFilter = "Bitmap Files (*.bmp)|*.bmp|";
const QString kOpenFilter =
    "All Openable Files (*.rova, *.rtf, *.txt)|*.rova;*.rtf;*.txt|Rova Files (*.rova)|*.rova|"
    "Rich Text Files (*.rtf)|*.rtf|Text Files (*.txt)|*.txt|";

using Choice = FilePrompt::DialogResult;

struct FilePromptTest : ::testing::Test {
    AnsweringPrompt questions_;
    ScriptedDialog dialog_;
};

TEST_F(FilePromptTest, FiltersTakeTheirPatternsFromThePatternField) {
    EXPECT_EQ(FilePrompt::dialogFilters(kOpenFilter),
              (QStringList{"All Openable Files (*.rova *.rtf *.txt)", "Rova Files (*.rova)",
                           "Rich Text Files (*.rtf)", "Text Files (*.txt)"}));
    EXPECT_EQ(FilePrompt::initialFilter(kOpenFilter, ".rtf", 0), 2);
    EXPECT_EQ(FilePrompt::initialFilter(kOpenFilter, ".RTF", 0), 2);
    EXPECT_EQ(FilePrompt::initialFilter(kOpenFilter, ".bmp", 3), 3);
    EXPECT_EQ(FilePrompt::initialFilter("Any (*.*)|*.*|Bitmaps|*.bmp|", ".gif", 1), 0);
}

// Another extension is questioned: OK shows the dialog again, Cancel ends without a file. The
// save dialog itself is given the extension to add to a bare name before it asks about
// overwriting, so the question is about the file that will be written; open dialogs are not.
TEST_F(FilePromptTest, DefaultExtensionIsAppendedOrQuestioned) {
    FilePrompt prompt(kBitmapFilter, true, "Use %1?", questions_, dialog_.show());
    const auto save = [&](const QString& initial) {
        return prompt.prompt(initial, FilePrompt::Mode::Save, "Save Picture");
    };
    dialog_.choices = {Choice{{"/p/pic"}, 0}};
    EXPECT_EQ(save(QString()), QStringList{"/p/pic.bmp"});
    EXPECT_EQ(dialog_.requests.back().defaultSuffix, "bmp");
    dialog_.choices = {Choice{{"/p/pic.gif"}, 0}, Choice{{"/p/pic.gif"}, 0}};
    questions_.answers = {Answer::Ok, Answer::Cancel};
    EXPECT_EQ(save("/p/old.bmp"), std::nullopt);
    ASSERT_EQ(questions_.questions.size(), 2u);
    EXPECT_EQ(std::pair(questions_.questions[0].message, questions_.questions[0].choices),
              std::pair(QString("Use .bmp?"), Choices::OkCancel));
    EXPECT_EQ(dialog_.requests.back().initialPath, "/p/pic.gif");
    prompt.prompt(QString(), FilePrompt::Mode::OpenExistingFile, QString());
    EXPECT_EQ(dialog_.requests.back().defaultSuffix, QString());
}

// An empty choice shows the dialog again; several files come back as chosen; without an
// extension to go by, the filter chosen last time is offered.
TEST_F(FilePromptTest, EmptyChoiceAsksAgainAndTheChosenFilterIsRemembered) {
    FilePrompt prompt(kOpenFilter, false, QString(), questions_, dialog_.show());
    dialog_.choices = {Choice{{}, 0}, std::nullopt};
    EXPECT_EQ(prompt.prompt("/x/start.rtf", FilePrompt::Mode::OpenMultiple, "Open"), std::nullopt);
    ASSERT_EQ(dialog_.requests.size(), 2u);
    EXPECT_EQ(std::pair(dialog_.requests[0].initialFilter, dialog_.requests[0].title),
              std::pair(2, QString("Open")));
    EXPECT_EQ(dialog_.requests[1].initialPath, "/x/start.rtf");

    const QStringList chosen{"/a/c|d.rova", "/a/a.rova"};
    dialog_.choices = {Choice{chosen, 1}, std::nullopt};
    EXPECT_EQ(prompt.prompt(QString(), FilePrompt::Mode::OpenMultiple, QString()), chosen);
    EXPECT_EQ(prompt.prompt(QString(), FilePrompt::Mode::OpenMultiple, QString()), std::nullopt);
    EXPECT_EQ(dialog_.requests.back().initialFilter, 1);
}

}  // namespace
}  // namespace rova::test
