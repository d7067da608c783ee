#include <gtest/gtest.h>

#include <atomic>

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

    // With the preview off the background shows at once; stopping ends the loop.
    window.togglePreview();
    EXPECT_FALSE(simulator.previewEnabled());
    simulator.eraseBackground();
    EXPECT_TRUE(waitFor([&] { return test::allBlack(window.grab().toImage()); }));
    simulator.stopWorker();
    EXPECT_TRUE(simulator.frameClock().stopped());
    const int drawnWhenStopped = drawings.load();
    QThread::msleep(50);
    EXPECT_EQ(drawings.load(), drawnWhenStopped);
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

}  // namespace
}  // namespace rova
