#include <benchmark/benchmark.h>

#include "Clock.h"
#include "EngineFixtures.h"

namespace rova::bench {
namespace {

// Composes one frame with range(0) players of 200 columns × 16 rows at width 140, each shown in
// range(1) projections.
void BM_ComposeFrame(benchmark::State& state) {
    VirtualClock clock;
    BenchEngine engine(clock);
    const auto players = static_cast<int>(state.range(0));
    const auto projections = static_cast<std::uint32_t>(state.range(1));
    for (int i = 0; i < players; ++i) {
        engine.addPlayer(wrappingPlayer(200, projections, 3.0 * i), false);
    }
    for (auto _ : state) {
        engine.composeFrame();
    }
    benchmark::DoNotOptimize(engine.frame());
    state.SetItemsProcessed(state.iterations() * players);
}
BENCHMARK(BM_ComposeFrame)
    ->ArgNames({"players", "projections"})
    ->ArgsProduct({{1, 10, 100}, {1, 6}})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace rova::bench
