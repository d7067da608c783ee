// The picture editor's rebuild: a loaded 640 × 480 24-bit picture stretched into a fresh lamp
// picture of 16 rows (width scaled to match), averaged and mapped to the lamp colours.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "BenchSupport.h"
#include "Picture.h"

namespace {

void BM_PictureRebuildLampFromPhoto(benchmark::State& state) {
    rova::Picture photo;
    if (!photo.create(640, 480, false, 24, {}, 0)) {
        state.SkipWithError("cannot create the source picture");
        return;
    }
    rova::bench::fillPhoto(photo);
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
