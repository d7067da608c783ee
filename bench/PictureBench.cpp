// The picture editor's rebuild: a loaded 640 × 480 24-bit picture stretched into a fresh lamp
// picture of 16 rows (width scaled to match), averaged and mapped to the lamp colours.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "Picture.h"

namespace {

// A bottom-up 24-bit picture of smooth gradients with a little noise, like a photograph.
void fillPhoto(rova::Picture& photo) {
    std::uint32_t seed = 2024;
    for (int y = 0; y < photo.height(); ++y) {
        std::uint8_t* bytes = photo.row(y).data();
        for (int x = 0; x < photo.width(); ++x) {
            seed = seed * 1664525u + 1013904223u;
            const int noise = static_cast<int>(seed >> 28);
            bytes[3 * x] = static_cast<std::uint8_t>((x * 255 / photo.width() + noise) & 0xFF);
            bytes[3 * x + 1] = static_cast<std::uint8_t>((y * 255 / photo.height() + noise) & 0xFF);
            bytes[3 * x + 2] = static_cast<std::uint8_t>(((x + y) / 5 + noise) & 0xFF);
        }
    }
}

void BM_PictureRebuildLampFromPhoto(benchmark::State& state) {
    rova::Picture photo;
    if (!photo.create(640, 480, false, 24, {}, 0)) {
        state.SkipWithError("cannot create the source picture");
        return;
    }
    fillPhoto(photo);
    const int rows = 16;
    const int width = (photo.width() * rows + photo.height() / 2) / photo.height();
    for (auto _ : state) {
        rova::Picture lamp;
        if (!lamp.createLamp(width, rows) || !photo.drawInto(lamp, QRect(0, 0, width, rows))) {
            state.SkipWithError("rebuild failed");
            return;
        }
        benchmark::DoNotOptimize(lamp.row(0).data());
    }
}
BENCHMARK(BM_PictureRebuildLampFromPhoto)->Unit(benchmark::kMicrosecond);

}  // namespace
