// Reading and writing RTF: both must take time in proportion to the text, however its formats
// change. Each stream here has a format change every word and a paragraph every ten words.
#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QTextCursor>
#include <QTextDocument>

#include "CharacterFormat.h"
#include "RtfReader.h"
#include "RtfWriter.h"

namespace {

const rova::CharacterFormat kDefaults{rova::CharacterFormat::kAll, 0, 240, 0, "Arial"};

QByteArray mixedRtf(int words) {
    QByteArray rtf =
        "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}{\\f1 Times New Roman;}}"
        "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}";
    static const char* const kRuns[] = {"{\\b bold }", "{\\i\\f1 italic }", "{\\cf1\\fs30 red }",
                                        "caf\\'e9 ", "\\u937? "};
    for (int i = 0; i < words; ++i) {
        rtf += kRuns[i % 5];
        if (i % 10 == 9) {
            rtf += "\\par\r\n";
        }
    }
    return rtf + "}";
}

void BM_ReadRtf(benchmark::State& state) {
    const QByteArray rtf = mixedRtf(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        QTextDocument document;
        benchmark::DoNotOptimize(rova::readRtf(rtf, document));
    }
    state.SetComplexityN(state.range(0));
    state.SetBytesProcessed(state.iterations() * rtf.size());
}
BENCHMARK(BM_ReadRtf)->RangeMultiplier(8)->Range(512, 262144)->Complexity(benchmark::oN);

// The content of a typical text command: a few formatted runs, with the font and colour tables
// a word processor writes in front of them.
void BM_ReadTypicalContent(benchmark::State& state) {
    const QByteArray rtf =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}\r\n"
        "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green128\\blue0;\\red0\\green0\\blue255;}\r\n"
        "\\viewkind4\\uc1\\pard\\cf1\\b\\f0\\fs24 Hello\\cf2\\b0  world\\cf3\\i !\\cf0\\i0\\par\r\n"
        "}\r\n";
    for (auto _ : state) {
        QTextDocument document;
        benchmark::DoNotOptimize(rova::readRtf(rtf, document));
    }
    state.SetBytesProcessed(state.iterations() * rtf.size());
}
BENCHMARK(BM_ReadTypicalContent);

void BM_WriteRtf(benchmark::State& state) {
    QTextDocument document;
    rova::readRtf(mixedRtf(static_cast<int>(state.range(0))), document);
    for (auto _ : state) {
        benchmark::DoNotOptimize(rova::writeRtf(document, kDefaults));
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_WriteRtf)->RangeMultiplier(8)->Range(512, 262144)->Complexity(benchmark::oN);

}  // namespace
