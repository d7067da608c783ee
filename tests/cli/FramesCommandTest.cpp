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

// Whether frame k of the tool's output lights nothing.
bool isDark(const QByteArray& frames, qsizetype k) {
    const QByteArray frame = frames.mid(k * kFrameSize, kFrameSize);
    return std::all_of(frame.begin(), frame.end(), [](char byte) { return byte == 0; });
}

class FramesCommandTest : public ::testing::Test {
  protected:
    // Writes the commands as a sequence file.
    QString sequence(const QString& name, std::vector<std::unique_ptr<Command>> commands) {
        NodeList<Command> list;
        for (auto& command : commands) {
            list.append(std::move(command));
        }
        const QString path = dir.filePath(name);
        test::writeSequence(list, path);
        return path;
    }
    // A text shown from time 0 for `seconds`, then every player killed at once.
    QString textThenKillAll(double seconds) {
        std::vector<std::unique_ptr<Command>> commands;
        commands.push_back(textCommand(Keyword::Solo, "ROVA ROVA ROVA", seconds));
        commands.push_back(plainCommand(Keyword::KillAll, 1.0));
        return sequence(QStringLiteral("text-%1.rova").arg(seconds), std::move(commands));
    }
    // The frames the tool writes to standard output.
    static QByteArray frames(const QString& path, const QStringList& options) {
        const test::ToolRun run = runTool(QStringList{"frames", path} + options);
        EXPECT_EQ(run.status, 0) << run.errors.toStdString();
        return run.output;
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

TEST_F(FramesCommandTest, WritesTheFramesAskedForOrThoseComposedBeforeTheSeconds) {
    const QString path = textThenKillAll(2.0);
    const QByteArray byCount = frames(path, {"--frames", "20"});
    EXPECT_EQ(byCount.size(), 20 * kFrameSize);
    // 2.5 s at 8 frames a second: the frames at 0, 125, ... 2375 ms.
    EXPECT_EQ(frames(path, {"--seconds", "2.5", "--seed", "1"}), byCount);
    // 3 frames a second have a period of 333 ms: 1 s holds the frames at 0, 333, 666 and 999.
    const QString out = dir.filePath("out.bin");
    EXPECT_TRUE(frames(path, {"--seconds", "1", "--fps", "3", "-o", out}).isEmpty());
    EXPECT_EQ(QFileInfo(out).size(), 4 * kFrameSize);
    EXPECT_TRUE(frames(path, {"--frames", "0"}).isEmpty());
}

TEST_F(FramesCommandTest, ACommandDueAtAFrameTimeRunsBeforeThatFrameIsComposed) {
    // Killed at 250 ms: frames 0 and 1 show the text, frame 2 (composed at 250 ms) is dark.
    const QByteArray onTime = frames(textThenKillAll(0.25), {"--frames", "4"});
    ASSERT_EQ(onTime.size(), 4 * kFrameSize);
    EXPECT_FALSE(isDark(onTime, 0));
    EXPECT_FALSE(isDark(onTime, 1));
    EXPECT_TRUE(isDark(onTime, 2));
    EXPECT_TRUE(isDark(onTime, 3));
    // Killed at 260 ms: the kill is due after frame 2, so that frame still shows the text.
    const QByteArray late = frames(textThenKillAll(0.26), {"--frames", "4"});
    ASSERT_EQ(late.size(), 4 * kFrameSize);
    EXPECT_FALSE(isDark(late, 2));
    EXPECT_TRUE(isDark(late, 3));
}

TEST_F(FramesCommandTest, CommandsThatFallDueWithinOneFrameAllRunBeforeIt) {
    // At the frame of 125 ms the kill (due at 100 ms) and the second text (due at 110 ms) have
    // both fallen due: that frame shows the second text, not a dark rotor.
    std::vector<std::unique_ptr<Command>> commands;
    commands.push_back(textCommand(Keyword::Solo, "FIRST", 0.1));
    commands.push_back(plainCommand(Keyword::KillAll, 0.01));
    commands.push_back(textCommand(Keyword::Solo, "SECOND", 5.0));
    const QByteArray shown = frames(sequence("quick.rova", std::move(commands)), {"--frames", "2"});
    ASSERT_EQ(shown.size(), 2 * kFrameSize);
    EXPECT_FALSE(isDark(shown, 1));
    EXPECT_NE(shown.mid(kFrameSize), shown.left(kFrameSize));
}

TEST_F(FramesCommandTest, TheSeedDecidesTheDecimationAndNothingElse) {
    std::vector<std::unique_ptr<Command>> commands;
    commands.push_back(textCommand(Keyword::Solo, "DECIMATE ME", 0.5));
    commands.back()->parameters().deathType = 2;  // decimated slowly when killed
    commands.push_back(plainCommand(Keyword::KillAll, 3.0));
    const QString path = sequence("decimate.rova", std::move(commands));
    const QByteArray first = frames(path, {"--frames", "24", "--seed", "5"});
    const QByteArray other = frames(path, {"--frames", "24", "--seed", "6"});
    ASSERT_EQ(first.size(), 24 * kFrameSize);
    EXPECT_EQ(frames(path, {"--frames", "24", "--seed", "5"}), first);
    EXPECT_NE(other, first);
    // Before the kill at 500 ms the seed plays no part.
    EXPECT_EQ(other.left(4 * kFrameSize), first.left(4 * kFrameSize));
}

TEST_F(FramesCommandTest, TextFilesPlayAsOneCommandSequences) {
    const QString text = test::writeFile(dir.filePath("hello.TXT"), "  Hello\r\nrotor\n");
    const QByteArray shown = frames(text, {"--frames", "3"});
    ASSERT_EQ(shown.size(), 3 * kFrameSize);
    EXPECT_FALSE(isDark(shown, 0));
}

TEST_F(FramesCommandTest, UnreadableInputExitsOne) {
    const QString junk = test::writeFile(dir.filePath("junk.rova"), QByteArray(300, 'x'));
    const QString missing = dir.filePath("missing.rova");
    const struct {
        QString path;
        QString message;  // empty: any
    } cases[] = {
        {missing, QString("\"%1\" could not be opened.").arg(missing)},
        {junk, QString("\"%1\" is not a valid Rova file.").arg(junk)},
        {dir.filePath("missing.txt"), {}},
        {dir.filePath("missing.rtf"), {}},
        {dir.filePath("picture.bmp"), {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        const test::ToolRun run = runTool({"frames", c.path, "--frames", "2"});
        EXPECT_EQ(run.status, 1);
        EXPECT_TRUE(run.output.isEmpty());
        EXPECT_FALSE(run.errors.isEmpty());
        EXPECT_TRUE(run.errors.contains(c.message.toUtf8()));
    }
}

}  // namespace
}  // namespace rova
