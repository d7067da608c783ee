#include <gtest/gtest.h>

#include <atomic>

#include "PreviewTestSupport.h"
#include "PreviewWnd.h"
#include "QtApplicationTest.h"

namespace rova {
namespace {

using test::waitFor;
using test::whiteBlock;

class PreviewWndTest : public test::QtApplicationTest {};

TEST_F(PreviewWndTest, ShowsWhatTheWorkerDraws) {
    MemorySettingsStore store;
    PreviewWnd window(store);
    window.resize(320, 240);
    window.show();
    window.simulator().setFramesPerSecond(30.0);
    window.simulator().addPlayer(whiteBlock(), true);
    EXPECT_TRUE(waitFor([&] { return !test::allBlack(window.grab().toImage()); }));

    window.togglePreview();
    EXPECT_FALSE(window.simulator().previewEnabled());
    window.simulator().eraseBackground();  // with the preview off the background shows at once
    EXPECT_TRUE(waitFor([&] { return test::allBlack(window.grab().toImage()); }));
}

TEST_F(PreviewWndTest, WithThePreviewOffAResizedPaneShowsTheBackground) {
    QTemporaryDir dir;
    MemorySettingsStore store;
    store.set("BackgroundPath", test::saveQuadrants(dir, "quadrants.bmp"));
    PreviewWnd window(store);
    window.resize(200, 150);
    window.show();
    window.togglePreview();
    window.resize(320, 240);
    QCoreApplication::processEvents();
    const QImage shown = window.grab().toImage();
    EXPECT_EQ(shown.pixel(40, 30) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(shown.pixel(280, 210) & 0xFFFFFF, 0xFFFFFFu);
}

TEST_F(PreviewWndTest, ClosingStopsTheLoopBeforeTheSettingsAreWritten) {
    MemorySettingsStore store;
    std::atomic<int> drawings{0};  // outlives the window, whose worker may count into it
    {
        PreviewWnd window(store);
        window.resize(200, 150);
        window.show();
        SimulationSettings s = window.simulator().currentSettings();
        s.doAnimation = true;
        window.simulator().applySettings(s);
        window.simulator().setDrawnHandler([&drawings] { ++drawings; });
        waitFor([&] { return drawings.load() > 0; });
    }
    EXPECT_EQ(store.setting("DoAnimation"), "1");
    EXPECT_FALSE(store.setting("ViewerDistance").isEmpty());
}

}  // namespace
}  // namespace rova
