// The words of each rova-cli command: the values they give, and the words the tool refuses.
#include <gtest/gtest.h>

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
    return (playback.frames ? QString("frames %1").arg(*playback.frames)
                            : QString("seconds %1").arg(playback.seconds)) +
           QString(", fps %1, seed %2").arg(playback.framesPerSecond).arg(playback.seed);
}

// The values that a command line (the command, then its words) gives, as one line, or
// "usage error".
std::string readAs(const QStringList& line) {
    const QStringList words = line.mid(1);
    QString text = kUsageError;
    if (line[0] == "frames") {
        if (const auto request = parseFrames(words)) {
            const QString output = request->output.isEmpty() ? "stdout" : request->output;
            text =
                QString("%1 -> %2: %3").arg(request->input, output, described(request->playback));
        }
    } else if (line[0] == "render") {
        if (const auto request = parseRender(words)) {
            text = QString("%1 -> %2 %3: %4; %5x%6")
                       .arg(request->input, request->output, request->toGif ? "gif" : "png",
                            described(request->playback))
                       .arg(request->size.width())
                       .arg(request->size.height());
            text += request->animate ? ", animate" : "";
            text += request->background.isEmpty() ? "" : ", background " + request->background;
        }
    } else if (const auto request = parsePicture(words)) {
        const QString rows = request->rows ? QString::number(*request->rows) : "default";
        text = QString("%1 -> %2: rows %3").arg(request->input, request->output, rows);
    }
    return text.toStdString();
}

TEST(CliArguments, TheWordsOfEachCommandGiveItsValues) {
    const std::pair<const char*, const char*> rows[] = {
        // frames: exactly one of --frames and --seconds, within their bounds.
        {"frames a.rova --frames 2", "a.rova -> stdout: frames 2, fps 8, seed 1"},
        {"frames --frames 0 a.rova", "a.rova -> stdout: frames 0, fps 8, seed 1"},
        {"frames a --frames 100000000", "a -> stdout: frames 100000000, fps 8, seed 1"},
        {"frames a --seconds 2.5 --fps 3 --seed 4294967295 -o f.bin",
         "a -> f.bin: seconds 2.5, fps 3, seed 4294967295"},
        {"frames a --seconds 0", "a -> stdout: seconds 0, fps 8, seed 1"},
        {"frames a --seconds 100000", "a -> stdout: seconds 100000, fps 8, seed 1"},
        {"frames a --frames 2 --fps 1", "a -> stdout: frames 2, fps 1, seed 1"},
        {"frames a --frames 2 --fps 1000", "a -> stdout: frames 2, fps 1000, seed 1"},
        {"frames a --frames 2 --seed 0", "a -> stdout: frames 2, fps 8, seed 0"},
        // A value option takes the next word whatever it is; long options take "=value" too.
        {"frames - --frames 1 -o --seed", "- -> --seed: frames 1, fps 8, seed 1"},
        {"frames a --frames=2 --fps=4", "a -> stdout: frames 2, fps 4, seed 1"},
        // render: -o names a GIF or an existing folder; sizes are WxH within 1..8192.
        {"render a -o x.gif --frames 2", "a -> x.gif gif: frames 2, fps 8, seed 1; 640x480"},
        {"render a -o . --seconds 1 --size 64x48 --animate --background b.bmp --seed 3 --fps 10",
         "a -> . png: seconds 1, fps 10, seed 3; 64x48, animate, background b.bmp"},
        {"render a -o X.GIF --frames 1 --size=1x8192",
         "a -> X.GIF gif: frames 1, fps 8, seed 1; 1x8192"},
        {"render a -o x.gif --frames 2 --size 8192x1",
         "a -> x.gif gif: frames 2, fps 8, seed 1; 8192x1"},
        // picture: -o and at most 16384 rows.
        {"picture in.bmp -o out.bmp", "in.bmp -> out.bmp: rows default"},
        {"picture -o out.bmp in.txt --rows 16384", "in.txt -> out.bmp: rows 16384"},
    };
    for (const auto& [line, values] : rows) {
        EXPECT_EQ(readAs(QString(line).split(' ')), values) << line;
    }
}

// Every Qt message logged while the arguments are read.
QStringList qtMessages;
void recordQtMessage(QtMsgType, const QMessageLogContext&, const QString& message) {
    qtMessages.append(message);
}

TEST(CliArguments, WordsOutsideTheRulesAreAUsageErrorAndLogNothing) {
    // Command lines separated by "|".
    const char* const lines[] = {
        // Numbers out of range or not whole; both or neither of --frames and --seconds.
        "frames a --frames 100000001|frames a --frames -1|frames a --frames two",
        "frames a --frames 2.0|frames a --seconds 100000.5|frames a --seconds -1",
        "frames a --seconds nan|frames a|frames a --frames 2 --seconds 1",
        "frames a --frames 2 --fps 0.5|frames a --frames 2 --fps 1000.5",
        "frames a --frames 2 --seed 4294967296|frames a --frames 2 --seed -3",
        // Unknown or repeated options, a value option at the end, missing or extra positional
        // words, and spellings the tool does not read.
        "frames a --frames 2 --colour|frames a --frames 2 -x|frames a --frames 2 --frames 3",
        "frames a --frames 2 -o f -o g|frames a --frames|frames --frames 2",
        "frames a b --frames 2|frames a --frames=|frames a --frames 2 -o=f",
        "frames -of a --frames 2|frames a --frames 2 --o f|frames a --frames 2 --o=f",
        "frames --frames 2 -- a",
        // render: an output that is no GIF, sizes beyond 1..8192, a value for a switch.
        "render a -o x.png --frames 2|render a --frames 2|render a -o x.gif",
        "render a -o x.gif --frames 2 --fps 0|render a -o x.gif --frames 2 --size 8193x10",
        "render a -o x.gif --frames 2 --size 0x10|render a -o x.gif --frames 2 --size 10x0",
        "render a -o x.gif --frames 2 --size 64|render a -o x.gif --frames 2 --size 64x48x2",
        "render a -o x.gif --frames 2 --animate yes|render a -o x.gif --frames 2 --animate=yes",
        "render a -o x.gif --frames 2 --animate --animate|render a -o x.gif --frames 2 --rows 4",
        // picture: rows beyond 1..16384, no -o or no input, options of the other commands.
        "picture in.bmp -o out.bmp --rows 16385|picture in.bmp -o out.bmp --rows 0",
        "picture in.bmp -o out.bmp --rows 1.5|picture in.bmp|picture -o out.bmp",
        "picture in.bmp -o out.bmp --frames 2",
    };
    qtMessages.clear();
    const QtMessageHandler previous = qInstallMessageHandler(recordQtMessage);
    for (const char* group : lines) {
        for (const QString& line : QString(group).split('|')) {
            EXPECT_EQ(readAs(line.split(' ')), kUsageError) << line.toStdString();
        }
    }
    qInstallMessageHandler(previous);
    // Nothing but the tool's usage text may reach the user for a usage error.
    EXPECT_EQ(qtMessages, QStringList());
}

}  // namespace
}  // namespace rova
