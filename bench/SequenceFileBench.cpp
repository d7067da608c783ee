// Saving and opening a sequence of 10,000 commands with 1 KiB of content each, and reading the
// same file's bytes raw. Opening should cost at most three times the raw read: the format
// reads each record in three pieces (header, name, content) and allocates each content once.
#include <benchmark/benchmark.h>

#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdlib>
#include <string>
#include <vector>

#include "CommandFile.h"

namespace rova::bench {
namespace {

constexpr int kCommands = 10000;
constexpr std::size_t kContentSize = 1024;

class SilentPrompt final : public UserPrompt {
  public:
    void showWarning(const QString&) override {}
};

NodeList<Command> makeSequence() {
    NodeList<Command> sequence;
    for (int i = 0; i < kCommands; ++i) {
        std::string text = "Command " + std::to_string(i);
        text += '\0';
        text.resize(kContentSize, 'r');
        std::vector<std::uint8_t> content(text.begin(), text.end());
        Command& command = sequence.append(std::make_unique<Command>());
        command.parameters().origin = i % 360;
        command.assignContent(content_kind::Rich, std::move(content));
    }
    return sequence;
}

// The saved sequence, written once for all benchmarks.
class SavedSequence {
  public:
    SavedSequence() : path_(folder_.filePath("bench.rova")) {
        SilentPrompt prompt;
        if (writeCommands(makeSequence(), path_, prompt) != FileResult::Ok) {
            std::abort();
        }
    }
    const QString& path() const { return path_; }

  private:
    QTemporaryDir folder_;
    QString path_;
};

const SavedSequence& savedSequence() {
    static const SavedSequence saved;
    return saved;
}

void BM_WriteSequence(benchmark::State& state) {
    QTemporaryDir folder;
    const QString path = folder.filePath("written.rova");
    const NodeList<Command> sequence = makeSequence();
    SilentPrompt prompt;
    for (auto _ : state) {
        if (writeCommands(sequence, path, prompt) != FileResult::Ok) {
            state.SkipWithError("the save failed");
        }
    }
    state.SetItemsProcessed(state.iterations() * kCommands);
}
BENCHMARK(BM_WriteSequence)->Unit(benchmark::kMillisecond);

// Destroying what was read is left out of both reading benchmarks.
void BM_ReadSequence(benchmark::State& state) {
    const QString& path = savedSequence().path();
    SilentPrompt prompt;
    for (auto _ : state) {
        NodeList<Command> sequence;
        if (readCommands(sequence, 0, path, prompt) != FileResult::Ok ||
            sequence.size() != kCommands) {
            state.SkipWithError("the file did not read back");
        }
        state.PauseTiming();
        sequence.clear();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kCommands);
}
BENCHMARK(BM_ReadSequence)->Unit(benchmark::kMillisecond);

void BM_ReadRawBytes(benchmark::State& state) {
    const QString& path = savedSequence().path();
    for (auto _ : state) {
        std::vector<std::uint8_t> bytes;
        if (SequenceFile::readWholeFile(path, bytes) != FileResult::Ok) {
            state.SkipWithError("the file could not be read");
        }
        benchmark::DoNotOptimize(bytes.data());
        state.PauseTiming();
        bytes = std::vector<std::uint8_t>();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(QFileInfo(path).size()));
}
BENCHMARK(BM_ReadRawBytes)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace rova::bench
