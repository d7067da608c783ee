#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include "BmpCodec.h"
#include "FrameRenderer.h"
#include "Picture.h"

namespace rova::bench {
namespace {

// Every lamp of every column lit, in all eight colours in turn.
LampFrame everyLampLit() {
    LampFrame frame;
    for (int c = 0; c < LampFrame::kColumns; ++c) {
        const int colour = 1 + c % 7;
        for (int plane = 0; plane < LampFrame::kPlanes; ++plane) {
            frame.columns[c][plane] = (colour & (1 << plane)) ? 0xFFFF : 0;
        }
    }
    return frame;
}

// A 640 × 480 photograph-like background: smooth gradients in every channel.
QString saveBackground(const QTemporaryDir& dir) {
    Picture picture;
    picture.create(640, 480, false, 24, {}, 0);
    for (int y = 0; y < 480; ++y) {
        const auto row = picture.row(y);
        for (int x = 0; x < 640; ++x) {
            row[3 * x] = static_cast<std::uint8_t>(x / 3);
            row[3 * x + 1] = static_cast<std::uint8_t>(y / 2);
            row[3 * x + 2] = static_cast<std::uint8_t>((x + y) / 5);
        }
    }
    const QString path = dir.filePath("background.bmp");
    saveBmpFile(picture, path);
    return path;
}

// Draws every lamp into a 1920 × 1080 window, whole or in 45-degree sweeps, over a black or a
// picture background.
void drawFrames(benchmark::State& state, bool animated, bool withBackground) {
    QTemporaryDir dir;
    const QRect client(0, 0, 1920, 1080);
    SimulationGeometry geometry;  // fitted to the window, as a preview opens
    geometry.setClientRect(client);
    geometry.fitDistance();
    SimulationSettings settings = geometry.settings();
    settings.doAnimation = animated;  // 720 degrees per second at 16 draws: 45 per drawing
    geometry.apply(settings);
    FrameRenderer renderer;
    renderer.resize(client);
    renderer.setBackgroundPath(withBackground ? saveBackground(dir) : dir.filePath("none.bmp"));
    renderer.loadBackground();
    const LampFrame frame = everyLampLit();
    renderer.drawFrame(frame, geometry);  // the first drawing repaints the whole window
    for (auto _ : state) {
        renderer.drawFrame(frame, geometry);
    }
}

void BM_DrawWholeFrame(benchmark::State& state) {
    drawFrames(state, false, false);
}
void BM_DrawAnimated(benchmark::State& state) {
    drawFrames(state, true, false);
}
void BM_DrawWholeFrameOverPicture(benchmark::State& state) {
    drawFrames(state, false, true);
}
void BM_DrawAnimatedOverPicture(benchmark::State& state) {
    drawFrames(state, true, true);
}
BENCHMARK(BM_DrawWholeFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DrawAnimated)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DrawWholeFrameOverPicture)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DrawAnimatedOverPicture)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace rova::bench
