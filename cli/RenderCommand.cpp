#include "RenderCommand.h"

#include <QFileInfo>

#include <algorithm>
#include <memory>

#include "CliStatus.h"
#include "CliText.h"
#include "HeadlessPlayback.h"
#include "ImageSink.h"
#include "ProgressBar.h"
#include "StreamPrompt.h"

namespace rova {

namespace {

const QString kOutput = QStringLiteral("-o");
const QString kSize = QStringLiteral("--size");
const QString kAnimate = QStringLiteral("--animate");
const QString kBackground = QStringLiteral("--background");
constexpr QSize kDefaultSize(640, 480);
constexpr int kMaxSide = 8192;

bool isGifPath(const QString& path) {
    return path.endsWith(QStringLiteral(".gif"), Qt::CaseInsensitive);
}

// The simulator as the preview window first shows it: resized to the image size, which fits
// the viewer distance, with the chosen background or black.
bool prepareDrawing(PreviewSimulator& engine, const QSize& size, bool animate,
                    const QString& background) {
    SimulationSettings settings = engine.currentSettings();
    settings.doAnimation = animate;
    engine.applySettings(settings);
    engine.resize({0, 0, size.width(), size.height()});
    if (background.isEmpty()) {
        engine.setBackgroundViewed(false);
        return true;
    }
    return engine.chooseBackground(background);
}

}  // namespace

std::optional<RenderRequest> parseRender(const QStringList& words) {
    const auto arguments = parseArguments(
        words, {"--frames", "--seconds", "--fps", "--seed", kOutput, kSize, kBackground},
        {kAnimate});
    if (!arguments || arguments->positional.size() != 1 || !arguments->values.contains(kOutput)) {
        return std::nullopt;
    }
    const auto playback = parsePlaybackOptions(*arguments);
    const auto size = arguments->values.contains(kSize)
                          ? parseSize(arguments->values[kSize], kMaxSide)
                          : std::optional<QSize>(kDefaultSize);
    const QString output = arguments->values[kOutput];
    const bool toGif = isGifPath(output);
    if (!playback || !size || (!toGif && !QFileInfo(output).isDir())) {
        return std::nullopt;
    }
    return RenderRequest{arguments->positional[0],
                         output,
                         toGif,
                         *playback,
                         *size,
                         arguments->has(kAnimate),
                         arguments->values.value(kBackground)};
}

int runRender(const RenderRequest& request, QTextStream& errors, bool progressOnTerminal) {
    StreamPrompt prompt(errors);
    HeadlessPlayback playback(request.playback.framesPerSecond, request.playback.seed, prompt);
    PreviewSimulator& engine = playback.engine();
    const QString& background = request.background;
    const bool animate = request.animate;
    if (!prepareDrawing(engine, request.size, animate, background)) {
        errors << cliText("The background \"%1\" could not be read.").arg(background) << '\n';
        return kFailed;
    }
    if (!playback.open(request.input)) {
        return kFailed;
    }

    std::unique_ptr<ImageSink> sink;
    const QString& outputPath = request.output;
    if (request.toGif) {
        auto gif = std::make_unique<GifSink>(
            request.size, background.isEmpty() ? GifPalette::Kind::Lamps : GifPalette::Kind::Photo);
        if (!gif->open(outputPath)) {
            errors << cliText("\"%1\" could not be created.").arg(outputPath) << '\n';
            return kFailed;
        }
        sink = std::move(gif);
    } else {
        sink = std::make_unique<PngFolderSink>(outputPath);
    }

    bool drawn = false;
    engine.setDrawnHandler([&drawn] { drawn = true; });
    const std::uint64_t period = playback.framePeriod();
    const std::uint64_t end = static_cast<std::uint64_t>(
                                  request.playback.frameCount(static_cast<std::uint32_t>(period))) *
                              period;
    // Without animation the simulator draws each frame as it is composed; with it, one sweep
    // every MsPerDraw milliseconds. Either way each drawing is one image.
    const std::uint64_t shownFor =
        animate ? static_cast<std::uint64_t>(engine.geometry().MsPerDraw()) : period;
    ProgressBar progress(errors, progressOnTerminal, end);
    playback.start();
    bool written = true;
    for (std::uint64_t time = 0; time < end && written;) {
        drawn = false;
        const std::int32_t wait = playback.advanceTo(static_cast<std::uint32_t>(time));
        if (drawn) {
            engine.withImage(
                [&](const QImage& image) { written = sink->add(image, time, time + shownFor); });
        }
        time += static_cast<std::uint64_t>(std::max(wait, 1));
        progress.show(time);
    }
    if (!written || !sink->finish()) {
        errors << cliText("\"%1\" could not be written.").arg(outputPath) << '\n';
        return kFailed;
    }
    return kSucceeded;
}

}  // namespace rova
