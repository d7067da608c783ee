#include "DocumentForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDropEvent>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>
#include <new>

#include "CommandFile.h"
#include "CommandListModel.h"
#include "CommandText.h"
#include "Document.h"
#include "KeywordIcons.h"
#include "ParameterFormAccess.h"
#include "SequenceFormText.h"
#include "ValuePair.h"
#include "ValueSlider.h"

namespace rova {

namespace {

constexpr int kColumnWidth = 120;
constexpr double kNextCommandOnClick = 5.0;
const ValueRange kSecondsRange{0.0, 30.0, 1.0};

// A widget's caption doubles as its accessible name, without the mnemonic marker.
template <typename Widget>
Widget* named(Widget* widget, const QString& caption) {
    widget->setAccessibleName(QString(caption).remove(u'&'));
    return widget;
}

QPushButton* button(const QString& caption) {
    return named(new QPushButton(caption), caption);
}

}  // namespace

// The command list: tells the form about every click, key press and start of renaming before
// it acts on them, and turns the Delete and Insert keys into the form's buttons.
class DocumentForm::ListView final : public QTableView {
  public:
    std::function<void()> userAction;
    std::function<void()> deletePressed;
    std::function<void()> insertPressed;

    // A name being typed in the list is taken as if the user had pressed Enter.
    void commitOpenEditor() {
        if (state() != EditingState) {
            return;
        }
        if (auto* editor = viewport()->findChild<QLineEdit*>()) {
            commitData(editor);
            closeEditor(editor, QAbstractItemDelegate::NoHint);
        }
    }

