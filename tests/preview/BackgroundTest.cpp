#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "PreviewTestSupport.h"

namespace rova {
namespace {

// A simulator in a 400 × 300 window whose stored background is a picture of four quadrants.
// With no players the frame is dark: a drawing shows the background alone.
class PreviewBackground : public ::testing::Test {
  protected:
    void layOut(const QString& path) {
        store.set("BackgroundPath", path);
        simulator = std::make_unique<PreviewSimulator>(clock, store);
        simulator->resize({0, 0, 400, 300});
    }
    QRgb pixel(int x, int y) const { return simulator->image().pixel(x, y) & 0xFFFFFF; }
    // The four quadrants' middles: red, green on top; blue, white below.
    std::vector<QRgb> quadrants() const {
        return {pixel(50, 40), pixel(350, 40), pixel(50, 260), pixel(350, 260)};
    }
    const std::vector<QRgb> kShown{0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};

    QTemporaryDir dir;
    const QString quadrantsPath = test::saveQuadrants(dir, "quadrants.bmp");
    VirtualClock clock;
    MemorySettingsStore store;
    std::unique_ptr<PreviewSimulator> simulator;
};

TEST_F(PreviewBackground, IsStretchedOverTheWholeWindowUnlessSwitchedOff) {
    layOut(quadrantsPath);
    simulator->composeFrame();
    EXPECT_EQ(quadrants(), kShown);
    simulator->setBackgroundViewed(false);
    simulator->composeFrame();
    EXPECT_TRUE(test::allBlack(simulator->image()));
    simulator->setBackgroundViewed(true);
    simulator->composeFrame();
    EXPECT_EQ(quadrants(), kShown);
}

TEST_F(PreviewBackground, AnUnreadableChoiceKeepsThePreviousPictureAndSetting) {
    layOut(quadrantsPath);
    QFile bad(dir.filePath("notes.bmp"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("this is not a bitmap");
    bad.close();
    const int writesBefore = store.writeCount();
    EXPECT_FALSE(simulator->chooseBackground(bad.fileName()));
    EXPECT_EQ(simulator->backgroundPath(), quadrantsPath);
    EXPECT_EQ(store.writeCount(), writesBefore);
    simulator->eraseBackground();  // the next drawing repaints everything
    simulator->composeFrame();
    EXPECT_EQ(quadrants(), kShown);

    // A readable choice is shown and stored, and switches the background on.
    const QString second = test::saveQuadrants(dir, "second.bmp");
    simulator->setBackgroundViewed(false);
    EXPECT_TRUE(simulator->chooseBackground(second));
    EXPECT_TRUE(simulator->backgroundViewed());
    EXPECT_EQ(store.setting("BackgroundPath"), second);
}

TEST_F(PreviewBackground, AMissingFileAtTheFirstLayoutGivesBlack) {
    layOut("/nonexistent/background.bmp");
    simulator->composeFrame();
    EXPECT_TRUE(test::allBlack(simulator->image()));
}

TEST_F(PreviewBackground, ErasingWithThePreviewOffPaintsTheBackgroundAtOnce) {
    layOut(quadrantsPath);
    simulator->setPreviewEnabled(false);
    EXPECT_TRUE(test::allBlack(simulator->image()));
    simulator->eraseBackground();
    EXPECT_EQ(quadrants(), kShown);
}

}  // namespace
}  // namespace rova
