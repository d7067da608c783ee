#include <benchmark/benchmark.h>

#include "Clock.h"
#include "MemorySettingsStore.h"
#include "PreviewSimulator.h"

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

void drawFrames(benchmark::State& state, bool animated) {
    VirtualClock clock;
    test::MemorySettingsStore store;
    PreviewSimulator simulator(clock, store);
    simulator.resize({0, 0, 1920, 1080});
    SimulationSettings settings = simulator.currentSettings();
    settings.DoAnimation = animated;  // 720 degrees per second at 16 draws: 45 per drawing
    simulator.applySettings(settings);
    const LampFrame frame = everyLampLit();
    for (auto _ : state) {
        simulator.drawFrame(frame);
    }
}

void BM_DrawWholeFrame(benchmark::State& state) { drawFrames(state, false); }
void BM_DrawAnimated(benchmark::State& state) { drawFrames(state, true); }
BENCHMARK(BM_DrawWholeFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DrawAnimated)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace rova::bench
