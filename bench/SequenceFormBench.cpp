// Reading every cell of the sequence list over 10,000 commands, as a view does when it sizes its
// columns to their contents or the user scrolls through the whole list. The list's model reads
// each row's texts from the command itself, so this is the cost of building those texts.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "CommandListModel.h"

namespace rova::bench {
namespace {

constexpr int kCommands = 10000;

NodeList<Command> makeList() {
    NodeList<Command> list;
    for (int i = 0; i < kCommands; ++i) {
        Command& command = list.append(std::make_unique<Command>());
        command.setKeyword(static_cast<Keyword>(i % CommandKeyword::kCount));
        command.setName("Command " + std::to_string(i), false);
        command.parameters().deathAfter = i % 30;
        command.parameters().nextCommandAfter = 0.5 * (i % 60);
    }
    return list;
}

void BM_CommandListCells(benchmark::State& state) {
    NodeList<Command> list = makeList();
    CommandListModel model(list);
    for (auto _ : state) {
        for (int row = 0; row < kCommands; ++row) {
            for (int column = 0; column < CommandListModel::ColumnCount; ++column) {
                benchmark::DoNotOptimize(model.data(model.index(row, column), Qt::DisplayRole));
            }
        }
    }
    state.SetItemsProcessed(state.iterations() * kCommands);
}
BENCHMARK(BM_CommandListCells)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace rova::bench