  protected:
    void mousePressEvent(QMouseEvent* event) override {
        userAction();
        QTableView::mousePressEvent(event);
    }
    void keyPressEvent(QKeyEvent* event) override {
        userAction();
        if (state() != EditingState && event->modifiers() == Qt::NoModifier) {
            if (event->key() == Qt::Key_Delete) {
                deletePressed();
                return;
            }
            if (event->key() == Qt::Key_Insert) {
                insertPressed();
                return;
            }
        }
        QTableView::keyPressEvent(event);
    }
    // The form has moved the rows by the time the drop returns (the model hands drops to it):
    // the drag must not count as a move, or the view would remove the dragged rows as well.
    void dropEvent(QDropEvent* event) override {
        QTableView::dropEvent(event);
        event->setDropAction(Qt::IgnoreAction);
        event->ignore();
    }
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override {
        const bool started = QTableView::edit(index, trigger, event);
        if (started && trigger != NoEditTriggers) {
            userAction();
        }
        return started;
    }
};

DocumentForm::DocumentForm(Document& document, const FrameClock& frameClock,
                           ParameterFormAccess& parameters, QuestionPrompt& prompt,
                           FilePrompt::ShowDialog showFile, QWidget* parent)
    : QWidget(parent),
      document_(document),
      parameters_(parameters),
      prompt_(prompt),
      filePrompt_(SequenceFormText::sequenceFilter(), false, QString(), prompt,
                  std::move(showFile)),
      model_(new CommandListModel(document.commands(), this)),
      runner_(document.commands(), frameClock, parameters, *this) {
    tickTimer_.setSingleShot(true);
    tickTimer_.setTimerType(Qt::PreciseTimer);
    connect(&tickTimer_, &QTimer::timeout, this, &DocumentForm::tick);
    createControls();
    connectControls();
    showCurrent();
    updateButtons();
}

DocumentForm::~DocumentForm() = default;

void DocumentForm::createControls() {
    runButton_ = button(CommandText::runButtonStopped());
    topButton_ = button(tr("Top"));
    stepButton_ = button(tr("Step"));

    auto* typeGroup = named(new QGroupBox(tr("Command Type")), tr("Command Type"));
    commandType_ = named(new QComboBox, tr("Command Type"));
    for (int index = 0; index < CommandKeyword::kCount; ++index) {
        commandType_->addItem(keywordIcon(index), CommandText::keywordItem(index));
    }
    commandType_->setIconSize(QSize(16, 16));
    auto* typeLayout = new QVBoxLayout(typeGroup);
    typeLayout->addWidget(commandType_);

    deathGroup_ = new QGroupBox;
    deathCheck_ = new QCheckBox;
    deathPair_ = new ValuePair(QString(), kSecondsRange, this);
    deathPair_->setAccessibleName(tr("Death After"));
    deathTypeLabel_ = named(new QLabel(tr("Type:")), tr("Type:"));
    deathType_ = named(new QComboBox, tr("Death Type"));
    for (std::uint32_t type = 0; type < 3; ++type) {
        deathType_->addItem(CommandText::deathTypeItem(type));
    }
    auto* deathLayout = new QGridLayout(deathGroup_);
    deathLayout->addWidget(deathCheck_, 0, 0);
    deathLayout->addWidget(deathPair_->slider(), 0, 1);
    deathLayout->addWidget(deathPair_->edit(), 0, 2);
    deathLayout->addWidget(deathPair_->label(), 0, 3);
    deathLayout->addWidget(deathTypeLabel_, 1, 0);
    deathLayout->addWidget(deathType_, 1, 1, 1, 3);

    nextGroup_ = named(new QGroupBox(tr("Next Command After...")), tr("Next Command After..."));
    nextPair_ = new ValuePair(tr("sec"), kSecondsRange, this);
    nextPair_->setAccessibleName(tr("Next Command After"));
    named(nextPair_->label(), tr("sec"));
    auto* nextLayout = new QHBoxLayout(nextGroup_);
    nextLayout->addWidget(nextPair_->slider());
    nextLayout->addWidget(nextPair_->edit());
    nextLayout->addWidget(nextPair_->label());
    nextGroup_->installEventFilter(this);

    reloadButton_ = button(tr("Reload"));
    newButton_ = button(tr("New"));
    insertButton_ = button(tr("Insert..."));
    deleteButton_ = button(tr("Delete"));
    moveUpButton_ = button(tr("Move Up"));
    moveDownButton_ = button(tr("Move Down"));

    list_ = new ListView;
    list_->setAccessibleName(tr("Commands"));
    list_->setModel(model_);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setShowGrid(true);
    list_->setIconSize(QSize(16, 16));
    list_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::SelectedClicked);
    list_->setDragEnabled(true);
    list_->setAcceptDrops(true);
    list_->setDragDropMode(QAbstractItemView::InternalMove);
    list_->setDefaultDropAction(Qt::MoveAction);
    list_->setDropIndicatorShown(true);
    list_->setDragDropOverwriteMode(false);
    list_->verticalHeader()->hide();
    list_->horizontalHeader()->setDefaultSectionSize(kColumnWidth);
    list_->horizontalHeader()->setStretchLastSection(false);
    list_->setWordWrap(false);
    // The selection stays visible, in the active colours, when the list loses the focus.
    QPalette palette = list_->palette();
    for (const QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText}) {
        palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
    }
    list_->setPalette(palette);

    auto* runRow = new QHBoxLayout;
    runRow->addWidget(runButton_);
    runRow->addWidget(topButton_);
    runRow->addWidget(stepButton_);
    auto* buttons = new QGridLayout;
    buttons->addWidget(reloadButton_, 0, 0);
    buttons->addWidget(newButton_, 0, 1);
    buttons->addWidget(insertButton_, 0, 2);
    buttons->addWidget(deleteButton_, 1, 0);
    buttons->addWidget(moveUpButton_, 1, 1);
    buttons->addWidget(moveDownButton_, 1, 2);

    auto* controls = new QVBoxLayout;
    controls->addLayout(runRow);
    controls->addWidget(typeGroup);
    controls->addWidget(deathGroup_);
    controls->addWidget(nextGroup_);
    controls->addLayout(buttons);
    controls->addStretch(1);

    // The list takes all the room the controls leave.
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(controls);
    layout->addWidget(list_, 1);
}

