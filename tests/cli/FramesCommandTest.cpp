#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <algorithm>

#include "CliTestSupport.h"
#include "FramesCommand.h"

namespace rova {
namespace {

using test::plainCommand;
using test::runTool;
using test::textCommand;

constexpr qsizetype kFrameSize = 2160;

// Frame k of the tool's output.
QByteArray frameAt(const QByteArray& frames, qsizetype k) {
    return frames.mid(k * kFrameSize, kFrameSize);
}

bool isDark(const QByteArray& frame) {
    return std::all_of(frame.begin(), frame.end(), [](char byte) { return byte == 0; });
}

class FramesCommandTest : public ::testing::Test {
  protected:
    // A text shown from time 0 for `seconds`, then every player killed at once.
    QString textThenKillAll(double seconds) {
        NodeList<Command> commands;
        commands.append(textCommand(Keyword::Solo, "ROVA ROVA ROVA", seconds));
        commands.append(plainCommand(Keyword::KillAll, 1.0));
        const QString path = dir.filePath(QStringLiteral("text-%1.rova").arg(seconds));
        test::writeSequence(commands, path);
        return path;
    }

    QTemporaryDir dir;
};

TEST(FrameBytes, WritesTheColumnsInOrderAsLittleEndianPlaneWords) {
    LampFrame frame;
    frame.columns[0] = {0x0102, 0x0304, 0x8005};
    frame.columns[359] = {0xFFFE, 0x0000, 0x7F01};
    const FrameBytes bytes = frameBytes(frame);
    ASSERT_EQ(bytes.size(), 2160u);
    EXPECT_EQ(std::vector<int>(bytes.begin(), bytes.begin() + 6),
              std::vector<int>({0x02, 0x01, 0x04, 0x03, 0x05, 0x80}));
    EXPECT_EQ(std::vector<int>(bytes.end() - 6, bytes.end()),
              std::vector<int>({0xFE, 0xFF, 0x00, 0x00, 0x01, 0x7F}));
    EXPECT_TRUE(std::all_of(bytes.begin() + 6, bytes.end() - 6, [](auto b) { return b == 0; }));
}

TEST_F(FramesCommandTest, WritesTheFramesAskedForAndTheSameBytesForTheSameSeed) {
    const QString path = textThenKillAll(2.0);
    const test::ToolRun byCount = runTool({"frames", path, "--frames", "20"});
    EXPECT_EQ(byCount.status, 0) << byCount.errors.toStdString();
    EXPECT_EQ(byCount.output.size(), 20 * kFrameSize);

    // 2.5 s at 8 frames a second: the frames at 0, 125, ... 2375 ms.
    const test::ToolRun bySeconds = runTool({"frames", path, "--seconds", "2.5", "--seed", "1"});
    EXPECT_EQ(bySeconds.output, byCount.output);

    // 3 frames a second have a period of 333 ms: 1 s holds the frames at 0, 333, 666 and 999.
    const QString out = dir.filePath("out.bin");
    const test::ToolRun toFile =
        runTool({"frames", path, "--seconds", "1", "--fps", "3", "-o", out});
    EXPECT_EQ(toFile.status, 0);
    EXPECT_TRUE(toFile.output.isEmpty());
    EXPECT_EQ(QFileInfo(out).size(), 4 * kFrameSize);

    const test::ToolRun none = runTool({"frames", path, "--frames", "0"});
    EXPECT_EQ(none.status, 0);
    EXPECT_TRUE(none.output.isEmpty());
}

TEST_F(FramesCommandTest, ACommandDueAtAFrameTimeRunsBeforeThatFrameIsComposed) {
    // Killed at 250 ms: frames 0 and 1 show the text, frame 2 (composed at 250 ms) is dark.
    const QByteArray onTime = runTool({"frames", textThenKillAll(0.25), "--frames", "4"}).output;
    ASSERT_EQ(onTime.size(), 4 * kFrameSize);
    EXPECT_FALSE(isDark(frameAt(onTime, 0)));
    EXPECT_FALSE(isDark(frameAt(onTime, 1)));
    EXPECT_TRUE(isDark(frameAt(onTime, 2)));
    EXPECT_TRUE(isDark(frameAt(onTime, 3)));

    // Killed at 260 ms: the kill is due after frame 2, so that frame still shows the text.
    const QByteArray late = runTool({"frames", textThenKillAll(0.26), "--frames", "4"}).output;
    ASSERT_EQ(late.size(), 4 * kFrameSize);
    EXPECT_FALSE(isDark(frameAt(late, 2)));
    EXPECT_TRUE(isDark(frameAt(late, 3)));
}

TEST_F(FramesCommandTest, CommandsThatFallDueWithinOneFrameAllRunBeforeIt) {
    // At the frame of 125 ms the kill (due at 100 ms) and the second text (due at 110 ms) have
    // both fallen due: that frame shows the second text, not a dark rotor.
    NodeList<Command> commands;
    commands.append(textCommand(Keyword::Solo, "FIRST", 0.1));
    commands.append(plainCommand(Keyword::KillAll, 0.01));
    commands.append(textCommand(Keyword::Solo, "SECOND", 5.0));
    const QString path = dir.filePath("quick.rova");
    test::writeSequence(commands, path);

    const QByteArray frames = runTool({"frames", path, "--frames", "2"}).output;
    ASSERT_EQ(frames.size(), 2 * kFrameSize);
    EXPECT_FALSE(isDark(frameAt(frames, 1)));
    EXPECT_NE(frameAt(frames, 1), frameAt(frames, 0));
}

TEST_F(FramesCommandTest, TheSeedDecidesTheDecimationAndNothingElse) {
    NodeList<Command> commands;
    auto shown = textCommand(Keyword::Solo, "DECIMATE ME", 0.5);
    shown->parameters().deathType = 2;  // decimated slowly when killed
    commands.append(std::move(shown));
    commands.append(plainCommand(Keyword::KillAll, 3.0));
    const QString path = dir.filePath("decimate.rova");
    test::writeSequence(commands, path);

    const QByteArray first = runTool({"frames", path, "--frames", "24", "--seed", "5"}).output;
    const QByteArray again = runTool({"frames", path, "--frames", "24", "--seed", "5"}).output;
    const QByteArray other = runTool({"frames", path, "--frames", "24", "--seed", "6"}).output;
    ASSERT_EQ(first.size(), 24 * kFrameSize);
    EXPECT_EQ(again, first);
    EXPECT_NE(other, first);
    // Before the kill at 500 ms the seed plays no part.
    EXPECT_EQ(other.left(4 * kFrameSize), first.left(4 * kFrameSize));
}

TEST_F(FramesCommandTest, TextFilesPlayAsOneCommandSequences) {
    const QString path = dir.filePath("hello.TXT");
    QFile text(path);
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("  Hello\r\nrotor\n");
    text.close();
    const test::ToolRun run = runTool({"frames", path, "--frames", "3"});
    EXPECT_EQ(run.status, 0) << run.errors.toStdString();
    ASSERT_EQ(run.output.size(), 3 * kFrameSize);
    EXPECT_FALSE(isDark(frameAt(run.output, 0)));
}

TEST_F(FramesCommandTest, UnreadableInputExitsOne) {
    const QString missing = dir.filePath("missing.rova");
    const test::ToolRun absent = runTool({"frames", missing, "--frames", "2"});
    EXPECT_EQ(absent.status, 1);
    EXPECT_TRUE(
        absent.errors.contains(QString("\"%1\" could not be opened.").arg(missing).toUtf8()));
    EXPECT_TRUE(absent.output.isEmpty());

    const QString junk = dir.filePath("junk.rova");
    QFile file(junk);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(300, 'x'));
    file.close();
    const test::ToolRun damaged = runTool({"frames", junk, "--frames", "2"});
    EXPECT_EQ(damaged.status, 1);
    EXPECT_TRUE(damaged.errors.contains("is not a valid Rova file."));

    for (const char* name : {"missing.txt", "missing.rtf", "picture.bmp"}) {
        const test::ToolRun run = runTool({"frames", dir.filePath(name), "--frames", "2"});
        EXPECT_EQ(run.status, 1) << name;
        EXPECT_FALSE(run.errors.isEmpty()) << name;
    }
}

}  // namespace
}  // namespace rova
