#pragma once

#include <QStringList>
#include <QTextStream>

#include <array>
#include <cstdint>
#include <optional>

#include "CliArguments.h"
#include "LampFrame.h"

namespace rova {

// A lamp frame as `frames` writes it: the 360 columns in order, each as three little-endian
// 16-bit words for planes 0, 1 and 2.
using FrameBytes = std::array<std::uint8_t, sizeof(LampFrame)>;
FrameBytes frameBytes(const LampFrame& frame);

// `rova-cli frames FILE (--frames N | --seconds S) [--fps F] [--seed N] [-o OUT]`.
struct FramesRequest {
    QString input;
    QString output;  // empty: standard output
    PlaybackOptions playback;
};
// The request the words after "frames" make; nothing when they are a usage error.
std::optional<FramesRequest> parseFrames(const QStringList& words);
// Plays the input in virtual time and writes every composed frame. Returns the exit status.
int runFrames(const FramesRequest& request, QTextStream& errors);

}  // namespace rova
