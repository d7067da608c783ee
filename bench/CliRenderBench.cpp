// rova-cli render: 60 seconds of the demo sequence drawn at 640 × 480 into an animated GIF.
// The counter "x_real_time" tells how many times faster than real time that runs.

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTextStream>

#include "CommandFile.h"
#include "RenderCommand.h"
#include "ShippedData.h"
#include "StreamPrompt.h"

#include "BenchSupport.h"

namespace {

constexpr double kPlayedSeconds = 60.0;

void BM_RenderDemoMinuteToGif(benchmark::State& state) {
    rova::bench::ensureApplication();
    QTemporaryDir folder;
    QTextStream errors(stderr);
    rova::StreamPrompt prompt(errors);
    const QString demo = folder.filePath("Demo.rova");
    if (rova::writeCommands(rova::makeDemoSequence(), demo, prompt) != rova::FileResult::Ok) {
        state.SkipWithError("the demo sequence could not be written");
        return;
    }
    const auto request = rova::parseRender(
        {demo, "-o", folder.filePath("demo.gif"), "--seconds", QString::number(kPlayedSeconds)});
    for (auto _ : state) {
        if (rova::runRender(*request, errors, false) != 0) {
            state.SkipWithError("rendering failed");
            return;
        }
    }
    state.counters["x_real_time"] = benchmark::Counter(
        kPlayedSeconds * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_RenderDemoMinuteToGif)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
