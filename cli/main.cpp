// rova-cli: Rova's sequences without a window.
#include <QGuiApplication>
#include <QStringList>
#include <QTextStream>

#include <unistd.h>

#include <memory>

#include "CliStatus.h"
#include "FramesCommand.h"
#include "InfoCommand.h"
#include "PictureCommand.h"
#include "RenderCommand.h"

namespace {

const char* const kUsage =
    "usage: rova-cli info FILE\n"
    "       rova-cli frames FILE (--frames N | --seconds S) [--fps F] [--seed N] [-o OUT]\n"
    "       rova-cli render FILE -o OUT (--frames N | --seconds S) [--fps F] [--size WxH]\n"
    "                       [--animate] [--background BMP] [--seed N]\n"
    "       rova-cli picture IN -o OUT.bmp [--rows N]\n"
    "  info FILE   one line per command of FILE (.rova, or .txt and .rtf as one command):\n"
    "              name, type, death, death type and next command, separated by tabs\n"
    "  frames      plays FILE (.rova, .txt or .rtf) in virtual time and writes each composed\n"
    "              frame as 2160 bytes (360 columns of three little-endian 16-bit words) to\n"
    "              OUT or standard output; --seconds S gives the frames composed before S\n"
    "              seconds; F frames per second (default 8), N the random seed (default 1)\n"
    "  render      plays FILE as frames does and draws it as the preview shows it (default\n"
    "              640x480), into an animated GIF (OUT ending .gif) or numbered PNG images\n"
    "              in the existing folder OUT; --animate draws the preview's sweeps\n"
    "  picture     saves the lamp picture the rotor shows for a picture (.bmp) or a text\n"
    "              (.txt, .rtf) at N rows (default: pictures at most 16, text at full size)\n";

// The command line as text, read before any Qt application exists.
QStringList argumentsOf(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.append(QString::fromLocal8Bit(argv[i]));
    }
    return arguments;
}

// A Qt application for the commands that play or draw: text is laid out with the application's
// fonts. Without a display it runs on the offscreen platform.
std::unique_ptr<QGuiApplication> makeApplication(int& argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    return std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace

int main(int argc, char* argv[]) {
    QTextStream output(stdout);
    QTextStream errors(stderr);
    const QStringList arguments = argumentsOf(argc, argv);
    const QString command = arguments.value(0);
    const QStringList words = arguments.mid(1);
    // The words are checked before the application starts, so a usage error is all the tool
    // prints.
    if (command == QLatin1String("info") && words.size() == 1) {
        const auto application = makeApplication(argc, argv);
        return rova::runInfo(words[0], output, errors);
    }
    if (command == QLatin1String("frames")) {
        if (const auto request = rova::parseFrames(words)) {
            const auto application = makeApplication(argc, argv);
            return rova::runFrames(*request, errors);
        }
    } else if (command == QLatin1String("render")) {
        if (const auto request = rova::parseRender(words)) {
            const auto application = makeApplication(argc, argv);
            return rova::runRender(*request, errors, isatty(STDERR_FILENO) != 0);
        }
    } else if (command == QLatin1String("picture")) {
        if (const auto request = rova::parsePicture(words)) {
            const auto application = makeApplication(argc, argv);
            return rova::runPicture(*request, errors);
        }
    }
    errors << kUsage;
    return rova::kUsageError;
}
