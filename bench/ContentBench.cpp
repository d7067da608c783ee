// Building a text player's content from rich text: rendering into the lamp band, the Fit
// search and packing. The form rebuilds it on every change of the text, so a short text must
// take well under 5 ms; a long scrolling text shows what a wide band costs.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QTextDocument>

#include <string>

#include "CharacterFormat.h"
#include "ContentBuilder.h"
#include "RtfReader.h"

#include "BenchSupport.h"

namespace {

const rova::CharacterFormat kDefaults{rova::CharacterFormat::kAll, 0, 240, 0xE0E0E0, "Arial"};

void buildContent(benchmark::State& state, const std::string& text, std::uint32_t flags) {
    rova::bench::ensureApplication();
    const std::string rtf = R"({\rtf1{\fonttbl{\f0 Arial;}}\f0\fs24 )" + text + "}";
    QTextDocument document;
    rova::readRtf(QByteArrayView(rtf.data(), static_cast<qsizetype>(rtf.size())), document);
    rova::ParameterSet set;
    set.parameters.playerFlags |= flags;
    for (auto _ : state) {
        benchmark::DoNotOptimize(rova::buildTextContent(set, document, kDefaults));
    }
    state.counters["columns"] = set.content.columnCount();
    state.counters["rows"] = set.content.rowCount();
}

void BM_BuildFittedHelloWorld(benchmark::State& state) {
    buildContent(state, "Hello, World", rova::PlayerFlags::Fit);
}
BENCHMARK(BM_BuildFittedHelloWorld)->Unit(benchmark::kMicrosecond);

// 7000 characters of 12-point type: wider than a band of 32000 columns.
void BM_BuildLongScrollingText(benchmark::State& state) {
    std::string text;
    while (text.size() < 7000) {
        text += "The quick brown fox jumps over the lazy dog. ";
    }
    buildContent(state, text, 0);
}
BENCHMARK(BM_BuildLongScrollingText)->Unit(benchmark::kMillisecond);

}  // namespace
