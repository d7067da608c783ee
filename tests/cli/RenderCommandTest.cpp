#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QTemporaryDir>

#include <gif_lib.h>

#include "BmpCodec.h"
#include "CliTestSupport.h"
#include "Picture.h"

namespace rova {
namespace {

using test::runTool;

struct GifSummary {
    int width = 0;
    int height = 0;
    int images = 0;
    bool anyLit = false;
};

// Reads the whole GIF back through giflib.
GifSummary readGif(const QString& path) {
    int error = 0;
    GifFileType* gif = DGifOpenFileName(QFile::encodeName(path).constData(), &error);
    if (gif == nullptr) {
        ADD_FAILURE() << "cannot open " << path.toStdString();
        return {};
    }
    GifSummary summary;
    EXPECT_EQ(DGifSlurp(gif), GIF_OK);
    summary.width = gif->SWidth;
    summary.height = gif->SHeight;
    summary.images = gif->ImageCount;
    for (int i = 0; i < gif->ImageCount; ++i) {
        const SavedImage& image = gif->SavedImages[i];
        const long pixels = static_cast<long>(image.ImageDesc.Width) * image.ImageDesc.Height;
        for (long p = 0; p < pixels; ++p) {
            summary.anyLit = summary.anyLit || image.RasterBits[p] != 0;
        }
    }
    DGifCloseFile(gif, &error);
    return summary;
}

class RenderCommandTest : public ::testing::Test {
  protected:
    void SetUp() override {
        NodeList<Command> commands;
        commands.append(test::textCommand(Keyword::Solo, "RENDER", 5.0));
        sequence = dir.filePath("render.rova");
        test::writeSequence(commands, sequence);
    }

    QTemporaryDir dir;
    QString sequence;
};

TEST_F(RenderCommandTest, AGifHoldsOneImageForEachComposedFrameAndTheSameBytesEachTime) {
    const QString gif = dir.filePath("out.GIF");
    const QStringList arguments{"render",   sequence, "-o",     gif,
                                "--frames", "6",      "--size", "160x120"};
    const test::ToolRun run = runTool(arguments);
    EXPECT_EQ(run.status, 0) << run.errors.toStdString();
    EXPECT_FALSE(run.errors.contains('[')) << "no progress bar in a pipe";
    const GifSummary summary = readGif(gif);
    EXPECT_EQ(summary.width, 160);
    EXPECT_EQ(summary.height, 120);
    EXPECT_EQ(summary.images, 6);
    EXPECT_TRUE(summary.anyLit);
    const QByteArray first = test::readFile(gif);
    ASSERT_EQ(runTool(arguments).status, 0);
    EXPECT_EQ(test::readFile(gif), first);
}

TEST_F(RenderCommandTest, AnimatedDrawingGivesOneImageForEachSweep) {
    // 4 frames at 8 a second last 500 ms; sweeps every 63 ms (16 a second) start at 0, 63, ...
    // 441 ms: eight of them.
    const QString gif = dir.filePath("sweeps.gif");
    const test::ToolRun run =
        runTool({"render", sequence, "-o", gif, "--frames", "4", "--size", "80x60", "--animate"});
    EXPECT_EQ(run.status, 0) << run.errors.toStdString();
    EXPECT_EQ(readGif(gif).images, 8);
}

TEST_F(RenderCommandTest, NumberedPngImagesGoIntoAnExistingFolder) {
    const QString folder = dir.filePath("pngs");
    ASSERT_TRUE(QDir().mkpath(folder));
    const test::ToolRun run =
        runTool({"render", sequence, "-o", folder, "--seconds", "0.3", "--size", "64x48"});
    EXPECT_EQ(run.status, 0) << run.errors.toStdString();
    // 0.3 s at 8 frames a second: frames at 0, 125 and 250 ms.
    EXPECT_EQ(QDir(folder).entryList(QDir::Files),
              QStringList({"frame-00000.png", "frame-00001.png", "frame-00002.png"}));
    const QImage first(QDir(folder).filePath("frame-00000.png"));
    EXPECT_EQ(first.size(), QSize(64, 48));
}

TEST_F(RenderCommandTest, UnreadableInputOrOutputExitsOne) {
    const QString gif = dir.filePath("x.gif");
    const test::ToolRun missing =
        runTool({"render", dir.filePath("none.rova"), "-o", gif, "--frames", "2"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(missing.errors.contains("could not be opened."));

    const test::ToolRun background = runTool(
        {"render", sequence, "-o", gif, "--frames", "2", "--background", dir.filePath("none.bmp")});
    EXPECT_EQ(background.status, 1);
    EXPECT_FALSE(background.errors.isEmpty());

    const test::ToolRun unwritable =
        runTool({"render", sequence, "-o", dir.filePath("no/such/folder.gif"), "--frames", "2"});
    EXPECT_EQ(unwritable.status, 1);
}

TEST_F(RenderCommandTest, ABackgroundPictureFillsTheImage) {
    Picture background;
    ASSERT_TRUE(background.createLampFilled(8, 6, 0xFF0000));  // blue
    const QString bmp = dir.filePath("blue.bmp");
    ASSERT_TRUE(saveBmpFile(background, bmp));
    const QString folder = dir.filePath("bg");
    ASSERT_TRUE(QDir().mkpath(folder));
    const test::ToolRun run = runTool({"render", sequence, "-o", folder, "--frames", "1", "--size",
                                       "64x48", "--background", bmp});
    EXPECT_EQ(run.status, 0) << run.errors.toStdString();
    const QImage image(QDir(folder).filePath("frame-00000.png"));
    ASSERT_EQ(image.size(), QSize(64, 48));
    EXPECT_EQ(image.pixel(0, 47) & 0xFFFFFF, 0x0000FFu);  // the corner shows the background
}

}  // namespace
}  // namespace rova
