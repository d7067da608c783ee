// The metrics form on screen over a real simulator: the values it shows in its own units, how
// it stores them as shown, its timing pairs, the fit of the viewer distance, and its refresh
// when the preview changes size.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <memory>

#include "MetricsForm.h"
#include "NamedWidget.h"
#include "PreviewSplitter.h"
#include "PreviewTestSupport.h"
#include "PreviewWnd.h"
#include "QtApplicationTest.h"

namespace rova {
namespace {

using test::named;

using Change = void (*)(SimulationSettings&);
using Field = double (*)(const SimulationSettings&);

void animate(SimulationSettings& s) {
    s.doAnimation = true;
}

class MetricsFormTest : public test::QtApplicationTest {
  protected:
    // A form over a simulator laid out in an 800 × 600 preview, whose settings `change` has
    // changed before the form is made.
    void make(Change change = nullptr) {
        form_.reset();
        fixture_ = std::make_unique<test::SimulatorFixture>();
        if (change != nullptr) {
            SimulationSettings s = simulator().currentSettings();
            change(s);
            simulator().applySettings(s);
        }
        form_ = std::make_unique<MetricsForm>(simulator());
    }
    PreviewSimulator& simulator() { return fixture_->simulator; }
    SimulationSettings settings() { return simulator().currentSettings(); }

