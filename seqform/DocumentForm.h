#pragma once

#include <QList>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <memory>

#include "Command.h"
#include "FilePrompt.h"
#include "ParameterFormController.h"
#include "SequenceRunner.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QTableView;

namespace rova {

class CommandListModel;
class Document;
class FrameClock;
class ParameterFormAccess;
class QuestionPrompt;
class ValuePair;

// The sequence form: the list of the document's commands, the command-level settings of the
// current command (its type, its death or repeat count, the time to the next command), the run
// controls and the buttons that reload, create, insert, delete and move commands. The sequence
// runner lives here; it is ticked by a single-shot timer set to the time it says it can wait.
//
// The current command is the one loaded into the forms; a backup of it, taken when it became
// current, is what "Reload" goes back to. Every change made in the form's controls is written
// into the parameter form's record and into the current command at once. Every edit of the
// list stops the runner first.
//
// Every control has an accessible name equal to its caption (without "&"); the "Run" button
// keeps its name while it shows the timers, the value pairs are "Death After" and "Next Command
// After".
class DocumentForm final : public QWidget, public ParameterFormHost, private SequenceRunnerView {
    Q_OBJECT

  public:
    // `showFile` shows the "Insert..." dialog (QFileDialog when empty).
    DocumentForm(Document& document, const FrameClock& frameClock, ParameterFormAccess& parameters,
                 QuestionPrompt& prompt, FilePrompt::ShowDialog showFile = {},
                 QWidget* parent = nullptr);
    ~DocumentForm() override;

    SequenceRunner& runner() { return runner_; }
    bool isRunning() const { return runner_.isRunning(); }
    // The command loaded into the forms; -1 when there is none.
    int currentIndex() const { return current_; }
    // The row with the focus; -1 when none.
    int focusedRow() const;
    // The selected rows, ascending.
    QList<int> selectedRows() const;

    // A document is shown: the first command is executed, or with `run` the sequence runs.
    void initialUpdate(bool run);
    // Stops, reads every row again and selects rows `first` to `last` (or `first` alone when
    // `last` is below it; the focused row when `first` is negative) with the focus on the
    // first; then executes it, or with `run` runs from it.
    void refresh(int first, int last, bool run);
    // Makes a command of the form's keyword from the parameter form's record and content and
    // inserts it after the focused row (at the end when none): it is focused and made current.
    // With `seconds` > 0, the next command and the death both follow after that time.
    void createCommand(double seconds);

    // -------- the run commands of the buttons and the main window, from the focused row ------
    void runOrStop();
    void navigate(Navigation to, bool run);
    void stop();
    void stopAndKillPlayers();

    // Before the document is saved: an edit in progress in the list is taken over.
    void prepareForSave();

    // The document changed its list itself (it read a file or appended a command): every row is
    // read again, and the command at `index` (none for -1) becomes current and selected without
    // being executed.
    void showList(int index);

    // -------- ParameterFormHost --------
    void showParameters() override {}
    void selectPresetRow(int) override {}
    // The parameter form changed its record or content: the current command takes it over.
    void storeIntoSelectedCommand() override;
    void refreshTimingControls() override { showCurrent(); }
    bool isSequenceRunning() const override { return runner_.isRunning(); }

  signals:
    // No runnable command was left: the playlist moves on.
    void ended();

  private:
    class ListView;

    // SequenceRunnerView
    void selectRow(int index) override;
    void makeCurrent(int index) override;
    void showRunButtonText(const QString& text) override;
    void sequenceEnded() override;

    void createControls();
    void connectControls();
    // A click on the "Next Command After..." group sets its time to 5 s.
    bool eventFilter(QObject* watched, QEvent* event) override;

    // Fills the controls from the parameter form's record and the form's keyword.
    void showCurrent();
    // Takes the controls' values into the parameter form's record and the current command.
    void saveCurrent();
    // Copies the parameter form's record (and content when the keyword keeps some) into the
    // current command and shows its row again.
    void storeCurrent();
    void updateButtons();
    void scheduleTick();
    void tick();
    void setModified();

    // Selects rows `first` to `last` with the focus on `focus`, without executing anything.
    void selectRows(int first, int last, int focus);
    void focusMovedByUser(int row);

    void reloadClicked();
    void newClicked();
    void insertClicked();
    void deleteClicked();
    void moveUpClicked();
    void moveDownClicked();
    // Gathers the rows (ascending) into one block starting at `blockStart` in the list without
    // them, keeps them selected and the current command with its row.
    void moveRows(const QList<int>& rows, int blockStart);
    void rowsDropped(const QList<int>& rows, int destination);
    // Deletes surplus MARKs among, or adds missing MARKs before, the `count` commands inserted
    // at `position`; returns their new count (with any MARKs added).
    int balanceBrackets(int position, int count);
    void renamed(int row);

    Document& document_;
    ParameterFormAccess& parameters_;
    QuestionPrompt& prompt_;
    FilePrompt filePrompt_;
    CommandListModel* model_;
    SequenceRunner runner_;
    QTimer tickTimer_;

    int current_ = -1;
    std::unique_ptr<Command> backup_;
    bool changedSinceLoaded_ = false;
    bool updating_ = false;            // the form fills its own controls
    bool selectingByProgram_ = false;  // the form moves the focus in the list itself
    CommandKeyword keyword_ = Keyword::Solo;

    QPushButton* runButton_ = nullptr;
    QPushButton* topButton_ = nullptr;
    QPushButton* stepButton_ = nullptr;
    QComboBox* commandType_ = nullptr;
    QGroupBox* deathGroup_ = nullptr;
    QCheckBox* deathCheck_ = nullptr;
    ValuePair* deathPair_ = nullptr;
    QLabel* deathTypeLabel_ = nullptr;
    QComboBox* deathType_ = nullptr;
    QGroupBox* nextGroup_ = nullptr;
    ValuePair* nextPair_ = nullptr;
    QPushButton* reloadButton_ = nullptr;
    QPushButton* newButton_ = nullptr;
    QPushButton* insertButton_ = nullptr;
    QPushButton* deleteButton_ = nullptr;
    QPushButton* moveUpButton_ = nullptr;
    QPushButton* moveDownButton_ = nullptr;
    ListView* list_ = nullptr;
};

}  // namespace rova
