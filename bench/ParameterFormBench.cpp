// The parameter form on screen. Loading a command: the record shown in every control, the text
// put into the rich-text editor, its content built and given to the top player, and the form
// repainted. Typing into a long text with Auto Update on: each character rebuilds the content
// and changes the top player before the editor repaints.
#include <benchmark/benchmark.h>

#include <QKeyEvent>
#include <QString>
#include <QTextCursor>

#include <memory>

#include "BenchSupport.h"
#include "Clock.h"
#include "Command.h"
#include "EngineFixtures.h"
#include "ParameterForm.h"
#include "ParameterFormText.h"
#include "RichTextControl.h"
#include "UserPrompt.h"

namespace {

// No sequence form around the parameter form.
class NoSequenceForm final : public rova::FormWithoutControls {
  public:
    bool isSequenceRunning() const override { return false; }
};

// The parameter form on screen over an engine of its own, without presets.
struct ShownForm {
    ShownForm() {
        form.initialise(true);
        form.resize(1000, 500);
        form.show();
    }

    // The application exists before any widget is made.
    const int application = (rova::bench::ensureApplication(), 0);
    rova::VirtualClock clock;
    rova::bench::BenchEngine engine{clock};
    rova::bench::SilentPrompt prompt;
    NoSequenceForm sequenceForm;
    const QString presets = QStringLiteral("/nonexistent/Presets.rova");
    rova::ParameterForm form{engine, prompt, sequenceForm, presets, presets};
};

// A CHNG command showing a line of text, as a sequence of scrolling texts holds it, without
// the packed content a run leaves in it: the form builds the content each time.
std::unique_ptr<rova::Command> textCommand() {
    auto command = std::make_unique<rova::Command>();
    command->setKeyword(rova::Keyword::Change);
    command->assignContent(rova::content_kind::Rich,
                           rova::bench::textContent("Welcome to the rotor"));
    command->parameters().origin = 200;
    command->parameters().yShift = 2;
    return command;
}

void BM_LoadCommandIntoForm(benchmark::State& state) {
    ShownForm shown;
    rova::ParameterForm& form = shown.form;
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

// A key press with its text, as the keyboard delivers it to the focused editor.
void pressKey(QWidget& target, Qt::Key key, const QString& text = QString()) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(&target, &press);
}

constexpr int kLongTextLength = 1000;

// One character typed at the end of a 1,000-character text with Auto Update on: the editor
// takes it, the content is built again from the whole text and the top player takes the new
// content, then the editor repaints. The character is deleted again outside the timing so that
// every iteration types into a text of the same length.
void BM_TypeCharacterAutoUpdate(benchmark::State& state) {
    ShownForm shown;
    rova::ParameterForm& form = shown.form;

    QString text;
    while (text.size() < kLongTextLength) {
        text += QStringLiteral("The rotor shows a long scrolling message. ");
    }
    text.truncate(kLongTextLength - 1);
    text += u'.';
    form.controller().showPlainText(text, rova::preset_name::kScrolling);
    rova::RichTextControl& editor = form.textEditor();
    // The text comes in selected; the caret goes to its end so that typing appends.
    editor.moveCursor(QTextCursor::End);
    QApplication::processEvents();
    if (!form.controller().autoUpdate() || editor.textLength() != kLongTextLength ||
        shown.engine.playerCount() != 1) {
        state.SkipWithError("the long text is not on the top player with Auto Update on");
        return;
    }
    const auto columns = form.controller().working().content.columnCount();

    for (auto _ : state) {
        pressKey(editor, Qt::Key_X, QStringLiteral("x"));
        QApplication::processEvents();

        state.PauseTiming();
        const bool typed = editor.textLength() == kLongTextLength + 1;
        const bool built = form.controller().contentBuilt() &&
                           form.controller().working().content.columnCount() > columns;
        pressKey(editor, Qt::Key_Backspace);
        QApplication::processEvents();
        if (!typed || !built || editor.textLength() != kLongTextLength) {
            state.SkipWithError("the character did not reach the content");
            return;
        }
        state.ResumeTiming();
    }
}
BENCHMARK(BM_TypeCharacterAutoUpdate)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace
