// The sequence form over 10,000 commands. Reading every cell of the list, as a view does when
// it sizes its columns to their contents or the user scrolls through the whole list: the model
// reads each row's texts from the command itself, so this is the cost of building those texts.
// Then the form on screen beside the parameter form, wired as the main window wires them:
// opening a sequence file until its list shows, moving 5,000 selected rows up, and storing an
// edited value into the current command.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "Clock.h"
#include "CommandFile.h"
#include "CommandListModel.h"
#include "Document.h"
#include "DocumentForm.h"
#include "EngineFixtures.h"
#include "ParameterForm.h"
#include "SequenceFormLink.h"

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

// A sequence of scrolling texts: a SOLO every tenth command, CHNG between, each with its own
// short text, a death time and a time to the next command.
NodeList<Command> textSequence() {
    NodeList<Command> list;
    for (int i = 0; i < kCommands; ++i) {
        Command& command = list.append(std::make_unique<Command>());
        command.setKeyword(i % 10 == 0 ? Keyword::Solo : Keyword::Change);
        const std::string text = "Message number " + std::to_string(i);
        command.assignContent(content_kind::Rich, textContent(text));
        command.setName(text, true);
        command.parameters().deathAfter = 1 + i % 30;
        command.parameters().nextCommandAfter = 0.5 * (1 + i % 60);
    }
    return list;
}

// The text sequence saved once in a temporary folder, for every benchmark that opens it.
class SavedSequence {
  public:
    SavedSequence() : path_(folder_.filePath("long.rova")) {
        SilentPrompt prompt;
        if (!folder_.isValid() || writeCommands(textSequence(), path_, prompt) != FileResult::Ok) {
            std::abort();
        }
    }
    const QString& path() const { return path_; }

  private:
    QTemporaryDir folder_;
    QString path_;
};

const QString& savedSequencePath() {
    static const SavedSequence saved;
    return saved.path();
}

// The descendant of `root` of the given type with the accessible name; null when there is none.
template <typename Widget>
Widget* namedChild(const QWidget& root, const QString& name) {
    for (Widget* widget : root.findChildren<Widget*>()) {
        if (widget->accessibleName() == name) {
            return widget;
        }
    }
    return nullptr;
}

// The parameter form and the sequence form on screen around one document, wired as the main
// window wires them: the parameter form passes what only the sequence form can do on to it, and
// the document's notifications reach the sequence form as the application passes them on.
class SequenceWindow final : public DocumentHost {
  public:
    SequenceWindow()
        : engine_(clock_),
          parameterForm_(engine_, prompt_, link_, noPresets(), noPresets()),
          document_(prompt_, *this),
          sequenceForm_(document_, engine_.frameClock(), parameterForm_.controller(), prompt_) {
        link_.setTarget(&sequenceForm_);
        parameterForm_.initialise(true);
        parameterForm_.resize(1000, 500);
        parameterForm_.show();
        sequenceForm_.resize(1000, 400);
        sequenceForm_.show();
        QApplication::processEvents();
    }
    ~SequenceWindow() override { link_.setTarget(nullptr); }

    Document& document() { return document_; }
    DocumentForm& sequenceForm() { return sequenceForm_; }

    // File Open as the application does it: the document reads the file and the form shows
    // the list, executes the first command and lays the list out. False when it did not open.
    bool open(const QString& path) {
        if (document_.openFile(path) != Document::OpenResult::Opened) {
            return false;
        }
        sequenceForm_.initialUpdate(false);
        QApplication::processEvents();
        return true;
    }

    // DocumentHost
    bool windowExists() const override { return true; }
    void stopSequenceAndKillPlayers() override { sequenceForm_.stopAndKillPlayers(); }
    void sequenceReplaced(bool keepCurrentIndex) override {
        sequenceForm_.showList(keepCurrentIndex ? sequenceForm_.currentIndex() : -1);
    }
    std::unique_ptr<Command> commandFromTextFile(const QString&) override { return nullptr; }
    void commandAdded(int index) override { sequenceForm_.showList(index); }
    void prepareForSave() override {}
    std::unique_ptr<Command> commandFromParameters() override {
        return parameterForm_.controller().commandFromParameters();
    }
    void showSequencePane() override {}
    void titleChanged() override {}
    std::optional<QString> chooseSavePath(const QString&) override { return std::nullopt; }
    void addRecentFile(const QString&) override {}

  private:
    static QString noPresets() { return QStringLiteral("/nonexistent/Presets.rova"); }

    VirtualClock clock_;
    BenchEngine engine_;
    SilentPrompt prompt_;
    SequenceFormLink link_;
    ParameterForm parameterForm_;
    Document document_;
    DocumentForm sequenceForm_;
};

// Opening the saved sequence until its list is shown: the file read, the list read again by
// the form, the first command executed and the view laid out and painted. The document is
// emptied outside the timing, so that each iteration opens into an empty form.
void BM_OpenLargeSequence(benchmark::State& state) {
    ensureApplication();
    const QString& path = savedSequencePath();
    SequenceWindow window;
    for (auto _ : state) {
        state.PauseTiming();
        if (!window.document().newDocument()) {
            state.SkipWithError("the document could not be emptied");
            return;
        }
        QApplication::processEvents();
        state.ResumeTiming();
        if (!window.open(path)) {
            state.SkipWithError("the sequence did not open");
            return;
        }
    }
    if (window.document().commands().size() != static_cast<std::size_t>(kCommands) ||
        window.sequenceForm().currentIndex() != 0) {
        state.SkipWithError("the opened sequence is not shown");
    }
}
BENCHMARK(BM_OpenLargeSequence)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// Every other row of the 10,000 (1, 3, ..., 9999) is selected, with the focus on the last, as
// the user selects rows one by one; "Move Up" gathers them into one block at the top. The rows
// are selected again outside the timing each iteration.
void BM_MoveRowsUp(benchmark::State& state) {
    ensureApplication();
    SequenceWindow window;
    if (!window.open(savedSequencePath())) {
        state.SkipWithError("the sequence did not open");
        return;
    }
    DocumentForm& form = window.sequenceForm();
    auto* moveUp = namedChild<QPushButton>(form, QStringLiteral("Move Up"));
    auto* list = form.findChild<QTableView*>();
    if (moveUp == nullptr || list == nullptr) {
        state.SkipWithError("the form has no Move Up button or no list");
        return;
    }
    QAbstractItemModel& model = *list->model();
    const int lastColumn = model.columnCount() - 1;
    for (auto _ : state) {
        state.PauseTiming();
        QItemSelection rows;
        for (int row = 1; row < kCommands; row += 2) {
            rows.select(model.index(row, 0), model.index(row, lastColumn));
        }
        list->selectionModel()->select(rows, QItemSelectionModel::ClearAndSelect);
        list->selectionModel()->setCurrentIndex(model.index(kCommands - 1, 0),
                                                QItemSelectionModel::NoUpdate);
        QApplication::processEvents();
        const Command* second = window.document().commands().at(1);
        state.ResumeTiming();

        moveUp->click();
        QApplication::processEvents();

        state.PauseTiming();
        const QList<int> selected = form.selectedRows();
        if (window.document().commands().at(0) != second || selected.size() != kCommands / 2 ||
            selected.front() != 0 || selected.back() != kCommands / 2 - 1) {
            state.SkipWithError("the selected rows were not moved into one block at the top");
            return;
        }
        state.ResumeTiming();
    }
}
BENCHMARK(BM_MoveRowsUp)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// A new time typed into the "Next Command After" field of the current command (the first):
// the form takes it into the parameter form's record and stores it into the command, whose row
// is drawn again. Two values alternate, so that every edit changes the time.
void BM_EditValueStored(benchmark::State& state) {
    ensureApplication();
    SequenceWindow window;
    if (!window.open(savedSequencePath())) {
        state.SkipWithError("the sequence did not open");
        return;
    }
    auto* field =
        namedChild<QLineEdit>(window.sequenceForm(), QStringLiteral("Next Command After"));
    const Command* current = window.document().commands().at(0);
    if (field == nullptr || current == nullptr || window.sequenceForm().currentIndex() != 0) {
        state.SkipWithError("no Next Command After field or no current command");
        return;
    }
    bool four = false;
    for (auto _ : state) {
        state.PauseTiming();
        four = !four;
        // Typing replaces the whole text, as after a double click on the field.
        field->selectAll();
        const QString digit = four ? QStringLiteral("4") : QStringLiteral("6");
        QKeyEvent press(QEvent::KeyPress, four ? Qt::Key_4 : Qt::Key_6, Qt::NoModifier, digit);
        state.ResumeTiming();

        QApplication::sendEvent(field, &press);
        QApplication::processEvents();

        state.PauseTiming();
        if (current->parameters().nextCommandAfter != (four ? 4.0 : 6.0)) {
            state.SkipWithError("the typed time was not stored into the command");
            return;
        }
        state.ResumeTiming();
    }
}
BENCHMARK(BM_EditValueStored)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace
}  // namespace rova::bench