    QLineEdit* edit(const char* name) { return found<QLineEdit>(name); }
    QSlider* slider(const char* name) { return found<QSlider>(name); }
    template <typename Widget>
    Widget* found(const char* name) {
        Widget* widget = named<Widget>(*form_, QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    void type(const char* name, const char* keys) {
        QLineEdit* field = edit(name);
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(field, QString::fromLatin1(keys));
    }

    std::unique_ptr<test::SimulatorFixture> fixture_;
    std::unique_ptr<MetricsForm> form_;
};

struct ShownCase {
    const char* name;
    Change change;
    const char* text;
    Field field;
    double stored;
};

// The first refresh writes each value back as its field shows it, in the form's units.
TEST_F(MetricsFormTest, ValuesAreStoredAsShown) {
    const ShownCase cases[] = {
        {"Rotor Radius", [](SimulationSettings& s) { s.rotorRadius = 74.0; }, "6.2",
         [](const SimulationSettings& s) { return s.rotorRadius; }, 74.4},
        {"Lamp Spacing", [](SimulationSettings& s) { s.lampSpacingY = 2.625; }, "2.6",
         [](const SimulationSettings& s) { return s.lampSpacingY; }, 2.6},
        {"Viewer Distance", [](SimulationSettings& s) { s.viewerDistance = 300.37; }, "25",
         [](const SimulationSettings& s) { return s.viewerDistance; }, 300.0},
        {"Viewer Height", [](SimulationSettings& s) { s.viewerY = 50.0; }, "4.83",
         [](const SimulationSettings& s) { return s.viewerY; }, 108.0 - 4.83 * 12.0},
        {"Frames/Second", [](SimulationSettings& s) { s.framesPerSecond = 7.5; }, "7.5",
         [](const SimulationSettings& s) { return s.framesPerSecond; }, 7.5},
        {"Revolutions/Minute",
         [](SimulationSettings& s) {
             s.doAnimation = true;
             s.degreesPerSecond = 500.0;
         },
         "83.3", [](const SimulationSettings& s) { return s.degreesPerSecond; }, 83.3 * 6.0},
    };
    for (const ShownCase& c : cases) {
        SCOPED_TRACE(c.name);
        make(c.change);
        EXPECT_EQ(edit(c.name)->text(), QString::fromLatin1(c.text));
        // Read back in single precision.
        EXPECT_NEAR(c.field(settings()), c.stored, 1e-4);
    }
}

struct RangeCase {
    const char* name;
    const char* first;
    const char* second;
    const char* last;
};

TEST_F(MetricsFormTest, SlidersRunOverTheirRangesInTheShownUnits) {
    const RangeCase cases[] = {
        {"Frames/Second", "1", "2", "16"},      {"Rotor Radius", "1", "2", "10"},
        {"Lamp Diam", "5", "4.8", "1"},         {"Lamp Spacing", "5", "4.8", "1"},
        {"Viewer Height", "20", "19", "0"},     {"Viewer Angle", "0", "90", "270"},
        {"Viewer Distance", "10", "15", "200"}, {"Revolutions/Minute", "30", "40", "120"},
        {"Redraws/Second", "2", "4", "32"},
    };
    make(animate);
    for (const RangeCase& c : cases) {
        SCOPED_TRACE(c.name);
        QSlider* bar = slider(c.name);
        bar->triggerAction(QSlider::SliderToMinimum);
        EXPECT_EQ(edit(c.name)->text(), QString::fromLatin1(c.first));
        bar->triggerAction(QSlider::SliderSingleStepAdd);
        EXPECT_EQ(edit(c.name)->text(), QString::fromLatin1(c.second));
        bar->triggerAction(QSlider::SliderToMaximum);
        EXPECT_EQ(edit(c.name)->text(), QString::fromLatin1(c.last));
    }
}

struct TypingCase {
    const char* name;
    const char* keys;
    Field field;
    double stored;
    int position;
};

// Typed values are taken over at once, also beyond the sliders' ends; the field keeps the text.
TEST_F(MetricsFormTest, TypedValuesAreAppliedInTheSimulatorsUnits) {
    const TypingCase cases[] = {
        {"Viewer Distance", "300", [](const SimulationSettings& s) { return s.viewerDistance; },
         3600.0, 38},
        {"Viewer Height", "6", [](const SimulationSettings& s) { return s.viewerY; }, 36.0, 14},
        {"Viewer Angle", "45.7",
         [](const SimulationSettings& s) { return static_cast<double>(s.viewerAngle); }, 45.0, 1},
        {"Revolutions/Minute", "100",
         [](const SimulationSettings& s) { return s.degreesPerSecond; }, 600.0, 7},
        // Raised to the simulator's minimum; the field shows 0 until the next refresh.
        {"Redraws/Second", "0", [](const SimulationSettings& s) { return s.drawsPerSecond; }, 1.0,
         0},
        {"Lamp Diam", "3", [](const SimulationSettings& s) { return s.lampDiameter; }, 3.0, 8},
    };
    make(animate);
    for (const TypingCase& c : cases) {
        SCOPED_TRACE(c.name);
        type(c.name, c.keys);
        EXPECT_EQ(c.field(settings()), c.stored);
        EXPECT_EQ(edit(c.name)->text(), QString::fromLatin1(c.keys));
        EXPECT_EQ(slider(c.name)->value(), c.position);
    }
}

TEST_F(MetricsFormTest, TimingPairsShowOnlyWhileDrawingIsAnimated) {
    struct TimingCase {
        const char* name;
        const char* text;
    };
    const TimingCase cases[] = {{"Revolutions/Minute", "120"}, {"Redraws/Second", "16"}};
    const auto expectShown = [&](bool shown) {
        for (const TimingCase& c : cases) {
            SCOPED_TRACE(c.name);
            EXPECT_EQ(edit(c.name)->isEnabled(), shown);
            EXPECT_EQ(slider(c.name)->isEnabled(), shown);
            EXPECT_EQ(edit(c.name)->text(), shown ? QString::fromLatin1(c.text) : QString());
        }
    };
    make();
    QCheckBox* box = found<QCheckBox>("Animate Drawing");
    EXPECT_FALSE(box->isChecked());
    expectShown(false);

    box->click();
    EXPECT_TRUE(settings().doAnimation);
    expectShown(true);

    box->click();
    EXPECT_FALSE(settings().doAnimation);
    expectShown(false);
}

TEST_F(MetricsFormTest, ShiftAndFlipAreThereButDisabled) {
    make();
    EXPECT_FALSE(found<QCheckBox>("X-Flip")->isEnabled());
    EXPECT_FALSE(slider("X-Shift")->isEnabled());
    EXPECT_FALSE(edit("X-Shift")->isEnabled());
}

// The caption "Viewer Distance:" fits the distance to the preview just as the button does.
TEST_F(MetricsFormTest, ClickOnTheDistanceCaptionFitsLikeTheButton) {
    make();
    form_->show();
    QLabel* caption = nullptr;
    for (QLabel* label : form_->findChildren<QLabel*>()) {
        if (label->text() == QStringLiteral("Viewer Distance:")) {
            caption = label;
        }
    }
    ASSERT_NE(caption, nullptr);
    const auto fittedBy = [&](auto act) {
        type("Viewer Distance", "100");
        act();
        return settings().viewerDistance;
    };
    const double byButton =
        fittedBy([&] { found<QPushButton>("Set Distance To Fit Window")->click(); });
    const double byCaption =
        fittedBy([&] { QTest::mouseClick(caption, Qt::LeftButton, {}, caption->rect().center()); });

    SimulationGeometry fitted = simulator().geometry();
    fitted.fitDistance();
    // The fitted distance as shown, to a tenth of a foot.
    EXPECT_NEAR(byButton, fitted.settings().viewerDistance, 0.6);
    EXPECT_EQ(byCaption, byButton);
    EXPECT_NEAR(edit("Viewer Distance")->text().toDouble() * 12.0, byCaption, 1e-3);
}

class MetricsColumnTest : public test::QtApplicationTest {
  protected:
    MemorySettingsStore store_;
    PreviewSplitter splitter_{store_};
};

// The preview keeps the distance relative to a fitted one, so a new size changes it; the form
// shows the new distance and stores it as shown.
TEST_F(MetricsColumnTest, AResizeOfThePreviewRefreshesTheDistance) {
    splitter_.resize(400, 300);
    splitter_.show();
    QLineEdit* distance = named<QLineEdit>(splitter_, QStringLiteral("Viewer Distance"));
    ASSERT_NE(distance, nullptr);
    const QString before = distance->text();

    splitter_.resize(800, 500);
    QCoreApplication::processEvents();
    EXPECT_NE(distance->text(), before);
    EXPECT_NEAR(splitter_.preview().simulator().currentSettings().viewerDistance,
                distance->text().toDouble() * 12.0, 1e-3);
}

TEST_F(MetricsColumnTest, ShowingTheColumnFocusesTheFrameRate) {
    splitter_.resize(800, 500);
    splitter_.show();
    splitter_.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&splitter_));
    splitter_.showMetrics();
    EXPECT_TRUE(splitter_.isMetricsVisible());
    EXPECT_EQ(QApplication::focusWidget(),
              named<QSlider>(splitter_, QStringLiteral("Frames/Second")));
}

}  // namespace
}  // namespace rova