void DocumentForm::connectControls() {
    connect(runButton_, &QPushButton::clicked, this, &DocumentForm::runOrStop);
    connect(topButton_, &QPushButton::clicked, this, [this] { navigate(Navigation::Top, true); });
    connect(stepButton_, &QPushButton::clicked, this,
            [this] { navigate(Navigation::Next, false); });
    connect(reloadButton_, &QPushButton::clicked, this, &DocumentForm::reloadClicked);
    connect(newButton_, &QPushButton::clicked, this, &DocumentForm::newClicked);
    connect(insertButton_, &QPushButton::clicked, this, &DocumentForm::insertClicked);
    connect(deleteButton_, &QPushButton::clicked, this, &DocumentForm::deleteClicked);
    connect(moveUpButton_, &QPushButton::clicked, this, &DocumentForm::moveUpClicked);
    connect(moveDownButton_, &QPushButton::clicked, this, &DocumentForm::moveDownClicked);

    connect(commandType_, &QComboBox::currentIndexChanged, this, &DocumentForm::saveCurrent);
    connect(deathType_, &QComboBox::currentIndexChanged, this, &DocumentForm::saveCurrent);
    connect(deathCheck_, &QCheckBox::toggled, this, [this](bool checked) {
        deathPair_->setEnabled(checked);
        saveCurrent();
    });
    connect(deathPair_, &ValuePair::valueTaken, this, &DocumentForm::saveCurrent);
    connect(nextPair_, &ValuePair::valueTaken, this, &DocumentForm::saveCurrent);

    list_->userAction = [this] {
        stop();
        updateButtons();
    };
    list_->deletePressed = [this] {
        if (deleteButton_->isEnabled()) {
            deleteClicked();
        }
    };
    list_->insertPressed = [this] { insertClicked(); };
    connect(list_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (!selectingByProgram_ && current.isValid()) {
                    focusMovedByUser(current.row());
                }
            });
    connect(list_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &DocumentForm::updateButtons);
    connect(model_, &CommandListModel::renamed, this, &DocumentForm::renamed);
    connect(model_, &CommandListModel::rowsDropped, this, &DocumentForm::rowsDropped);
}

bool DocumentForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == nextGroup_ && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        nextPair_->setValue(kNextCommandOnClick);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

int DocumentForm::focusedRow() const {
    const QModelIndex current = list_->selectionModel()->currentIndex();
    return current.isValid() ? current.row() : -1;
}

