#include <gtest/gtest.h>

#include <QProcess>
#include <QString>
#include <QStringList>

#include <string>

#include "FramesCommand.h"
#include "PictureCommand.h"
#include "RenderCommand.h"

namespace rova {
namespace {

constexpr const char* kUsageError = "usage error";

QString described(const PlaybackOptions& playback) {
    const QString length = playback.frames ? QStringLiteral("frames %1").arg(*playback.frames)
                                           : QStringLiteral("seconds %1").arg(playback.seconds);
    return QStringLiteral("%1, fps %2, seed %3")
        .arg(length)
        .arg(playback.framesPerSecond)
        .arg(playback.seed);
}

// The values that the words after `command` give, as one line, or "usage error".
std::string readAs(const QString& command, const QStringList& words) {
    QString text = QString::fromLatin1(kUsageError);
    if (command == QLatin1String("frames")) {
        if (const auto request = parseFrames(words)) {
            text = QStringLiteral("%1 -> %2: %3")
                       .arg(request->input,
                            request->output.isEmpty() ? QStringLiteral("stdout") : request->output,
                            described(request->playback));
        }
    } else if (command == QLatin1String("render")) {
        if (const auto request = parseRender(words)) {
            text = QStringLiteral("%1 -> %2 %3: %4; %5x%6")
                       .arg(request->input, request->output,
                            request->toGif ? QStringLiteral("gif") : QStringLiteral("png"),
                            described(request->playback))
                       .arg(request->size.width())
                       .arg(request->size.height());
            if (request->animate) {
                text += QStringLiteral(", animate");
            }
            if (!request->background.isEmpty()) {
                text += QStringLiteral(", background ") + request->background;
            }
        }
    } else if (const auto request = parsePicture(words)) {
        text =
            QStringLiteral("%1 -> %2: rows %3")
                .arg(request->input, request->output,
                     request->rows ? QString::number(*request->rows) : QStringLiteral("default"));
    }
    return text.toStdString();
}

// Every Qt message logged while the arguments are read.
QStringList qtMessages;
void recordQtMessage(QtMsgType, const QMessageLogContext&, const QString& message) {
    qtMessages.append(message);
}

TEST(CliArguments, TheWordsOfEachCommandAreReadOrRefusedAsAUsageError) {
    const struct {
        const char* command;
        QStringList words;
        const char* readAs;
    } rows[] = {
        // frames: exactly one of --frames and --seconds, within their bounds.
        {"frames", {"a.rova", "--frames", "2"}, "a.rova -> stdout: frames 2, fps 8, seed 1"},
        {"frames", {"--frames", "0", "a.rova"}, "a.rova -> stdout: frames 0, fps 8, seed 1"},
        {"frames", {"a", "--frames", "100000000"}, "a -> stdout: frames 100000000, fps 8, seed 1"},
        {"frames", {"a", "--frames", "100000001"}, kUsageError},
        {"frames", {"a", "--frames", "-1"}, kUsageError},
        {"frames", {"a", "--frames", "two"}, kUsageError},
        {"frames", {"a", "--frames", "2.0"}, kUsageError},
        {"frames",
         {"a", "--seconds", "2.5", "--fps", "3", "--seed", "4294967295", "-o", "f.bin"},
         "a -> f.bin: seconds 2.5, fps 3, seed 4294967295"},
        {"frames", {"a", "--seconds", "0"}, "a -> stdout: seconds 0, fps 8, seed 1"},
        {"frames", {"a", "--seconds", "100000"}, "a -> stdout: seconds 100000, fps 8, seed 1"},
        {"frames", {"a", "--seconds", "100000.5"}, kUsageError},
        {"frames", {"a", "--seconds", "-1"}, kUsageError},
        {"frames", {"a", "--seconds", "nan"}, kUsageError},
        {"frames", {"a"}, kUsageError},
        {"frames", {"a", "--frames", "2", "--seconds", "1"}, kUsageError},
        {"frames", {"a", "--frames", "2", "--fps", "1"}, "a -> stdout: frames 2, fps 1, seed 1"},
        {"frames",
         {"a", "--frames", "2", "--fps", "1000"},
         "a -> stdout: frames 2, fps 1000, seed 1"},
        {"frames", {"a", "--frames", "2", "--fps", "0.5"}, kUsageError},
        {"frames", {"a", "--frames", "2", "--fps", "1000.5"}, kUsageError},
        {"frames", {"a", "--frames", "2", "--seed", "0"}, "a -> stdout: frames 2, fps 8, seed 0"},
        {"frames", {"a", "--frames", "2", "--seed", "4294967296"}, kUsageError},
        {"frames", {"a", "--frames", "2", "--seed", "-3"}, kUsageError},
        // The option words: each known option at most once, a value after each value option.
        {"frames", {"a", "--frames", "2", "--colour"}, kUsageError},
        {"frames", {"a", "--frames", "2", "-x"}, kUsageError},
        {"frames", {"a", "--frames", "2", "--frames", "3"}, kUsageError},
        {"frames", {"a", "--frames", "2", "-o", "f", "-o", "g"}, kUsageError},
        {"frames", {"a", "--frames"}, kUsageError},
        {"frames", {"--frames", "2"}, kUsageError},
        {"frames", {"a", "b", "--frames", "2"}, kUsageError},
        {"frames", {"-", "--frames", "1", "-o", "--seed"}, "- -> --seed: frames 1, fps 8, seed 1"},
        {"frames", {"a", "--frames=2", "--fps=4"}, "a -> stdout: frames 2, fps 4, seed 1"},
        {"frames", {"a", "--frames="}, kUsageError},
        {"frames", {"a", "--frames", "2", "-o=f"}, kUsageError},
        {"frames", {"-of", "a", "--frames", "2"}, kUsageError},
        {"frames", {"a", "--frames", "2", "--o", "f"}, kUsageError},
        {"frames", {"a", "--frames", "2", "--o=f"}, kUsageError},
        {"frames", {"--frames", "2", "--", "a"}, kUsageError},
        // render: -o names a GIF or an existing folder; sizes are WxH within 1..8192.
        {"render",
         {"a", "-o", "x.gif", "--frames", "2"},
         "a -> x.gif gif: frames 2, fps 8, seed 1; 640x480"},
        {"render",
         {"a", "-o", ".", "--seconds", "1", "--size", "64x48", "--animate", "--background", "b.bmp",
          "--seed", "3", "--fps", "10"},
         "a -> . png: seconds 1, fps 10, seed 3; 64x48, animate, background b.bmp"},
        {"render",
         {"a", "-o", "X.GIF", "--frames", "1", "--size=1x8192"},
         "a -> X.GIF gif: frames 1, fps 8, seed 1; 1x8192"},
        {"render", {"a", "-o", "x.png", "--frames", "2"}, kUsageError},
        {"render", {"a", "--frames", "2"}, kUsageError},
        {"render", {"a", "-o", "x.gif"}, kUsageError},
        {"render", {"a", "-o", "x.gif", "--frames", "2", "--fps", "0"}, kUsageError},
        {"render", {"a", "-o", "x.gif", "--frames", "2", "--size", "8193x10"}, kUsageError},
        {"render",
         {"a", "-o", "x.gif", "--frames", "2", "--size", "8192x1"},
         "a -> x.gif gif: frames 2, fps 8, seed 1; 8192x1"},
        {"render", {"a", "-o", "x.gif", "--frames", "2", "--size", "0x10"}, kUsageError},
        {"render", {"a", "-o", "x.gif", "--frames", "2", "--size", "10x0"}, kUsageError},
        {"render", {"a", "-o", "x.gif", "--frames", "2", "--size", "64"}, kUsageError},
        {"render", {"a", "-o", "x.gif", "--frames", "2", "--size", "64x48x2"}, kUsageError},
        {"render", {"a", "-o", "x.gif", "--frames", "2", "--animate", "yes"}, kUsageError},
        {"render", {"a", "-o", "x.gif", "--frames", "2", "--animate=yes"}, kUsageError},
        {"render", {"a", "-o", "x.gif", "--frames", "2", "--animate", "--animate"}, kUsageError},
        {"render", {"a", "-o", "x.gif", "--frames", "2", "--rows", "4"}, kUsageError},
        // picture: -o and at most 16384 rows.
        {"picture", {"in.bmp", "-o", "out.bmp"}, "in.bmp -> out.bmp: rows default"},
        {"picture",
         {"-o", "out.bmp", "in.txt", "--rows", "16384"},
         "in.txt -> out.bmp: rows 16384"},
        {"picture", {"in.bmp", "-o", "out.bmp", "--rows", "16385"}, kUsageError},
        {"picture", {"in.bmp", "-o", "out.bmp", "--rows", "0"}, kUsageError},
        {"picture", {"in.bmp", "-o", "out.bmp", "--rows", "1.5"}, kUsageError},
        {"picture", {"in.bmp"}, kUsageError},
        {"picture", {"-o", "out.bmp"}, kUsageError},
        {"picture", {"in.bmp", "-o", "out.bmp", "--frames", "2"}, kUsageError},
    };
    qtMessages.clear();
    const QtMessageHandler previous = qInstallMessageHandler(recordQtMessage);
    for (const auto& row : rows) {
        EXPECT_EQ(readAs(QString::fromLatin1(row.command), row.words), row.readAs)
            << row.command << ' ' << row.words.join(' ').toStdString();
    }
    qInstallMessageHandler(previous);
    // Nothing but the tool's usage text may reach the user for a usage error.
    EXPECT_EQ(qtMessages, QStringList());
}

TEST(CliArguments, AUsageErrorPrintsOnlyTheUsageOnStandardErrorAndExitsTwo) {
    QProcess tool;
    tool.start(ROVA_CLI_PATH, {"frames", "a.rova", "--frames"});
    ASSERT_TRUE(tool.waitForFinished(10000));
    EXPECT_EQ(tool.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(tool.exitCode(), 2);
    EXPECT_EQ(tool.readAllStandardOutput(), QByteArray());
    const QByteArray errors = tool.readAllStandardError();
    EXPECT_TRUE(errors.startsWith("usage: rova-cli info FILE\n")) << errors.toStdString();
    EXPECT_TRUE(errors.endsWith("text at full size)\n")) << errors.toStdString();
}

}  // namespace
}  // namespace rova
