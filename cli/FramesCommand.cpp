#include "FramesCommand.h"

#include <QFile>

#include <cstdio>

#include "CliStatus.h"
#include "CliText.h"
#include "HeadlessPlayback.h"
#include "StreamPrompt.h"

namespace rova {

namespace {

const QString kOutput = QStringLiteral("-o");

bool openOutput(QFile& file, const QString& path) {
    if (path.isEmpty()) {
        return file.open(stdout, QIODevice::WriteOnly);
    }
    file.setFileName(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate);
}

}  // namespace

FrameBytes frameBytes(const LampFrame& frame) {
    FrameBytes bytes{};
    std::size_t at = 0;
    for (const LampFrame::Column& column : frame.columns) {
        for (const std::uint16_t word : column) {
            bytes[at++] = static_cast<std::uint8_t>(word & 0xFF);
            bytes[at++] = static_cast<std::uint8_t>(word >> 8);
        }
    }
    return bytes;
}

std::optional<FramesRequest> parseFrames(const QStringList& words) {
    const auto arguments =
        parseArguments(words, {"--frames", "--seconds", "--fps", "--seed", kOutput}, {});
    if (!arguments || arguments->positional.size() != 1) {
        return std::nullopt;
    }
    const auto playback = parsePlaybackOptions(*arguments);
    if (!playback) {
        return std::nullopt;
    }
    return FramesRequest{arguments->positional[0], arguments->values.value(kOutput), *playback};
}

int runFrames(const FramesRequest& request, QTextStream& errors) {
    StreamPrompt prompt(errors);
    HeadlessPlayback playback(request.playback.framesPerSecond, request.playback.seed, prompt);
    // Frames are only composed; nothing is drawn.
    playback.engine().setPreviewEnabled(false);
    if (!playback.open(request.input)) {
        return kFailed;
    }
    const QString& outputPath = request.output;
    QFile output;
    if (!openOutput(output, outputPath)) {
        errors << cliText("\"%1\" could not be created.").arg(outputPath) << '\n';
        return kFailed;
    }
    playback.start();
    const std::uint32_t period = playback.framePeriod();
    const std::int64_t count = request.playback.frameCount(period);
    for (std::int64_t k = 0; k < count; ++k) {
        // Frame k is composed at k periods; the 32-bit clock wraps as the real one does.
        playback.advanceTo(static_cast<std::uint32_t>(k * period));
        const FrameBytes bytes = frameBytes(playback.engine().frame());
        const auto size = static_cast<qint64>(bytes.size());
        if (output.write(reinterpret_cast<const char*>(bytes.data()), size) != size) {
            errors << cliText("The frames could not be written.") << '\n';
            return kFailed;
        }
    }
    if (!output.flush()) {
        errors << cliText("The frames could not be written.") << '\n';
        return kFailed;
    }
    return kSucceeded;
}

}  // namespace rova
