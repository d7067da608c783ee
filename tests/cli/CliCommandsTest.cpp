// rova-cli run as the user runs it: what info, frames, render and picture write, and how a
// usage error or an unreadable file ends the tool.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>

#include "BmpCodec.h"
#include "CommandFile.h"
#include "DocumentTestSupport.h"
#include "FramesCommand.h"
#include "Picture.h"
#include "PictureEdits.h"
#include "TestCommands.h"

namespace rova {
namespace {

using test::plainCommand;
using test::readBytes;
using test::textCommand;
using Commands = std::vector<std::unique_ptr<Command>>;

constexpr qsizetype kFrameSize = 2160;

struct ToolRun {
    int status = -1;
    QByteArray output;
    QByteArray errors;
};

// Runs rova-cli with the arguments, waits for it to end and expects the exit status.
ToolRun runTool(const QStringList& arguments, int status = 0) {
    QProcess tool;
    tool.start(ROVA_CLI_PATH, arguments);
    EXPECT_TRUE(tool.waitForFinished(60000)) << arguments.join(' ').toStdString();
    EXPECT_EQ(tool.exitStatus(), QProcess::NormalExit) << arguments.join(' ').toStdString();
    const ToolRun run{tool.exitCode(), tool.readAllStandardOutput(), tool.readAllStandardError()};
    EXPECT_EQ(run.status, status) << run.errors.toStdString();
    return run;
}

// Whether frame k of the tool's output lights nothing.
bool isDark(const QByteArray& frames, qsizetype k) {
    const QByteArray frame = frames.mid(k * kFrameSize, kFrameSize);
    return std::all_of(frame.begin(), frame.end(), [](char byte) { return byte == 0; });
}

// A GIF read back: its size, its number of images and whether any image lights a pixel (the
// palette's entry 0 is black).
std::tuple<QSize, int, bool> readGif(const QString& path) {
    QImageReader reader(path, "gif");
    const QSize size = reader.size();
    int images = 0;
    bool anyLit = false;
    for (QImage image; reader.read(&image); ++images) {
        const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < rgb.height(); ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
            anyLit = anyLit || std::any_of(line, line + rgb.width(),
                                           [](QRgb pixel) { return (pixel & 0xFFFFFF) != 0; });
        }
    }
    return {size, images, anyLit};
}

struct FailOnPrompt final : UserPrompt {
    void showWarning(const QString& message) override { ADD_FAILURE() << message.toStdString(); }
};

class CliTest : public ::testing::Test {
  protected:
    QString path(const QString& name) const { return dir.filePath(name); }
    // Writes `bytes` to the file of that name and returns its path.
    QString file(const QString& name, const QByteArray& bytes) const {
        QFile written(path(name));
        EXPECT_TRUE(written.open(QIODevice::WriteOnly)) << name.toStdString();
        written.write(bytes);
        return path(name);
    }
    // Writes the commands as a sequence file and returns its path.
    QString sequence(const QString& name, Commands commands) const {
        NodeList<Command> list;
        for (auto& command : commands) {
            list.append(std::move(command));
        }
        FailOnPrompt prompt;
        EXPECT_EQ(writeCommands(list, path(name), prompt), FileResult::Ok);
        return path(name);
    }
    // A text shown from time 0 for `seconds`, then every player killed at once.
    QString textThenKillAll(double seconds) const {
        Commands commands;
        commands.push_back(textCommand(Keyword::Solo, "ROVA ROVA ROVA", seconds));
        commands.push_back(plainCommand(Keyword::KillAll, 1.0));
        return sequence(QStringLiteral("text-%1.rova").arg(seconds), std::move(commands));
    }
    // A lamp picture of the size in one colour, saved as a bitmap.
    QString bitmap(const QString& name, int width, int height, ColourRef colour) const {
        Picture filled;
        EXPECT_TRUE(filled.createLampFilled(width, height, colour));
        EXPECT_TRUE(saveBmpFile(filled, path(name)));
        return path(name);
    }
    // The frames the tool writes to standard output.
    static QByteArray frames(const QString& input, const QStringList& options) {
        return runTool(QStringList{"frames", input} + options).output;
    }
    // Runs the picture command into out.bmp and loads the lamp picture it saved.
    const Picture& savedPicture(const QStringList& arguments) {
        runTool(QStringList{"picture"} + arguments + QStringList{"-o", out});
        EXPECT_TRUE(loadBmpFile(picture, out, true));
        return picture;
    }

