#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "PreviewTestSupport.h"

namespace rova {
namespace {

struct BackgroundFixture {
    explicit BackgroundFixture(const QString& backgroundPath)
        : store(storeWithBackground(backgroundPath)) {}
    static MemorySettingsStore storeWithBackground(const QString& path) {
        MemorySettingsStore store;
        store.set("BackgroundPath", path);
        return store;
    }
    void layOut() { simulator.resize({0, 0, 400, 300}); }
    // With no players the frame is dark: a drawing shows the background alone.
    void draw() { simulator.composeFrame(); }
    QRgb pixel(int x, int y) const { return simulator.image().pixel(x, y) & 0xFFFFFF; }

    VirtualClock clock;
    MemorySettingsStore store;
    PreviewSimulator simulator{clock, store};
};

TEST(PreviewBackground, IsStretchedOverTheWholeWindowBehindTheLamps) {
    QTemporaryDir dir;
    BackgroundFixture f(test::saveQuadrants(dir, "quadrants.bmp"));
    f.layOut();
    f.draw();
    EXPECT_EQ(f.pixel(50, 40), 0xFF0000u);
    EXPECT_EQ(f.pixel(350, 40), 0x00FF00u);
    EXPECT_EQ(f.pixel(50, 260), 0x0000FFu);
    EXPECT_EQ(f.pixel(350, 260), 0xFFFFFFu);
}

TEST(PreviewBackground, SwitchedOffTheWindowIsBlackEvenWithAPictureLoaded) {
    QTemporaryDir dir;
    BackgroundFixture f(test::saveQuadrants(dir, "quadrants.bmp"));
    f.layOut();
    f.draw();
    f.simulator.setBackgroundViewed(false);
    f.draw();
    EXPECT_TRUE(test::allBlack(f.simulator.image()));
    f.simulator.setBackgroundViewed(true);
    f.draw();
    EXPECT_EQ(f.pixel(350, 260), 0xFFFFFFu);
}

TEST(PreviewBackground, AnUnreadableChoiceKeepsThePreviousPictureAndSetting) {
    QTemporaryDir dir;
    const QString first = test::saveQuadrants(dir, "first.bmp");
    BackgroundFixture f(first);
    f.layOut();
    QFile bad(dir.filePath("notes.bmp"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("this is not a bitmap");
    bad.close();
    const int writesBefore = f.store.writeCount();

    EXPECT_FALSE(f.simulator.chooseBackground(bad.fileName()));
    EXPECT_EQ(f.simulator.backgroundPath(), first);
    EXPECT_EQ(f.store.writeCount(), writesBefore);
    f.simulator.eraseBackground();  // the next drawing repaints everything
    f.draw();
    EXPECT_EQ(f.pixel(50, 40), 0xFF0000u);

    const QString second = test::saveQuadrants(dir, "second.bmp");
    f.simulator.setBackgroundViewed(false);
    EXPECT_TRUE(f.simulator.chooseBackground(second));
    EXPECT_TRUE(f.simulator.backgroundViewed());
    EXPECT_EQ(f.store.setting("BackgroundPath"), second);
}

TEST(PreviewBackground, AMissingFileAtTheFirstLayoutGivesBlack) {
    BackgroundFixture f("/nonexistent/background.bmp");
    f.layOut();
    f.draw();
    EXPECT_TRUE(test::allBlack(f.simulator.image()));
}

TEST(PreviewBackground, ErasingWithThePreviewOffPaintsTheBackgroundAtOnce) {
    QTemporaryDir dir;
    BackgroundFixture f(test::saveQuadrants(dir, "quadrants.bmp"));
    f.layOut();
    f.simulator.setPreviewEnabled(false);
    EXPECT_TRUE(test::allBlack(f.simulator.image()));
    f.simulator.eraseBackground();
    EXPECT_EQ(f.pixel(50, 40), 0xFF0000u);
}

}  // namespace
}  // namespace rova
