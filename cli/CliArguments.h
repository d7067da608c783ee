#pragma once

#include <QHash>
#include <QSet>
#include <QSize>
#include <QStringList>

#include <cstdint>
#include <optional>

namespace rova {

// The words after a subcommand: positional arguments and options. An option either takes a
// value, as the next word ("--fps 8", "-o OUT") or joined to a long name ("--fps=8"), or stands
// alone ("--animate").
struct CliArguments {
    QStringList positional;
    QHash<QString, QString> values;
    QSet<QString> switches;

    bool has(const QString& option) const {
        return values.contains(option) || switches.contains(option);
    }
};

// Sorts `words` by the options a subcommand knows, spelt with their dashes ("--fps", "-o").
// Nothing (a usage error) for an unknown option, a value option at the end, a value given to a
// switch, an option given twice, or a spelling the tool does not read: "--", a one-letter option
// spelt long ("--o") or with its value joined ("-ox", "-o=x").
std::optional<CliArguments> parseArguments(const QStringList& words,
                                           const QStringList& valueOptions,
                                           const QStringList& switchOptions);

// Whole and decimal numbers as the options take them: the whole text must be the number and
// lie within the bounds.
std::optional<std::int64_t> parseWhole(const QString& text, std::int64_t low, std::int64_t high);
std::optional<double> parseDecimal(const QString& text, double low, double high);
// "WxH" with both sides within 1..limit.
std::optional<QSize> parseSize(const QString& text, int limit);

// How long and how fast to play: the options shared by `frames` and `render`.
struct PlaybackOptions {
    std::optional<std::int64_t> frames;  // "--frames"
    double seconds = 0.0;                // "--seconds", when no frame count is given
    double framesPerSecond = 8.0;
    std::uint32_t seed = 1;

    // The number of frames to compose with `periodMs` between them: the count given, or the
    // frames composed before the seconds have passed.
    std::int64_t frameCount(std::uint32_t periodMs) const;
};

// Reads "--frames N" or "--seconds S" (exactly one of them), "--fps F" and "--seed N".
std::optional<PlaybackOptions> parsePlaybackOptions(const CliArguments& arguments);

}  // namespace rova