    QTemporaryDir dir;
    QString out = dir.filePath("out.bmp");
    Picture picture;
};

TEST_F(CliTest, AUsageErrorPrintsOnlyTheUsageOnStandardErrorAndExitsTwo) {
    const ToolRun run = runTool({"frames", "a.rova", "--frames"}, 2);
    EXPECT_EQ(run.output, QByteArray());
    EXPECT_TRUE(run.errors.startsWith("usage: rova-cli info FILE\n")) << run.errors.toStdString();
    EXPECT_TRUE(run.errors.endsWith("text at full size)\n")) << run.errors.toStdString();
}

// Info, frames and render open their input alike; a file that cannot be read or written ends
// the tool with status 1, the reader's message and no output.
TEST_F(CliTest, UnreadableInputOrOutputExitsOneWithAMessage) {
    const QString junk = file("junk.rova", QByteArray(300, 'x'));
    const QString good = sequence("good.rova", {});
    const QString missing = path("missing.rova");
    const QString gif = path("x.gif");
    const struct {
        QStringList arguments;
        QString message;  // empty: any
    } cases[] = {
        {{"info", missing}, QString("\"%1\" could not be opened.").arg(missing)},
        {{"info", junk}, QString("\"%1\" is not a valid Rova file.").arg(junk)},
        {{"frames", junk, "--frames", "2"}, QString("\"%1\" is not a valid Rova file.").arg(junk)},
        {{"frames", path("missing.txt"), "--frames", "2"}, {}},
        {{"frames", path("missing.rtf"), "--frames", "2"}, {}},
        {{"frames", path("picture.bmp"), "--frames", "2"}, {}},
        {{"render", missing, "-o", gif, "--frames", "2"}, "could not be opened."},
        {{"render", good, "-o", gif, "--frames", "2", "--background", path("none.bmp")}, {}},
        {{"render", good, "-o", path("no/such/folder.gif"), "--frames", "2"}, {}},
        {{"picture", path("none.bmp"), "-o", out}, {}},
        {{"picture", file("damaged.bmp", QByteArray(100, 'B')), "-o", out}, {}},
        {{"picture", path("none.txt"), "-o", out}, {}},
        {{"picture", file("blank.txt", "  \r\n\t "), "-o", out}, {}},
        {{"picture", bitmap("p.bmp", 10, 10, 0x00FF00), "-o", dir.path()}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const ToolRun run = runTool(c.arguments, 1);
        EXPECT_TRUE(run.output.isEmpty());
        EXPECT_FALSE(run.errors.isEmpty());
        EXPECT_TRUE(run.errors.contains(c.message.toUtf8())) << run.errors.toStdString();
    }
}

// A text file is listed as the one command it plays as, whose timing the presets decide.
TEST_F(CliTest, InfoPrintsTheFiveCellsOfEachCommandTabSeparated) {
    Commands commands;
    commands.push_back(std::make_unique<Command>());
    commands[0]->setName("Hello", false);
    PlayerParameters& first = commands[0]->parameters();
    first.nextCommandAfter = 2.5;
    first.commandFlags |= CommandFlags::DeathAfterEnabled;
    first.deathAfter = 4.0;
    first.deathType = 1;
    commands.push_back(plainCommand(Keyword::KillAll));
    const QByteArray text = "Hello there\tnew solo player\tindefinite\timmediate\tafter ";
    const std::pair<QString, QByteArray> cases[] = {
        {sequence("two.rova", std::move(commands)),
         QByteArray("Hello\tnew solo player\tafter 4 sec\tdecimate - fast\tafter 2.5 sec\n") +
             "\tkill all players\t\t\tafter 5 sec\n"},
        {file("note.txt", "Hello there\n"), text},
        {file("note.rtf", R"({\rtf1\ansi{\fonttbl{\f0 Arial;}}\f0 Hello there\par})"), text},
    };
    for (const auto& [input, output] : cases) {
        SCOPED_TRACE(input.toStdString());
        const ToolRun run = runTool({"info", input});
        EXPECT_TRUE(run.errors.isEmpty()) << run.errors.toStdString();
        EXPECT_TRUE(run.output.startsWith(output)) << run.output.toStdString();
        EXPECT_EQ(run.output.count('\n'), output.count('\n') + (output.endsWith('\n') ? 0 : 1));
    }
}

TEST(FrameBytes, WritesTheColumnsInOrderAsLittleEndianPlaneWords) {
    LampFrame frame;
    frame.columns[0] = {0x0102, 0x0304, 0x8005};
    frame.columns[359] = {0xFFFE, 0x0000, 0x7F01};
    std::array<std::uint8_t, 2160> expected{0x02, 0x01, 0x04, 0x03, 0x05, 0x80};
    std::ranges::copy(std::array{0xFE, 0xFF, 0x00, 0x00, 0x01, 0x7F}, expected.end() - 6);
    EXPECT_EQ(frameBytes(frame), expected);
}

TEST_F(CliTest, FramesWritesTheFramesAskedForOrThoseComposedBeforeTheSeconds) {
    const QString input = textThenKillAll(2.0);
    const QByteArray byCount = frames(input, {"--frames", "20"});
    EXPECT_EQ(byCount.size(), 20 * kFrameSize);
    // 2.5 s at 8 frames a second: the frames at 0, 125, ... 2375 ms.
    EXPECT_EQ(frames(input, {"--seconds", "2.5", "--seed", "1"}), byCount);
    // 3 frames a second have a period of 333 ms: 1 s holds the frames at 0, 333, 666 and 999.
    EXPECT_TRUE(frames(input, {"--seconds", "1", "--fps", "3", "-o", path("out.bin")}).isEmpty());
    EXPECT_EQ(QFileInfo(path("out.bin")).size(), 4 * kFrameSize);
    EXPECT_TRUE(frames(input, {"--frames", "0"}).isEmpty());
    // A text file plays as a one-command sequence.
    EXPECT_FALSE(isDark(frames(file("hello.TXT", "  Hello\r\nrotor\n"), {"--frames", "1"}), 0));
}

// Killed at 250 ms: frames 0 and 1 show the text, frame 2 (composed at 250 ms) is dark. Killed
// at 260 ms: the kill is due after frame 2, so that frame still shows the text.
TEST_F(CliTest, ACommandDueAtAFrameTimeRunsBeforeThatFrameIsComposed) {
    for (const auto& [seconds, firstDark] : {std::pair{0.25, 2}, {0.26, 3}}) {
        SCOPED_TRACE(seconds);
        const QByteArray shown = frames(textThenKillAll(seconds), {"--frames", "4"});
        ASSERT_EQ(shown.size(), 4 * kFrameSize);
        for (int k = 0; k < 4; ++k) {
            EXPECT_EQ(isDark(shown, k), k >= firstDark) << k;
        }
    }
}

// At the frame of 125 ms the kill (due at 100 ms) and the second text (due at 110 ms) have both
// fallen due: that frame shows the second text, not a dark rotor.
TEST_F(CliTest, CommandsThatFallDueWithinOneFrameAllRunBeforeIt) {
    Commands commands;
    commands.push_back(textCommand(Keyword::Solo, "FIRST", 0.1));
    commands.push_back(plainCommand(Keyword::KillAll, 0.01));
    commands.push_back(textCommand(Keyword::Solo, "SECOND", 5.0));
    const QByteArray shown = frames(sequence("quick.rova", std::move(commands)), {"--frames", "2"});
    ASSERT_EQ(shown.size(), 2 * kFrameSize);
    EXPECT_FALSE(isDark(shown, 1));
    EXPECT_NE(shown.mid(kFrameSize), shown.left(kFrameSize));
}

TEST_F(CliTest, TheSeedDecidesTheDecimationAndNothingElse) {
    Commands commands;
    commands.push_back(textCommand(Keyword::Solo, "DECIMATE ME", 0.5));
    commands.back()->parameters().deathType = 2;  // decimated slowly when killed
    commands.push_back(plainCommand(Keyword::KillAll, 3.0));
    const QString input = sequence("decimate.rova", std::move(commands));
    const QByteArray first = frames(input, {"--frames", "24", "--seed", "5"});
    const QByteArray other = frames(input, {"--frames", "24", "--seed", "6"});
    ASSERT_EQ(first.size(), 24 * kFrameSize);
    EXPECT_EQ(frames(input, {"--frames", "24", "--seed", "5"}), first);
    EXPECT_NE(other, first);
    // Before the kill at 500 ms the seed plays no part.
    EXPECT_EQ(other.left(4 * kFrameSize), first.left(4 * kFrameSize));
}

// 4 frames at 8 a second last 500 ms; animated sweeps every 63 ms (16 a second) start at 0,
// 63, ... 441 ms: eight of them.
TEST_F(CliTest, RenderWritesAGifImageForEachFrameOrSweepAndTheSameBytesEachTime) {
    Commands commands;
    commands.push_back(textCommand(Keyword::Solo, "RENDER", 5.0));
    const QString input = sequence("render.rova", std::move(commands));
    const QString gif = path("out.GIF");
    const QStringList arguments{"render", input, "-o", gif, "--frames", "6", "--size", "160x120"};
    const ToolRun run = runTool(arguments);
    EXPECT_FALSE(run.errors.contains('[')) << "no progress bar in a pipe";
    EXPECT_EQ(readGif(gif), std::tuple(QSize(160, 120), 6, true));
    const QByteArray first = readBytes(gif);
    runTool(arguments);
    EXPECT_EQ(readBytes(gif), first);

    runTool({"render", input, "-o", path("sweeps.gif"), "--frames", "4", "--size", "80x60",
             "--animate"});
    EXPECT_EQ(std::get<1>(readGif(path("sweeps.gif"))), 8);
}

// 0.3 s at 8 frames a second: frames at 0, 125 and 250 ms, over a blue background.
TEST_F(CliTest, RenderWritesNumberedPngImagesIntoAnExistingFolder) {
    const QString folder = path("pngs");
    ASSERT_TRUE(QDir().mkpath(folder));
    runTool({"render", sequence("empty.rova", {}), "-o", folder, "--seconds", "0.3", "--size",
             "64x48", "--background", bitmap("blue.bmp", 8, 6, 0xFF0000)});
    EXPECT_EQ(QDir(folder).entryList(QDir::Files),
              QStringList({"frame-00000.png", "frame-00001.png", "frame-00002.png"}));
    const QImage image(QDir(folder).filePath("frame-00002.png"));
    ASSERT_EQ(image.size(), QSize(64, 48));
    EXPECT_EQ(image.pixel(0, 47) & 0xFFFFFF, 0x0000FFu) << "the corner shows the background";
}

// (100 × 16 + 20) / 40 = 40 columns at 16 rows; (100 × 4 + 20) / 40 = 10 at 4 rows.
TEST_F(CliTest, PictureRebuildsABitmapAtItsHeightButAtMostSixteenRows) {
    const QString wide = bitmap("wide.bmp", 100, 40, 0x00FF00);
    const Picture& saved = savedPicture({wide});
    EXPECT_EQ(std::tuple(saved.width(), saved.height(), saved.colourTable().size()),
              std::tuple(40, 16, std::size_t{8}));
    EXPECT_EQ(saved.pixelValue(20, 8), 2u);  // green
    savedPicture({bitmap("small.bmp", 30, 8, 0x00FF00)});
    EXPECT_EQ(QSize(picture.width(), picture.height()), QSize(30, 8));
    savedPicture({wide, "--rows", "4"});
    EXPECT_EQ(QSize(picture.width(), picture.height()), QSize(10, 4));
}

// Bold 12-point capitals are about 9 points high and 50 wide, cut to the lit lamps.
TEST_F(CliTest, PictureRendersATextAtFullSizeCutToItsLampsOrRebuiltWhenAsked) {
    const Picture& full = savedPicture({file("hello.txt", "  HELLO\r\n")});
    EXPECT_GT(full.height(), 5);
    EXPECT_LT(full.height(), 16);
    EXPECT_GT(full.width(), full.height() * 3);
    EXPECT_EQ(contentBounds(full), QRect(0, 0, full.width(), full.height()));
    const Picture& rebuilt = savedPicture({file("hello.rtf", "{\\rtf1 HELLO}"), "--rows", "4"});
    EXPECT_EQ(rebuilt.height(), 4);
    EXPECT_GT(rebuilt.width(), 4);
}

}  // namespace
}  // namespace rova
