#include "CliArguments.h"

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

}  // namespace

std::optional<CliArguments> parseArguments(const QStringList& words,
                                           const QStringList& valueOptions,
                                           const QStringList& switchOptions) {
    CliArguments arguments;
    for (qsizetype i = 0; i < words.size(); ++i) {
        const QString& word = words[i];
        if (arguments.has(word)) {
            return std::nullopt;
        }
        if (valueOptions.contains(word)) {
            if (i + 1 >= words.size()) {
                return std::nullopt;
            }
            arguments.values.insert(word, words[++i]);
        } else if (switchOptions.contains(word)) {
            arguments.switches.insert(word);
        } else if (word.startsWith(u'-') && word.size() > 1) {
            return std::nullopt;
        } else {
            arguments.positional.append(word);
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