// Read from the selection's ranges: QItemSelectionModel::selectedRows() takes time quadratic in
// their number, which thousands of scattered rows make noticeable.
QList<int> DocumentForm::selectedRows() const {
    QList<int> rows;
    for (const QItemSelectionRange& range : list_->selectionModel()->selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row) {
            rows.append(row);
        }
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

void DocumentForm::initialUpdate(bool run) {
    refresh(0, -1, run);
}

void DocumentForm::refresh(int first, int last, bool run) {
    // The list's own moves of the focus while its rows change execute nothing.
    QScopedValueRollback<bool> selecting(selectingByProgram_, true);
    stop();
    const int focused = focusedRow();
    model_->reread();
    const int count = model_->rowCount();
    if (count == 0) {
        keyword_ = Keyword::Solo;
        makeCurrent(-1);
        return;
    }
    const int row = first >= 0 ? std::min(first, count - 1) : std::clamp(focused, 0, count - 1);
    selectRows(row, std::clamp(last, row, count - 1), row);
    if (run) {
        runner_.startFromSelection(row);
    } else {
        runner_.loadAndExecute(row);
    }
    scheduleTick();
    updateButtons();
}

void DocumentForm::createCommand(double seconds) {
    QScopedValueRollback<bool> selecting(selectingByProgram_, true);
    std::unique_ptr<Command> command = parameters_.commandFromParameters();
    if (!command) {
        prompt_.showWarning(SequenceFormText::createFailed());
        return;
    }
    command->setKeyword(keyword_);
    if (seconds > 0.0) {
        command->parameters().nextCommandAfter = seconds;
        command->parameters().deathAfter = seconds;
    }
    const int focused = focusedRow();
    const int row =
        model_->insert(focused >= 0 ? focused + 1 : model_->rowCount(), std::move(command));
    selectRows(row, row, row);
    makeCurrent(row);
}

void DocumentForm::storeIntoSelectedCommand() {
    storeCurrent();
}

// -------- SequenceRunnerView --------

void DocumentForm::selectRow(int index) {
    if (index < 0) {
        QScopedValueRollback<bool> selecting(selectingByProgram_, true);
        list_->selectionModel()->clear();
        return;
    }
    selectRows(index, index, index);
}

void DocumentForm::makeCurrent(int index) {
    backup_.reset();
    changedSinceLoaded_ = false;
    current_ = index;
    if (const Command* command = document_.commands().at(static_cast<std::size_t>(index));
        index >= 0 && command != nullptr) {
        keyword_ = command->keyword();
        auto backup = std::unique_ptr<Command>(new (std::nothrow) Command);
        if (backup && backup->copyFrom(*command)) {
            backup_ = std::move(backup);
        } else {
            prompt_.showWarning(SequenceFormText::backupFailed());
        }
    }
    showCurrent();
    updateButtons();
}

void DocumentForm::showRunButtonText(const QString& text) {
    runButton_->setText(text);
}

void DocumentForm::sequenceEnded() {
    tickTimer_.stop();
    updateButtons();
    emit ended();
}

// -------- the command's settings --------

void DocumentForm::showCurrent() {
    QScopedValueRollback<bool> updating(updating_, true);
    const PlayerParameters& record = parameters_.record();
    const std::optional<Keyword> keyword = keyword_.known();
    const bool repeat = keyword == Keyword::Repeat;
    const bool player = keyword == Keyword::Solo || keyword == Keyword::New;
    const bool death = player || repeat;

    commandType_->setCurrentIndex(keyword_.index());
    const QString group = repeat ? tr("Repeat") : tr("Death");
    deathGroup_->setTitle(group);
    deathGroup_->setAccessibleName(group);
    named(deathCheck_, repeat ? tr("For:") : tr("After:"))
        ->setText(repeat ? tr("For:") : tr("After:"));
    named(deathPair_->label(), repeat ? tr("times") : tr("sec"))
        ->setText(repeat ? tr("times") : tr("sec"));
    deathGroup_->setVisible(death);
    deathTypeLabel_->setVisible(player);
    deathType_->setVisible(player);
    nextGroup_->setVisible(keyword != Keyword::Mark);

    const bool finite = death && record.hasCommandFlag(CommandFlags::DeathAfterEnabled);
    deathCheck_->setChecked(finite);
    deathPair_->setEnabled(finite);
    deathPair_->setValue(record.deathAfter);
    deathType_->setCurrentIndex(record.deathType < 3 ? static_cast<int>(record.deathType) : -1);
    nextPair_->setValue(record.nextCommandAfter);
}

void DocumentForm::saveCurrent() {
    if (updating_) {
        return;
    }
    PlayerParameters record = parameters_.record();
    if (deathCheck_->isChecked()) {
        record.commandFlags |= CommandFlags::DeathAfterEnabled;
    } else {
        record.commandFlags &= ~CommandFlags::DeathAfterEnabled;
    }
    record.deathAfter = deathPair_->currentValue();
    record.nextCommandAfter = nextPair_->currentValue();
    if (deathType_->currentIndex() >= 0) {
        record.deathType = static_cast<std::uint32_t>(deathType_->currentIndex());
    }
    if (commandType_->currentIndex() >= 0) {
        keyword_ = CommandKeyword(static_cast<Keyword>(commandType_->currentIndex()));
    }

    // The change takes effect on the players at once: a kill kills, and a command that shows
    // something but has nothing to show starts from an empty text.
    Command change;
    change.parameters() = record;
    change.setKeyword(keyword_);
    if (!keyword_.keepsContent()) {
        parameters_.execute(change, !runner_.isRunning());
    } else if (!parameters_.holdsContent()) {
        change.assignContent(content_kind::Rich, {});
        parameters_.execute(change, !runner_.isRunning());
    }
    parameters_.applyRecord(record);

    stop();
    storeCurrent();
    showCurrent();
}

void DocumentForm::storeCurrent() {
    Command* command = document_.commands().at(static_cast<std::size_t>(current_));
    if (current_ < 0 || command == nullptr) {
        return;
    }
    if (parameters_.storeInto(*command, keyword_.keepsContent())) {
        command->setKeyword(keyword_);
        model_->rowChanged(current_);
    } else {
        prompt_.showWarning(SequenceFormText::saveFailed());
    }
    changedSinceLoaded_ = true;
    setModified();
    updateButtons();
}

void DocumentForm::updateButtons() {
    const bool hasCommands = model_->rowCount() > 0;
    const bool hasSelection = list_->selectionModel()->hasSelection();
    runButton_->setEnabled(hasCommands);
    topButton_->setEnabled(hasCommands);
    stepButton_->setEnabled(hasCommands);
    deleteButton_->setEnabled(hasSelection);
    moveUpButton_->setEnabled(hasSelection);
    moveDownButton_->setEnabled(hasSelection);
    reloadButton_->setEnabled(changedSinceLoaded_ && current_ >= 0 && current_ == focusedRow() &&
                              backup_ != nullptr);
}

void DocumentForm::stop() {
    runner_.stop();
    scheduleTick();
}

void DocumentForm::prepareForSave() {
    list_->commitOpenEditor();
}

void DocumentForm::stopAndKillPlayers() {
    stop();
    parameters_.killAllPlayers();
}

void DocumentForm::showList(int index) {
    QScopedValueRollback<bool> selecting(selectingByProgram_, true);
    stop();
    model_->reread();
    const int count = model_->rowCount();
    const int row = std::min(index, count - 1);
    if (row >= 0) {
        selectRows(row, row, row);
    } else {
        list_->selectionModel()->clear();
    }
    makeCurrent(row);
}

void DocumentForm::scheduleTick() {
    const std::optional<std::uint32_t> untilTick = runner_.millisecondsUntilTick();
    if (untilTick) {
        tickTimer_.start(static_cast<int>(std::min<std::uint32_t>(*untilTick, 1000)));
    } else {
        tickTimer_.stop();
    }
}

void DocumentForm::tick() {
    runner_.tick();
    scheduleTick();
}

void DocumentForm::setModified() {
    document_.setModifiedFlag(true);
}

// -------- the list --------

void DocumentForm::selectRows(int first, int last, int focus) {
    QScopedValueRollback<bool> selecting(selectingByProgram_, true);
    QItemSelectionModel* selection = list_->selectionModel();
    selection->select(QItemSelection(model_->index(first, 0),
                                     model_->index(last, CommandListModel::ColumnCount - 1)),
                      QItemSelectionModel::ClearAndSelect);
    selection->setCurrentIndex(model_->index(focus, 0), QItemSelectionModel::NoUpdate);
    list_->scrollTo(model_->index(focus, 0));
}

void DocumentForm::focusMovedByUser(int row) {
    stopAndKillPlayers();
    runner_.loadAndExecute(row);
    updateButtons();
}

void DocumentForm::renamed(int /*row*/) {
    stop();
    setModified();
}

// -------- the buttons --------

void DocumentForm::runOrStop() {
    runner_.runOrStop(focusedRow());
    scheduleTick();
    updateButtons();
}

void DocumentForm::navigate(Navigation to, bool run) {
    runner_.navigate(to, focusedRow(), run);
    scheduleTick();
    updateButtons();
}

void DocumentForm::reloadClicked() {
    stop();
    Command* command = document_.commands().at(static_cast<std::size_t>(current_));
    if (current_ < 0 || command == nullptr || !backup_) {
        return;
    }
    if (!command->copyFrom(*backup_)) {
        current_ = -1;
        backup_.reset();
        changedSinceLoaded_ = false;
        updateButtons();
        return;
    }
    model_->rowChanged(current_);
    runner_.loadAndExecute(current_);
}

void DocumentForm::newClicked() {
    stop();
    createCommand(0.0);
    setModified();
}

void DocumentForm::insertClicked() {
    QScopedValueRollback<bool> selecting(selectingByProgram_, true);
    const std::optional<QStringList> chosen = filePrompt_.prompt(
        QString(), FilePrompt::Mode::OpenExistingFile, SequenceFormText::insertTitle());
    if (!chosen || chosen->isEmpty()) {
        return;
    }
    stop();
    const QList<int> selected = selectedRows();
    const int position = selected.isEmpty() ? model_->rowCount() : selected.last() + 1;
    const int focused = focusedRow();
    std::size_t read = 0;
    model_->rewrite([&](NodeList<Command>& commands) {
        readCommands(commands, static_cast<std::size_t>(position), chosen->first(), prompt_, &read);
    });
    const int inserted = balanceBrackets(position, static_cast<int>(read));
    if (inserted > 0) {
        refresh(position, position + inserted - 1, false);
    } else {
        refresh(std::max(focused, 0), -1, false);
    }
    setModified();
}

int DocumentForm::balanceBrackets(int position, int count) {
    int marks = 0;
    int repeats = 0;
    for (int row = position; row < position + count; ++row) {
        const CommandKeyword keyword =
            document_.commands().at(static_cast<std::size_t>(row))->keyword();
        marks += keyword == Keyword::Mark ? 1 : 0;
        repeats += keyword == Keyword::Repeat ? 1 : 0;
    }
    // Surplus MARKs go, from the first inserted row on.
    for (int row = position, surplus = marks - repeats; surplus > 0 && row < position + count;) {
        if (document_.commands().at(static_cast<std::size_t>(row))->keyword() == Keyword::Mark) {
            model_->remove(row);
            --count;
            --surplus;
        } else {
            ++row;
        }
    }
    // Missing MARKs open their brackets before the inserted commands.
    for (int missing = repeats - marks; missing > 0; --missing) {
        auto mark = std::unique_ptr<Command>(new (std::nothrow) Command);
        if (!mark) {
            prompt_.showWarning(SequenceFormText::createFailed());
            break;
        }
        mark->setKeyword(Keyword::Mark);
        model_->insert(position, std::move(mark));
        ++count;
    }
    return count;
}

void DocumentForm::deleteClicked() {
    QScopedValueRollback<bool> selecting(selectingByProgram_, true);
    stop();
    const QList<int> rows = selectedRows();
    if (rows.isEmpty()) {
        return;
    }
    int current = current_;
    bool currentDeleted = false;
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
        model_->remove(*row);
        if (*row == current) {
            // The command that takes its place, or the one before when it was the last.
            current = std::min(current, model_->rowCount() - 1);
            currentDeleted = true;
        } else if (*row < current) {
            --current;
        }
    }
    if (currentDeleted) {
        runner_.loadAndExecute(current);
    } else {
        current_ = current;
    }
    if (current >= 0) {
        selectRows(current, current, current);
    }
    setModified();
    updateButtons();
}

