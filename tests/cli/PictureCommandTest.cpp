#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "BmpCodec.h"
#include "CliTestSupport.h"
#include "Picture.h"

namespace rova {
namespace {

using test::runTool;

class PictureCommandTest : public ::testing::Test {
  protected:
    QString bitmap(const QString& name, int width, int height) {
        Picture green;
        EXPECT_TRUE(green.createLampFilled(width, height, 0x00FF00));
        const QString path = dir.filePath(name);
        EXPECT_TRUE(saveBmpFile(green, path));
        return path;
    }
    QString textFile(const QString& name, const QByteArray& bytes) {
        return test::writeFile(dir.filePath(name), bytes);
    }
    // Runs the tool and loads the lamp picture it saved.
    const Picture& saved(const QStringList& arguments) {
        EXPECT_EQ(runTool(QStringList{"picture"} + arguments + QStringList{"-o", out}).status, 0);
        EXPECT_TRUE(loadBmpFile(picture, out, true));
        return picture;
    }

    QTemporaryDir dir;
    QString out = dir.filePath("out.bmp");
    Picture picture;
};

TEST_F(PictureCommandTest, APictureIsRebuiltAtItsHeightButAtMostSixteenRows) {
    const Picture& wide = saved({bitmap("wide.bmp", 100, 40)});
    EXPECT_EQ(wide.width(), 40);
    EXPECT_EQ(wide.height(), 16);
    EXPECT_EQ(wide.colourTable().size(), 8u);
    EXPECT_EQ(wide.pixelValue(20, 8), 2u);  // green
    EXPECT_EQ(saved({bitmap("small.bmp", 30, 8)}).width(), 30);
    EXPECT_EQ(picture.height(), 8);
    // (100 × 4 + 20) / 40 = 10 columns at 4 rows.
    EXPECT_EQ(saved({dir.filePath("wide.bmp"), "--rows", "4"}).width(), 10);
    EXPECT_EQ(picture.height(), 4);
}

TEST_F(PictureCommandTest, ATextIsRenderedAtFullSizeCutToItsLampsAndRebuiltWhenAsked) {
    const Picture& full = saved({textFile("hello.txt", "  HELLO\r\n")});
    // Bold 12-point capitals are about 9 points high and 50 wide; cut to the lit lamps.
    EXPECT_GT(full.height(), 5);
    EXPECT_LT(full.height(), 16);
    EXPECT_GT(full.width(), full.height() * 3);
    bool litTop = false;
    bool litLeft = false;
    for (int x = 0; x < full.width(); ++x) {
        litTop = litTop || full.pixelValue(x, 0) != 0;
    }
    for (int y = 0; y < full.height(); ++y) {
        litLeft = litLeft || full.pixelValue(0, y) != 0;
    }
    EXPECT_TRUE(litTop && litLeft);
    saved({textFile("hello.rtf", "{\\rtf1 HELLO}"), "--rows", "4"});
    EXPECT_EQ(picture.height(), 4);
    EXPECT_GT(picture.width(), 4);
}

TEST_F(PictureCommandTest, UnreadableInputOrOutputExitsOne) {
    for (const QString& input :
         {dir.filePath("none.bmp"), textFile("damaged.bmp", QByteArray(100, 'B')),
          dir.filePath("none.txt"), textFile("blank.txt", "  \r\n\t ")}) {
        const test::ToolRun run = runTool({"picture", input, "-o", out});
        EXPECT_EQ(run.status, 1) << input.toStdString();
        EXPECT_FALSE(run.errors.isEmpty()) << input.toStdString();
    }
    // A folder cannot be replaced.
    EXPECT_EQ(runTool({"picture", bitmap("p.bmp", 10, 10), "-o", dir.path()}).status, 1);
}

}  // namespace
}  // namespace rova
