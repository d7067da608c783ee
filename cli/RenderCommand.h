#pragma once

#include <QSize>
#include <QStringList>
#include <QTextStream>

#include <optional>

#include "CliArguments.h"

namespace rova {

// `rova-cli render FILE -o OUT (--frames N | --seconds S) [--fps F] [--size WxH] [--animate]
// [--background BMP] [--seed N]`.
struct RenderRequest {
    QString input;
    QString output;  // a ".gif" file or an existing folder for PNG images
    bool toGif = false;
    PlaybackOptions playback;
    QSize size;
    bool animate = false;
    QString background;  // empty: black
};
// The request the words after "render" make; nothing when they are a usage error.
std::optional<RenderRequest> parseRender(const QStringList& words);
// Plays the input as `frames` does and draws it as the preview shows it, one image per drawing.
// `progressOnTerminal`: whether standard error is a terminal, where a progress bar then runs.
// Returns the exit status.
int runRender(const RenderRequest& request, QTextStream& errors, bool progressOnTerminal);

}  // namespace rova
