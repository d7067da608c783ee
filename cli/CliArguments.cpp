#include "CliArguments.h"

#include <QCommandLineOption>
#include <QCommandLineParser>

#include <cmath>

namespace rova {

namespace {

const QString kFrames = QStringLiteral("--frames");
const QString kSeconds = QStringLiteral("--seconds");
const QString kFps = QStringLiteral("--fps");
const QString kSeed = QStringLiteral("--seed");

// Bounds that keep every count and time well inside what the tool can represent.
constexpr std::int64_t kMaxFrames = 100'000'000;
constexpr double kMaxSeconds = 100'000.0;
constexpr double kMinFps = 1.0;
constexpr double kMaxFps = 1000.0;

// The name QCommandLineParser knows an option by: "-o" is "o", "--fps" is "fps".
QString nameOf(const QString& option) {
    return option.mid(option.startsWith(QLatin1String("--")) ? 2 : 1);
}

// Whether an option word is spelt as the tool reads options: "--name" or "--name=value" for a
// name of two letters or more, and a one-letter option as "-x" alone.
bool isToolSpelling(const QString& word) {
    if (word.startsWith(QLatin1String("--"))) {
        return word.section(u'=', 0, 0).size() > 3;
    }
    return word.size() == 2;
}

// QCommandLineParser also reads spellings the tool does not take: "--" as the end of the
// options, a one-letter option spelt long ("--o") and a value joined to one ("-ox", "-o=x").
// Whether a word where an option may stand has any other spelling than the tool's. A value
// option spelt alone takes the next word as its value, whatever it looks like, as the parser
// does.
bool hasForeignSpelling(const QStringList& words, const QStringList& valueOptions) {
    for (qsizetype i = 0; i < words.size(); ++i) {
        const QString& word = words[i];
        if (!word.startsWith(u'-') || word.size() == 1) {
            continue;  // a positional argument; "-" alone is one too
        }
        if (!isToolSpelling(word)) {
            return true;
        }
        if (valueOptions.contains(word)) {
            ++i;
        }
    }
    return false;
}

}  // namespace

std::optional<CliArguments> parseArguments(const QStringList& words,
                                           const QStringList& valueOptions,
                                           const QStringList& switchOptions) {
    if (hasForeignSpelling(words, valueOptions)) {
        return std::nullopt;
    }
    QCommandLineParser parser;
    for (const QString& option : valueOptions) {
        parser.addOption(QCommandLineOption(nameOf(option), QString(), QStringLiteral("value")));
    }
    for (const QString& option : switchOptions) {
        parser.addOption(QCommandLineOption(nameOf(option)));
    }
    // The parser takes the first word for the program's name. Its error text is never shown:
    // every error is a usage error, which the tool reports with its own usage text.
    if (!parser.parse(QStringList(QString()) + words)) {
        return std::nullopt;
    }
    QStringList given = parser.optionNames();
    if (given.removeDuplicates() > 0) {
        return std::nullopt;  // an option given twice
    }
    CliArguments arguments;
    arguments.positional = parser.positionalArguments();
    for (const QString& option : valueOptions) {
        if (parser.isSet(nameOf(option))) {
            arguments.values.insert(option, parser.value(nameOf(option)));
        }
    }
    for (const QString& option : switchOptions) {
        if (parser.isSet(nameOf(option))) {
            arguments.switches.insert(option);
        }
    }
    return arguments;
}

std::optional<std::int64_t> parseWhole(const QString& text, std::int64_t low, std::int64_t high) {
    bool ok = false;
    const qlonglong value = text.toLongLong(&ok);
    if (!ok || value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

std::optional<double> parseDecimal(const QString& text, double low, double high) {
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || !std::isfinite(value) || value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

std::optional<QSize> parseSize(const QString& text, int limit) {
    const QStringList sides = text.split(u'x');
    if (sides.size() != 2) {
        return std::nullopt;
    }
    const auto width = parseWhole(sides[0], 1, limit);
    const auto height = parseWhole(sides[1], 1, limit);
    if (!width || !height) {
        return std::nullopt;
    }
    return QSize(static_cast<int>(*width), static_cast<int>(*height));
}

std::optional<PlaybackOptions> parsePlaybackOptions(const CliArguments& arguments) {
    PlaybackOptions options;
    if (arguments.values.contains(kFps)) {
        const auto fps = parseDecimal(arguments.values[kFps], kMinFps, kMaxFps);
        if (!fps) {
            return std::nullopt;
        }
        options.framesPerSecond = *fps;
    }
    if (arguments.values.contains(kSeed)) {
        const auto seed = parseWhole(arguments.values[kSeed], 0, UINT32_MAX);
        if (!seed) {
            return std::nullopt;
        }
        options.seed = static_cast<std::uint32_t>(*seed);
    }
    const bool byFrames = arguments.values.contains(kFrames);
    if (byFrames == arguments.values.contains(kSeconds)) {
        return std::nullopt;
    }
    if (byFrames) {
        const auto frames = parseWhole(arguments.values[kFrames], 0, kMaxFrames);
        if (!frames) {
            return std::nullopt;
        }
        options.frames = *frames;
        return options;
    }
    const auto seconds = parseDecimal(arguments.values[kSeconds], 0.0, kMaxSeconds);
    if (!seconds) {
        return std::nullopt;
    }
    options.seconds = *seconds;
    return options;
}

std::int64_t PlaybackOptions::frameCount(std::uint32_t periodMs) const {
    if (frames) {
        return *frames;
    }
    const auto milliseconds = static_cast<std::int64_t>(std::ceil(seconds * 1000.0));
    return (milliseconds + periodMs - 1) / periodMs;
}

}  // namespace rova