void DocumentForm::moveUpClicked() {
    const QList<int> rows = selectedRows();
    if (!rows.isEmpty() && rows.first() > 0) {
        moveRows(rows, rows.first() - 1);
    }
}

void DocumentForm::moveDownClicked() {
    const QList<int> rows = selectedRows();
    if (!rows.isEmpty() && rows.last() < model_->rowCount() - 1) {
        moveRows(rows, rows.last() + 2 - static_cast<int>(rows.size()));
    }
}

void DocumentForm::rowsDropped(const QList<int>& rows, int destination) {
    const auto before = std::count_if(rows.begin(), rows.end(),
                                      [destination](int row) { return row < destination; });
    moveRows(rows, destination - static_cast<int>(before));
}

void DocumentForm::moveRows(const QList<int>& rows, int blockStart) {
    QScopedValueRollback<bool> selecting(selectingByProgram_, true);
    stop();
    NodeList<Command>& commands = document_.commands();
    const Command* current = commands.at(static_cast<std::size_t>(current_));
    const Command* focused = commands.at(static_cast<std::size_t>(focusedRow()));
    model_->rewrite([&](NodeList<Command>& list) {
        NodeList<Command> block;
        for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
            block.insert(0, list.detachRun(static_cast<std::size_t>(*row), 1));
        }
        list.insert(static_cast<std::size_t>(blockStart), std::move(block));
    });
    const auto indexOf = [&commands](const Command* command) {
        const auto index = command ? commands.indexOf(*command) : std::nullopt;
        return index ? static_cast<int>(*index) : -1;
    };
    if (current_ >= 0) {
        current_ = indexOf(current);
    }
    const int focus = indexOf(focused);
    const int last = blockStart + static_cast<int>(rows.size()) - 1;
    selectRows(blockStart, last, focus >= 0 ? focus : blockStart);
    setModified();
    updateButtons();
}

}  // namespace rova
