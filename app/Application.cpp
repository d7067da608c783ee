#include "Application.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>

#include "DocumentForm.h"
#include "FilePaths.h"
#include "FilePrompt.h"
#include "MainFrame.h"
#include "MainFrameText.h"
#include "ParameterForm.h"
#include "PickupFolderDialog.h"
#include "PickupScan.h"
#include "SettingsStore.h"
#include "SingleInstance.h"
#include "TextFileSequence.h"

namespace rova {

namespace {

const QString kPickupFolderKey = QStringLiteral("Pickup Folder");
const QString kSequenceFilter = QStringLiteral("Rova Files (*.rova)|*.rova|");
// How often files handed over while a dialog is up look again whether it has gone.
constexpr int kHandOverRetryMs = 250;

QString shippedFile(const QString& name) {
    const QDir here(QCoreApplication::applicationDirPath());
    const QString beside = here.filePath(name);
    const QString installed = here.filePath(QStringLiteral("../share/rova/") + name);
    return QFileInfo::exists(beside) || !QFileInfo::exists(installed) ? beside
                                                                      : QDir::cleanPath(installed);
}

}  // namespace

ApplicationPaths ApplicationPaths::standard() {
    const QDir data(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    return {shippedFile(QStringLiteral("Demo.rova")), shippedFile(QStringLiteral("Presets.rova")),
            data.filePath(QStringLiteral("Presets.rova")),
            data.filePath(QStringLiteral("PickedUpDocuments/"))};
}

Application::Application(SettingsStore& settings, QuestionPrompt& prompt, ApplicationPaths paths,
                         FilePrompt::ShowDialog showDialog)
    : settings_(settings),
      prompt_(prompt),
      paths_(std::move(paths)),
      random_(std::random_device{}()),
      document_(prompt, *this),
      list_(*this, flags_, clock_, [this] { return static_cast<std::uint32_t>(random_()); }),
      showDialog_(std::move(showDialog)) {
    flags_.load(settings_);
    settings_.getSettingString(pickupFolder_, kPickupFolderKey, QString());
    recentFiles_.load(settings_);
}

Application::~Application() = default;

bool Application::start(const QStringList& files) {
    createMainFrame();
    // The start text is shown only when no document follows: neither files nor the demo.
    frame_->parameterForm().initialise(!files.isEmpty() || QFileInfo::exists(paths_.demo));
    titleChanged();
    if (files.isEmpty()) {
        if (!runDemo(true)) {
            beginDocument();
        }
    } else if (!openPaths(files)) {
        return false;
    }
    frame_->showRestored(true);
    if (flags_.has(AppFlag::Pickup)) {
        frame_->startPickupTimer();
    }
    return true;
}

void Application::createMainFrame() {
    const QString presetsToLoad =
        QFileInfo::exists(paths_.ownPresets) ? paths_.ownPresets : paths_.shippedPresets;
    frame_ = std::make_unique<MainFrame>(settings_, document_, prompt_, paths_.ownPresets,
                                         presetsToLoad);
    frame_->setRecentFiles(recentFiles_.entries());
    registerHandlers();
    QObject::connect(
        frame_.get(), &MainFrame::sequenceEnded, frame_.get(), [this] { list_.next(true); },
        Qt::QueuedConnection);
    QObject::connect(frame_.get(), &MainFrame::pickupTimerFired, frame_.get(),
                     [this] { scanPickupFolder(); });
    QObject::connect(frame_.get(), &MainFrame::idle, frame_.get(),
                     [this] { updateDocumentsPane(); });
    QObject::connect(frame_.get(), &MainFrame::recentFileChosen, frame_.get(),
                     [this](const QString& path) { openByPath(path); });
    QObject::connect(frame_.get(), &MainFrame::filesDropped, frame_.get(),
                     [this](const QStringList& paths) {
                         for (const QString& path : paths) {
                             openByPath(path);
                         }
                     });
}

void Application::registerHandlers() {
    ActionTable& commands = frame_->actions();
    const auto fromList = [this] { return list_.isCurrentFromList(); };
    const auto canNavigate = [this] { return list_.canNavigate(); };
    const auto toggle = [this](AppFlag flag) {
        return ActionHandler{[this, flag] { flags_.toggle(flag, settings_); },
                             {},
                             [this, flag] { return flags_.has(flag); }};
    };
    commands.setHandler(ActionId::FileNew, {[this] { newDocument(); }, {}, {}});
    commands.setHandler(ActionId::FileOpen, {[this] { chooseFiles(); }, {}, {}});
    commands.setHandler(ActionId::FilePrevious, {[this] { list_.previous(); }, canNavigate, {}});
    commands.setHandler(ActionId::FileNext, {[this] { list_.next(false); }, canNavigate, {}});
    commands.setHandler(ActionId::FileSinglePlay,
                        {[this] { list_.toggleSinglePlay(); }, fromList,
                         [this] { return list_.isCurrentFromList() && list_.headIsSinglePlay(); }});
    commands.setHandler(ActionId::FileRemove, {[this] { list_.remove(); }, fromList, {}});
    commands.setHandler(ActionId::FileRemoveAll, {[this] { list_.removeAll(); }, fromList, {}});
    commands.setHandler(ActionId::FileDelete, {[this] { list_.deleteOpenFile(); }, fromList, {}});
    commands.setHandler(ActionId::FileAdditiveOpen, toggle(AppFlag::AdditiveOpen));
    commands.setHandler(ActionId::FileRandomOrder, toggle(AppFlag::RandomOrder));
    commands.setHandler(ActionId::AutoRun, toggle(AppFlag::AutoRun));
    commands.setHandler(ActionId::FilePickup,
                        {[this] { togglePickup(); }, [this] { return !pickupFolder_.isEmpty(); },
                         [this] { return flags_.has(AppFlag::Pickup); }});
    commands.setHandler(ActionId::FilePickupFolder, {[this] { choosePickupFolder(); }, {}, {}});
    commands.setHandler(ActionId::RunDemo, {[this] { runDemo(false); }, {}, {}});
    commands.setHandler(ActionId::About, {[this] { showAbout(); }, {}, {}});
    commands.update();
}

// ---- opening documents ----

bool Application::openByPath(const QString& path) {
    return openPaths({path});
}

bool Application::openPaths(const QStringList& paths) {
    list_.beginOpen();
    for (const QString& path : paths) {
        list_.addPath(paths::qualify(path));
    }
    const bool opened = list_.endOpen();
    if (opened) {
        return true;
    }
    bool forgotten = false;
    for (const QString& path : paths) {
        if (!QFileInfo::exists(path)) {
            recentFiles_.remove(path);
            forgotten = true;
        }
    }
    if (forgotten) {
        recentFiles_.save(settings_);
        frame_->setRecentFiles(recentFiles_.entries());
    }
    return false;
}

void Application::openHandedOver(const QStringList& paths) {
    handedOver_.append(paths);
    bringToFront();
    openHandedOverWhenFree();
}

void Application::receiveHandOvers(InstanceServer& server) {
    QObject::connect(&server, &InstanceServer::filesHandedOver, frame_.get(),
                     [this](const QStringList& paths) { openHandedOver(paths); });
}

void Application::openHandedOverWhenFree() {
    // Files arrive whenever an event loop runs, also the one of a dialog or of a question the
    // opening of a document asks; the list is only changed from the main loop itself.
    const bool busy =
        QThread::currentThread()->loopLevel() > 1 || QApplication::activeModalWidget() != nullptr;
    if (busy) {
        if (!handOverRetryPending_) {
            handOverRetryPending_ = true;
            QTimer::singleShot(kHandOverRetryMs, frame_.get(), [this] {
                handOverRetryPending_ = false;
                openHandedOverWhenFree();
            });
        }
        return;
    }
    while (!handedOver_.isEmpty()) {
        const QStringList paths = handedOver_.takeFirst();
        if (!paths.isEmpty()) {
            openPaths(paths);
        }
    }
}

void Application::bringToFront() {
    frame_->setWindowState((frame_->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    frame_->show();
    frame_->raise();
    frame_->activateWindow();
}

void Application::chooseFiles() {
    if (!openPrompt_) {
        openPrompt_ = std::make_unique<FilePrompt>(MainFrameText::openFilter(), false, QString(),
                                                   prompt_, showDialog_);
    }
    const std::optional<QStringList> chosen =
        openPrompt_->prompt(QString(), FilePrompt::Mode::OpenMultiple, MainFrameText::openTitle());
    if (chosen) {
        openPaths(*chosen);
    }
}

bool Application::openFromList(const QString& path) {
    flags_.set(AppFlag::OpeningFromList, true);
    const Document::OpenResult result = document_.openFile(path);
    if (result == Document::OpenResult::Opened) {
        beginDocument();
    }
    flags_.set(AppFlag::OpeningFromList, false);
    const bool cameBack =
        result == Document::OpenResult::Opened || result == Document::OpenResult::AlreadyOpen;
    if (cameBack) {
        document_.confirmReopen();
    }
    return cameBack;
}

void Application::newDocumentFromList() {
    flags_.set(AppFlag::OpeningFromList, true);
    if (document_.newDocument()) {
        beginDocument();
    }
    flags_.set(AppFlag::OpeningFromList, false);
}

void Application::newDocument() {
    if (!document_.newDocument()) {
        return;
    }
    beginDocument();
    frame_->showParameterPane();
    list_.clearForNew();
}

void Application::beginDocument() {
    if (frame_) {
        frame_->sequenceForm().initialUpdate(flags_.has(AppFlag::OpeningFromList) &&
                                             flags_.has(AppFlag::AutoRun));
    }
}

bool Application::runDemo(bool quiet) {
    if (!QFileInfo::exists(paths_.demo)) {
        if (!quiet) {
            prompt_.showWarning(MainFrameText::demoMissing(paths_.demo));
        }
        return false;
    }
    list_.setCurrentFromList(false);
    if (openFromList(paths_.demo)) {
        document_.markAsDemo();
        frame_->showPreviewOnly();
        if (!flags_.has(AppFlag::AutoRun)) {
            frame_->sequenceForm().initialUpdate(true);
        }
    }
    return true;
}

// ---- the pickup folder ----

void Application::togglePickup() {
    flags_.toggle(AppFlag::Pickup, settings_);
    if (flags_.has(AppFlag::Pickup)) {
        frame_->startPickupTimer();
    } else {
        frame_->stopPickupTimer();
    }
}

void Application::setPickupFolder(const QString& folder) {
    pickupFolder_ = folder;
    settings_.setSettingString(kPickupFolderKey, folder);
    pickupScan_.reset();
}

void Application::choosePickupFolder() {
    PickupFolderDialog dialog(pickupFolder_, prompt_, frame_.get());
    if (dialog.exec() == QDialog::Accepted) {
        setPickupFolder(dialog.folder());
    }
}

void Application::scanPickupFolder() {
    if (pickupFolder_.isEmpty()) {
        return;
    }
    if (!pickupScan_) {
        pickupScan_ = std::make_unique<PickupScan>(pickupFolder_, paths_.pickedUpFolder);
    }
    std::vector<DocumentListEntry> pickedUp = pickupScan_->scan(clock_.nowMs());
    if (!pickedUp.empty()) {
        list_.mergePickedUp(std::move(pickedUp));
    }
}

// ---- what the document asks of the windows ----

void Application::stopSequenceAndKillPlayers() {
    frame_->sequenceForm().stopAndKillPlayers();
}

void Application::sequenceReplaced(bool keepCurrentIndex) {
    if (frame_) {
        DocumentForm& form = frame_->sequenceForm();
        form.showList(keepCurrentIndex ? form.currentIndex() : -1);
    }
}

std::unique_ptr<Command> Application::commandFromTextFile(const QString& path) {
    return sequenceFromTextFile(path, frame_->parameterForm().controller());
}

void Application::commandAdded(int index) {
    frame_->sequenceForm().showList(index);
}

std::unique_ptr<Command> Application::commandFromParameters() {
    return frame_->parameterForm().controller().commandFromParameters();
}

void Application::prepareForSave() {
    if (frame_) {
        frame_->sequenceForm().prepareForSave();
    }
}

void Application::showSequencePane() {
    if (frame_) {
        frame_->showSequencePane();
    }
}

void Application::titleChanged() {
    if (frame_) {
        frame_->showTitle(document_.title());
    }
}

std::optional<QString> Application::chooseSavePath(const QString& proposed) {
    if (!savePrompt_) {
        savePrompt_ =
            std::make_unique<FilePrompt>(kSequenceFilter, false, QString(), prompt_, showDialog_);
    }
    const std::optional<QStringList> chosen =
        savePrompt_->prompt(proposed, FilePrompt::Mode::Save, QString());
    if (!chosen) {
        return std::nullopt;
    }
    return chosen->front();
}

void Application::addRecentFile(const QString& path) {
    recentFiles_.add(path);
    recentFiles_.save(settings_);
    if (frame_) {
        frame_->setRecentFiles(recentFiles_.entries());
    }
}

// ---- the rest ----

void Application::showAbout() {
    QMessageBox::about(frame_.get(), MainFrameText::aboutTitle(),
                       MainFrameText::aboutText(QApplication::applicationVersion()));
}

void Application::updateDocumentsPane() {
    frame_->setStatusPaneText(MainFrame::StatusPane::Documents,
                              MainFrameText::documentsPane(list_.count(), list_.currentPosition()));
}

}  // namespace rova
