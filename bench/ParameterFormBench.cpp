// Loading a command into the parameter form on screen: the record shown in every control, the
// text put into the rich-text editor, its content built and given to the top player, and the
// form repainted.
#include <benchmark/benchmark.h>

#include <QString>

#include <memory>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "Clock.h"
#include "Command.h"
#include "EngineFixtures.h"
#include "ParameterForm.h"
#include "UserPrompt.h"

namespace {

// No sequence form around the parameter form.
class NoSequenceForm final : public rova::FormWithoutControls {
  public:
    bool isSequenceRunning() const override { return false; }
};

// A CHNG command showing a line of text, as a sequence of scrolling texts holds it, without
// the packed content a run leaves in it: the form builds the content each time.
std::unique_ptr<rova::Command> textCommand() {
    auto command = std::make_unique<rova::Command>();
    command->setKeyword(rova::Keyword::Change);
    const std::string text = "Welcome to the rotor";
    const std::string content = text + std::string(1, '\0') + "{\\rtf1 " + text + "}";
    command->assignContent(rova::content_kind::Rich,
                           std::vector<std::uint8_t>(content.begin(), content.end()));
    command->parameters().origin = 200;
    command->parameters().yShift = 2;
    return command;
}

void BM_LoadCommandIntoForm(benchmark::State& state) {
    rova::bench::ensureApplication();
    rova::VirtualClock clock;
    rova::bench::BenchEngine engine(clock);
    rova::bench::SilentPrompt prompt;
    NoSequenceForm sequenceForm;
    const QString presets = QStringLiteral("/nonexistent/Presets.rova");
    rova::ParameterForm form(engine, prompt, sequenceForm, presets, presets);
    form.initialise(true);
    form.resize(1000, 500);
    form.show();
    QApplication::processEvents();
    for (auto _ : state) {
        state.PauseTiming();
        auto command = textCommand();
        state.ResumeTiming();
        if (!form.controller().execute(*command, true)) {
            state.SkipWithError("the command was not executed");
            return;
        }
        // The controls repaint with what they now show.
        QApplication::processEvents();
        benchmark::DoNotOptimize(form.controller().working().content.columnCount());
    }
}
BENCHMARK(BM_LoadCommandIntoForm)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace
