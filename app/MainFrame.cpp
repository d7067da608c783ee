#include "MainFrame.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>

#include "Document.h"
#include "DocumentForm.h"
#include "EditCommands.h"
#include "FilePrompt.h"
#include "FontChoice.h"
#include "MainFrameText.h"
#include "ParameterForm.h"
#include "ParameterFormText.h"
#include "PictureEditor.h"
#include "PreviewSplitter.h"
#include "PreviewWnd.h"
#include "RainbowDialog.h"
#include "RecentFileList.h"
#include "RichTextControl.h"
#include "SequenceFormLink.h"
#include "SettingsStore.h"
#include "XSplitterStatic.h"

namespace rova {

namespace {

// How often the command states and status panes are refreshed while nothing else happens.
constexpr int kIdleUpdateMs = 250;
constexpr int kPickupIntervalMs = 1000;

}  // namespace

MainFrame::MainFrame(SettingsStore& settings, Document& document, QuestionPrompt& prompt,
                     const QString& ownPresetsPath, const QString& presetsToLoad)
    : XMainFrame(settings), document_(document), prompt_(prompt) {
    setWindowIcon(QIcon(QStringLiteral(":/icons/rova.svg")));
    setAcceptDrops(true);
    createMenus();
    createToolBar();
    statusPanes_ = createStatusBar(MainFrameText::statusPaneTemplates());
    const QStringList paneNames = MainFrameText::statusPaneNames();
    for (int i = 0; i < statusPanes_.size(); ++i) {
        statusPanes_[i]->setAccessibleName(paneNames[i]);
    }
    createPanes(settings, prompt, ownPresetsPath, presetsToLoad);
    registerHandlers();

    pickupTimer_.setInterval(kPickupIntervalMs);
    connect(&pickupTimer_, &QTimer::timeout, this, &MainFrame::pickupTimerFired);
    idleTimer_.setInterval(kIdleUpdateMs);
    connect(&idleTimer_, &QTimer::timeout, this, &MainFrame::refresh);
    idleTimer_.start();
}

MainFrame::~MainFrame() {
    // The sequence form executes through the parameter form: it goes first.
    sequenceFormLink_->setTarget(nullptr);
    delete sequenceForm_;
    delete parameterForm_;
}

PreviewWnd& MainFrame::preview() {
    return previewSplitter_->preview();
}

void MainFrame::createMenus() {
    for (const MenuInfo& menuInfo : ActionCatalogue::menus()) {
        QMenu* menu = menuBar()->addMenu(menuInfo.title);
        if (!fileMenu_) {
            fileMenu_ = menu;
        }
        for (const ActionId id : menuInfo.items) {
            if (id == ActionId{0}) {
                menu->addSeparator();
            } else {
                menu->addAction(actions_.action(id));
            }
        }
        // Enable and check the items from their handlers just before the menu shows.
        connect(menu, &QMenu::aboutToShow, &actions_, &ActionTable::update);
    }
    // Actions that are on no menu still need the window for their shortcuts.
    for (const ActionInfo& info : ActionCatalogue::actions()) {
        addAction(actions_.action(info.id));
    }
}

void MainFrame::createToolBar() {
    toolBar_ = addToolBar(MainFrameText::toolBarTitle());
    toolBar_->setObjectName(QStringLiteral("MainToolBar"));
    toolBar_->setAccessibleName(MainFrameText::toolBarTitle());
    toolBar_->setIconSize(QSize(16, 15));
    for (const ActionId id : ActionCatalogue::toolbar()) {
        if (id == ActionId{0}) {
            toolBar_->addSeparator();
        } else {
            toolBar_->addAction(actions_.action(id));
        }
    }
    toolBar_->setVisible(settings().getSettingInt(QStringLiteral("ToolbarVisible"), 1) != 0);
}

void MainFrame::createPanes(SettingsStore& settings, QuestionPrompt& prompt,
                            const QString& ownPresetsPath, const QString& presetsToLoad) {
    panes_ = new XSplitterStatic(Qt::Vertical);
    previewSplitter_ = new PreviewSplitter(settings);
    sequenceFormLink_ = std::make_unique<SequenceFormLink>();
    parameterForm_ = new ParameterForm(preview().simulator(), prompt, *sequenceFormLink_,
                                       ownPresetsPath, presetsToLoad);
    sequenceForm_ = new DocumentForm(document_, preview().simulator().frameClock(),
                                     parameterForm_->controller(), prompt);
    sequenceFormLink_->setTarget(sequenceForm_);
    connect(parameterForm_, &ParameterForm::statusMessage, this,
            [this](const QString& text) { statusBar()->showMessage(text); });
    connect(sequenceForm_, &DocumentForm::ended, this, &MainFrame::sequenceEnded);

    panes_->addPane(parameterForm_);
    panes_->addPane(previewSplitter_);
    panes_->addPane(sequenceForm_);
    // The forms keep their heights when the window is resized; the preview takes the change.
    panes_->setFixed(ParameterRow, true);
    panes_->setFixed(SequenceRow, true);
    panes_->setPaneSize(ParameterRow, panes_->naturalSize(ParameterRow), false);
    panes_->setPaneSize(SequenceRow, 0, false);
    setCentralWidget(panes_);
}

void MainFrame::registerHandlers() {
    registerSequenceHandlers();
    registerParameterHandlers();
    registerFormattingHandlers();
    registerViewHandlers();
    registerEditHandlers();
    actions_.setHandler(ActionId::FileExit, {[this] { close(); }, {}, {}});
    actions_.setHandler(ActionId::FileSave,
                        {[this] { document_.save(); }, [this] { return document_.canSave(); }, {}});
    actions_.setHandler(ActionId::FileSaveAs, {[this] { document_.saveAs(); }, {}, {}});
    actions_.setHandler(
        ActionId::FileRevert,
        {[this] { document_.revert(); }, [this] { return document_.canRevert(); }, {}});
}

void MainFrame::registerSequenceHandlers() {
    DocumentForm& form = *sequenceForm_;
    const auto hasCommands = [this] { return !document_.commands().empty(); };
    const auto navigation = [&](ActionId id, Navigation to, bool run) {
        actions_.setHandler(id, {[&form, to, run] { form.navigate(to, run); }, hasCommands, {}});
    };
    actions_.setHandler(ActionId::RunStop, {[&form] { form.runOrStop(); }, hasCommands,
                                            [&form] { return form.isRunning(); }});
    navigation(ActionId::TopCommand, Navigation::Top, false);
    navigation(ActionId::RewindCommand, Navigation::Rewind, false);
    navigation(ActionId::PreviousCommand, Navigation::Previous, false);
    navigation(ActionId::NextCommand, Navigation::Next, false);
    navigation(ActionId::RunFromTop, Navigation::Top, true);
    navigation(ActionId::RunFromRewind, Navigation::Rewind, true);
    navigation(ActionId::RunFromPrevious, Navigation::Previous, true);
    navigation(ActionId::RunFromNext, Navigation::Next, true);
    actions_.setHandler(ActionId::KillTopPlayer, {[this, &form] {
                                                      form.stop();
                                                      preview().simulator().killTopPlayer(true);
                                                  },
                                                  {},
                                                  {}});
    actions_.setHandler(ActionId::KillAllPlayers, {[&form] { form.stopAndKillPlayers(); }, {}, {}});
}

void MainFrame::registerParameterHandlers() {
    ParameterForm& form = *parameterForm_;
    ParameterFormController& controller = form.controller();
    actions_.setHandler(ActionId::ResetTopPlayer, {[this, &controller] {
                                                       sequenceForm_->stop();
                                                       controller.applyToTopPlayer(true, true);
                                                   },
                                                   {},
                                                   {}});
    actions_.setHandler(
        ActionId::DefaultParameters,
        {[&controller] { controller.resetWithPreset(preset_name::kStatic); }, {}, {}});
    actions_.setHandler(ActionId::AutoUpdate,
                        {[&controller] { controller.setAutoUpdate(!controller.autoUpdate()); },
                         {},
                         [&controller] { return controller.autoUpdate(); }});
    actions_.setHandler(ActionId::EnablePresetEditing,
                        {[&form] { form.setPresetEditing(!form.presetEditing()); },
                         {},
                         [&form] { return form.presetEditing(); }});
}

// Bold to White act on the parameter form's content; Font... and Rainbow... open their
// dialogs on the text.
void MainFrame::registerFormattingHandlers() {
    for (const ActionInfo& info : ActionCatalogue::actions()) {
        const std::optional<FormattingCommand> command =
            formattingCommand(static_cast<int>(info.id));
        if (!command) {
            continue;
        }
        const FormattingCommand formatting = *command;
        actions_.setHandler(info.id, {[this, formatting] { performFormatting(formatting); },
                                      [this, formatting] {
                                          return formattingCommandState(
                                                     formatting, parameterForm_->formattingTarget())
                                              .enabled;
                                      },
                                      [this, formatting] {
                                          return formattingCommandState(
                                                     formatting, parameterForm_->formattingTarget())
                                              .checked;
                                      }});
    }
}

void MainFrame::performFormatting(FormattingCommand command) {
    RichTextDocument& text = parameterForm_->textEditor().text();
    if (command == FormattingCommand::Font) {
        chooseFont(text, this);
    } else if (command == FormattingCommand::Rainbow) {
        RainbowDialog dialog(settings(), text, this);
        dialog.exec();
    } else {
        performFormattingCommand(command, parameterForm_->formattingTarget());
    }
}

void MainFrame::registerViewHandlers() {
    actions_.setHandler(
        ActionId::ViewParameters,
        {[this] { toggleParameters(); }, {}, [this] { return isRowVisible(ParameterRow); }});
    actions_.setHandler(
        ActionId::ViewSequence,
        {[this] { toggleSequence(); }, {}, [this] { return isRowVisible(SequenceRow); }});
    actions_.setHandler(ActionId::ViewHideAll, {[this] { hideAll(); }, {}, {}});
    actions_.setHandler(ActionId::ViewMetrics,
                        {[this] { previewSplitter_->toggleMetrics(); },
                         {},
                         [this] { return previewSplitter_->isMetricsVisible(); }});
    actions_.setHandler(ActionId::ViewPreview,
                        {[this] { preview().togglePreview(); },
                         {},
                         [this] { return preview().simulator().previewEnabled(); }});
    actions_.setHandler(ActionId::ViewBackground,
                        {[this] { preview().toggleBackground(); },
                         {},
                         [this] { return preview().simulator().backgroundViewed(); }});
    actions_.setHandler(ActionId::ChooseBackground, {[this] { chooseBackground(); }, {}, {}});
    actions_.setHandler(ActionId::ViewToolbar,
                        {[this] { toolBar_->setVisible(!toolBar_->isVisible()); },
                         {},
                         [this] { return toolBar_->isVisible(); }});
    actions_.setHandler(ActionId::ViewStatusBar,
                        {[this] { statusBar()->setVisible(!statusBar()->isVisible()); },
                         {},
                         [this] { return statusBar()->isVisible(); }});
    actions_.setHandler(ActionId::NextPane, {[this] { switchPane(1); }, {}, {}});
    actions_.setHandler(ActionId::PreviousPane, {[this] { switchPane(-1); }, {}, {}});
}

// Undo and Select All act on the focused text field. Cut, Copy and Paste do too, and without
// a focused text field on the form's picture while it shows one.
void MainFrame::registerEditHandlers() {
    for (const auto& [id, command] : {std::pair{ActionId::EditUndo, EditCommand::Undo},
                                      std::pair{ActionId::EditSelectAll, EditCommand::SelectAll}}) {
        const EditCommand edit = command;  // a lambda cannot capture a structured binding here
        actions_.setHandler(id, {[edit] { perform(edit, QApplication::focusWidget()); },
                                 [edit] { return enabled(edit, QApplication::focusWidget()); },
                                 {}});
    }
    for (const auto& [id, command] : {std::pair{ActionId::EditCut, EditCommand::Cut},
                                      std::pair{ActionId::EditCopy, EditCommand::Copy},
                                      std::pair{ActionId::EditPaste, EditCommand::Paste}}) {
        const EditCommand edit = command;
        actions_.setHandler(id, {[this, edit] { performClipboardCommand(edit); },
                                 [this, edit] { return clipboardCommandEnabled(edit); },
                                 {}});
    }
}

bool MainFrame::showsPicture() const {
    return parameterForm_->controller().contentKind() == content_kind::Picture;
}

bool MainFrame::clipboardCommandEnabled(EditCommand command) const {
    QWidget* focused = QApplication::focusWidget();
    if (isTextField(focused)) {
        return enabled(command, focused);
    }
    return showsPicture() &&
           (command != EditCommand::Paste || parameterForm_->pictureEditor().canPaste());
}

void MainFrame::performClipboardCommand(EditCommand command) {
    QWidget* focused = QApplication::focusWidget();
    if (isTextField(focused)) {
        perform(command, focused);
        return;
    }
    if (!clipboardCommandEnabled(command)) {
        return;
    }
    PictureEditor& picture = parameterForm_->pictureEditor();
    if (command == EditCommand::Cut) {
        picture.cut();
    } else if (command == EditCommand::Copy) {
        picture.copy();
    } else {
        picture.paste();
    }
}

void MainFrame::setStatusPaneText(StatusPane pane, const QString& text) {
    statusPanes_[static_cast<int>(pane)]->setText(text);
}

void MainFrame::showTitle(const QString& documentTitle) {
    setWindowTitle(MainFrameText::windowTitle(documentTitle));
}

bool MainFrame::isRowVisible(Row row) const {
    return panes_->paneSize(row) > 0;
}

void MainFrame::showRow(Row row) {
    if (!isRowVisible(row)) {
        panes_->setPaneSize(row, panes_->naturalSize(row), true);
    }
    panes_->activatePane(row);
}

void MainFrame::hideRow(Row row, Row activate) {
    panes_->setPaneSize(row, 0, true);
    panes_->activatePane(activate);
}

void MainFrame::showParameterPane() {
    showRow(ParameterRow);
}
void MainFrame::showSequencePane() {
    showRow(SequenceRow);
}

void MainFrame::showPreviewOnly() {
    panes_->setPaneSize(ParameterRow, 0, true);
    panes_->setPaneSize(SequenceRow, 0, true);
    previewSplitter_->hideMetrics();
    panes_->activatePane(PreviewRow);
}

void MainFrame::toggleParameters() {
    if (isRowVisible(ParameterRow)) {
        hideRow(ParameterRow, SequenceRow);
    } else {
        showParameterPane();
    }
}

void MainFrame::toggleSequence() {
    if (isRowVisible(SequenceRow)) {
        hideRow(SequenceRow, ParameterRow);
    } else {
        showSequencePane();
    }
}

void MainFrame::hideAll() {
    previewSplitter_->hideMetrics();
    panes_->setPaneSize(ParameterRow, 0, true);
    panes_->setPaneSize(SequenceRow, 0, true);
}

// F6 and Shift+F6: the focus moves to the next or previous visible pane.
void MainFrame::switchPane(int step) {
    QList<QWidget*> visible;
    for (QWidget* pane : {panes_->widget(ParameterRow), &previewSplitter_->metrics(),
                          static_cast<QWidget*>(&preview()), panes_->widget(SequenceRow)}) {
        if (pane->isVisible() && pane->width() > 0 && pane->height() > 0) {
            visible.append(pane);
        }
    }
    if (visible.isEmpty()) {
        return;
    }
    qsizetype current = 0;
    for (qsizetype i = 0; i < visible.size(); ++i) {
        if (visible[i]->isAncestorOf(QApplication::focusWidget()) ||
            visible[i] == QApplication::focusWidget()) {
            current = i;
        }
    }
    const qsizetype count = visible.size();
    visible[((current + step) % count + count) % count]->setFocus(Qt::OtherFocusReason);
}

void MainFrame::chooseBackground() {
    if (!backgroundPrompt_) {
        backgroundPrompt_ =
            std::make_unique<FilePrompt>(MainFrameText::bitmapFilter(), false, QString(), prompt_);
    }
    const std::optional<QStringList> chosen = backgroundPrompt_->prompt(
        preview().simulator().backgroundPath(), FilePrompt::Mode::OpenExistingFile,
        MainFrameText::chooseBackgroundTitle());
    if (chosen) {
        preview().chooseBackground(chosen->front());
    }
}

void MainFrame::setRecentFiles(const QStringList& paths) {
    qDeleteAll(recentActions_);
    recentActions_.clear();
    QAction* exit = actions_.action(ActionId::FileExit);
    const QStringList names = RecentFileList::displayNames(paths, QDir::homePath());
    for (qsizetype i = 0; i < paths.size(); ++i) {
        auto* action = new QAction(MainFrameText::recentFileItem(static_cast<int>(i) + 1, names[i]),
                                   fileMenu_);
        const QString path = paths[i];
        action->setStatusTip(path);
        connect(action, &QAction::triggered, this, [this, path] { emit recentFileChosen(path); });
        fileMenu_->insertAction(exit, action);
        recentActions_.append(action);
    }
    if (!paths.isEmpty()) {
        recentActions_.append(fileMenu_->insertSeparator(exit));
    }
}

void MainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
    }
}

void MainFrame::dropEvent(QDropEvent* event) {
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) {
            paths.append(url.toLocalFile());
        }
    }
    if (!paths.isEmpty()) {
        event->acceptProposedAction();
        emit filesDropped(paths);
    }
}

void MainFrame::startPickupTimer() {
    pickupTimer_.start();
}
void MainFrame::stopPickupTimer() {
    pickupTimer_.stop();
}

void MainFrame::refresh() {
    actions_.update();
    setStatusPaneText(
        StatusPane::Players,
        MainFrameText::playersPane(static_cast<int>(preview().simulator().playerCount())));
    setStatusPaneText(StatusPane::Commands,
                      MainFrameText::commandsPane(static_cast<int>(document_.commands().size()),
                                                  sequenceForm_->currentIndex() + 1));
    emit idle();
}

void MainFrame::closeEvent(QCloseEvent* event) {
    if (!document_.saveModified()) {
        event->ignore();
        return;
    }
    sequenceForm_->stop();
    idleTimer_.stop();
    pickupTimer_.stop();
    savePlacement();
    settings().setSettingInt(QStringLiteral("ToolbarVisible"), toolBar_->isVisible() ? 1 : 0);
    event->accept();
}

}  // namespace rova
