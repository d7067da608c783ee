#include <gtest/gtest.h>

#include <QFile>
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
        Picture picture;
        EXPECT_TRUE(picture.createLampFilled(width, height, 0x00FF00));
        const QString path = dir.filePath(name);
        EXPECT_TRUE(saveBmpFile(picture, path));
        return path;
    }
    QString textFile(const QString& name, const QByteArray& bytes) {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    // The lamp picture the tool saved, or an empty picture.
    void load(const QString& path, Picture& picture) {
        EXPECT_TRUE(loadBmpFile(picture, path, true)) << path.toStdString();
    }

    QTemporaryDir dir;
    QString out = dir.filePath("out.bmp");
};

TEST_F(PictureCommandTest, APictureIsRebuiltAtItsHeightButAtMostSixteenRows) {
    ASSERT_EQ(runTool({"picture", bitmap("wide.bmp", 100, 40), "-o", out}).status, 0);
    Picture wide;
    load(out, wide);
    EXPECT_EQ(wide.width(), 40);
    EXPECT_EQ(wide.height(), 16);
    EXPECT_EQ(wide.colourTable().size(), 8u);
    EXPECT_EQ(wide.pixelValue(20, 8), 2u);  // green

    ASSERT_EQ(runTool({"picture", bitmap("small.bmp", 30, 8), "-o", out}).status, 0);
    Picture small;
    load(out, small);
    EXPECT_EQ(small.width(), 30);
    EXPECT_EQ(small.height(), 8);

    // (100 × 4 + 20) / 40 = 10 columns at 4 rows.
    ASSERT_EQ(runTool({"picture", dir.filePath("wide.bmp"), "-o", out, "--rows", "4"}).status, 0);
    Picture four;
    load(out, four);
    EXPECT_EQ(four.width(), 10);
    EXPECT_EQ(four.height(), 4);
}

TEST_F(PictureCommandTest, ATextIsRenderedAtFullSizeCutToItsLampsAndRebuiltWhenAsked) {
    const QString text = textFile("hello.txt", "  HELLO\r\n");
    ASSERT_EQ(runTool({"picture", text, "-o", out}).status, 0);
    Picture full;
    load(out, full);
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

    const QString rich = textFile("hello.rtf", "{\\rtf1 HELLO}");
    ASSERT_EQ(runTool({"picture", rich, "-o", out, "--rows", "4"}).status, 0);
    Picture small;
    load(out, small);
    EXPECT_EQ(small.height(), 4);
    EXPECT_GT(small.width(), 4);
}

TEST_F(PictureCommandTest, UnreadableInputOrOutputExitsOne) {
    const QString picture = bitmap("p.bmp", 10, 10);
    const QString damaged = textFile("damaged.bmp", QByteArray(100, 'B'));
    for (const QString& input : {dir.filePath("none.bmp"), damaged, dir.filePath("none.txt"),
                                 textFile("blank.txt", "  \r\n\t ")}) {
        const test::ToolRun run = runTool({"picture", input, "-o", out});
        EXPECT_EQ(run.status, 1) << input.toStdString();
        EXPECT_FALSE(run.errors.isEmpty()) << input.toStdString();
    }
    const test::ToolRun unwritable =
        runTool({"picture", picture, "-o", dir.path()});  // a folder cannot be replaced
    EXPECT_EQ(unwritable.status, 1);
}

}  // namespace
}  // namespace rova
