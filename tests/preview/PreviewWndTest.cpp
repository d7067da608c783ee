// The preview window with its worker drawing while the user works on it, and the metrics form
// over a real simulator: the values it shows in its own units and how it stores them as shown.

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QSlider>
#include <QTest>
#include <atomic>
#include <memory>

#include "MetricsForm.h"
#include "NamedWidget.h"
#include "PreviewTestSupport.h"
#include "PreviewWnd.h"
#include "QtApplicationTest.h"

namespace rova {
namespace {

using test::waitFor;

class PreviewWndTest : public test::QtApplicationTest {
  protected:
    QTemporaryDir dir;
    MemorySettingsStore store;
    std::atomic<int> drawings{0};  // outlives the windows, whose workers may count into it
};

// The user-interface thread works on the pane while the worker thread draws into it. Run under
// ThreadSanitizer (scripts/test.sh) this is what shows an access that misses the simulator's lock.
TEST_F(PreviewWndTest, ThePaneCanBeResizedAndReconfiguredWhileTheWorkerDraws) {
    store.set("BackgroundPath", test::saveQuadrants(dir, "quadrants.bmp"));
    PreviewWnd window(store);
    PreviewSimulator& simulator = window.simulator();
    window.resize(320, 240);
    window.show();
    simulator.addPlayer(test::colourBlock(), true);
    SimulationSettings settings = simulator.currentSettings();
    settings.degreesPerSecond = 7000.0;
    settings.drawsPerSecond = 500.0;

    // About 1.5 seconds of changes from this thread, each racing the worker's drawings.
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < 1000 && timer.elapsed() < 1500; ++i) {
        window.resize(160 + (i * 37) % 320, 120 + (i * 53) % 240);
        settings.framesPerSecond = 100.0 + i % 150;
        settings.viewerY = 40.0 + i % 16;
        settings.viewerAngle = 60 + i % 60;
        settings.doAnimation = i % 3 == 0;
        simulator.applySettings(settings);
        window.toggleBackground();
        window.togglePreview();
        simulator.eraseBackground();  // with the preview off: paints the background on this thread
        window.grab();
        window.togglePreview();
        window.grab();
        QCoreApplication::processEvents();  // the worker's requests to show its drawings
    }

    // The pane ends with the last size set, and the worker draws the white block into it.
    settings.framesPerSecond = 200.0;
    settings.doAnimation = false;
    simulator.applySettings(settings);
    if (simulator.backgroundViewed()) {
        window.toggleBackground();
    }
    window.resize(300, 200);  // a fresh black image: what shows next is the worker's
    QCoreApplication::processEvents();
    simulator.setDrawnHandler([this] { ++drawings; });
    EXPECT_TRUE(waitFor([&] { return drawings.load() >= 10; }));
    EXPECT_EQ(simulator.image().size(), QSize(300, 200));
    EXPECT_EQ(simulator.geometry().clientRect(), QRect(0, 0, 300, 200));
    EXPECT_FALSE(test::allBlack(window.grab().toImage()));
}

TEST_F(PreviewWndTest, ClosingStopsTheLoopBeforeTheSettingsAreWritten) {
    {
        PreviewWnd window(store);
        window.resize(200, 150);
        window.show();
        window.simulator().setDrawnHandler([this] { ++drawings; });
        EXPECT_TRUE(waitFor([&] { return drawings.load() > 0; }));
    }
    EXPECT_EQ(store.setting("FramesPerSecond"), "8");
    EXPECT_FALSE(store.setting("ViewerDistance").isEmpty());
}

using test::named;
using Field = double SimulationSettings::*;
using S = SimulationSettings;

class MetricsFormTest : public test::QtApplicationTest {
  protected:
    // A form over an animated simulator laid out in an 800 × 600 preview, with `field` set to
    // `value` before the form is made.
    void make(Field field = nullptr, double value = 0.0) {
        form_.reset();
        fixture_ = std::make_unique<test::SimulatorFixture>();
        SimulationSettings s = settings();
        s.doAnimation = true;
        if (field != nullptr) {
            s.*field = value;
        }
        fixture_->simulator.applySettings(s);
        form_ = std::make_unique<MetricsForm>(fixture_->simulator);
    }
    SimulationSettings settings() { return fixture_->simulator.currentSettings(); }

    template <typename Widget>
    Widget* found(const char* name) {
        Widget* widget = named<Widget>(*form_, QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QString text(const char* name) { return found<QLineEdit>(name)->text(); }
    void type(const char* name, const char* keys) {
        QLineEdit* field = found<QLineEdit>(name);
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(field, QString::fromLatin1(keys));
    }

    std::unique_ptr<test::SimulatorFixture> fixture_;
    std::unique_ptr<MetricsForm> form_;
};

// The first refresh writes each value back as its field shows it, in the form's units (feet for
// radius and distance, feet above the floor for the viewer, revolutions a minute).
TEST_F(MetricsFormTest, ValuesAreStoredAsShown) {
    const struct {
        const char* name;
        Field field;
        double value;
        const char* text;
        double stored;
    } cases[] = {
        {"Rotor Radius", &S::rotorRadius, 74.0, "6.2", 74.4},
        {"Lamp Spacing", &S::lampSpacingY, 2.625, "2.6", 2.6},
        {"Viewer Distance", &S::viewerDistance, 300.37, "25", 300.0},
        {"Viewer Height", &S::viewerY, 50.0, "4.83", 108.0 - 4.83 * 12.0},
        {"Frames/Second", &S::framesPerSecond, 7.5, "7.5", 7.5},
        {"Revolutions/Minute", &S::degreesPerSecond, 500.0, "83.3", 83.3 * 6.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        make(c.field, c.value);
        EXPECT_EQ(text(c.name), QString::fromLatin1(c.text));
        EXPECT_NEAR(settings().*c.field, c.stored, 1e-4);  // read back in single precision
    }
}

// Typed values are taken over at once, also beyond the sliders' ends; the field keeps the text.
TEST_F(MetricsFormTest, TypedValuesAreAppliedInTheSimulatorsUnits) {
    const struct {
        const char* name;
        const char* keys;
        Field field;
        double stored;
        int position;
    } cases[] = {
        {"Viewer Distance", "300", &S::viewerDistance, 3600.0, 38},
        {"Viewer Height", "6", &S::viewerY, 36.0, 14},
        {"Revolutions/Minute", "100", &S::degreesPerSecond, 600.0, 7},
        // Raised to the simulator's minimum; the field shows 0 until the next refresh.
        {"Redraws/Second", "0", &S::drawsPerSecond, 1.0, 0},
        {"Lamp Diam", "3", &S::lampDiameter, 3.0, 8},
    };
    make();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        type(c.name, c.keys);
        EXPECT_EQ(settings().*c.field, c.stored);
        EXPECT_EQ(text(c.name), QString::fromLatin1(c.keys));
        EXPECT_EQ(found<QSlider>(c.name)->value(), c.position);
    }
    type("Viewer Angle", "45.7");
    EXPECT_EQ(settings().viewerAngle, 45);
    EXPECT_EQ(found<QSlider>("Viewer Angle")->value(), 1);
}

}  // namespace
}  // namespace rova
