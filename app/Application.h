#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <memory>
#include <random>

#include "AppFlags.h"
#include "Clock.h"
#include "Document.h"
#include "DocumentList.h"
#include "DocumentListHost.h"
#include "FilePrompt.h"
#include "RecentFileList.h"

namespace rova {

class InstanceServer;
class MainFrame;
class PickupScan;
class QuestionPrompt;
class SettingsStore;

// Where the application finds its files.
struct ApplicationPaths {
    QString demo;            // the shipped demo sequence
    QString shippedPresets;  // the shipped presets, used while the user has none
    QString ownPresets;      // the user's presets
    QString pickedUpFolder;  // where picked-up files are moved, ending with "/"

    // The shipped files next to the executable, or in the installation's "share/rova"; the
    // user's own files in the per-user data folder.
    static ApplicationPaths standard();
};

// The root of the program: it owns the document, the playlist and the main window, starts them
// in order, and handles the commands of the File menu's list, Auto Run, Run Demo and About, and
// the pickup folder.
class Application final : private DocumentHost, private DocumentListHost {
  public:
    // `showDialog` shows the Open and Save As dialogs (Qt's file dialog when empty).
    Application(SettingsStore& settings, QuestionPrompt& prompt, ApplicationPaths paths,
                FilePrompt::ShowDialog showDialog = {});
    ~Application() override;

    // Start-up: opens the file named (through the playlist) or, without one, the demo quietly;
    // then shows the main window. False when the named file cannot be opened.
    bool start(const QStringList& files);

    Document& document() { return document_; }
    DocumentList& documentList() { return list_; }
    // The main window; null before start().
    MainFrame* mainFrame() { return frame_.get(); }

    // Opens one file as the recent-file list and dropped files do.
    bool openByPath(const QString& path);
    // Queues the files together in the document list, as File Open does with what its dialog
    // returned and the command line with the files it names, and opens the head. False when
    // nothing was opened; a named file that is missing leaves the recent files.
    bool openPaths(const QStringList& paths);
    // Files a later start of the program handed over: queued as File Open queues what its
    // dialog returned, as soon as no dialog or question is waiting, and the window comes to the
    // front. After start().
    void openHandedOver(const QStringList& paths);
    // Takes the files `server` receives from now on; after start().
    void receiveHandOvers(InstanceServer& server);
    bool runDemo(bool quiet);
    void newDocument();
    void togglePickup();
    void setPickupFolder(const QString& folder);
    // One tick of the pickup timer.
    void scanPickupFolder();

  private:
    // DocumentHost
    bool windowExists() const override { return frame_ != nullptr; }
    void stopSequenceAndKillPlayers() override;
    void sequenceReplaced(bool keepCurrentIndex) override;
    std::unique_ptr<Command> commandFromTextFile(const QString& path) override;
    void commandAdded(int index) override;
    void prepareForSave() override;
    std::unique_ptr<Command> commandFromParameters() override;
    void showSequencePane() override;
    void titleChanged() override;
    std::optional<QString> chooseSavePath(const QString& proposed) override;
    void addRecentFile(const QString& path) override;
    // DocumentListHost
    bool openFromList(const QString& path) override;
    QString openDocumentPath() const override { return document_.pathName(); }
    void newDocumentFromList() override;

    void createMainFrame();
    void registerHandlers();
    // After a document was opened or created: the sequence starts, with Auto Run from the top.
    void beginDocument();
    void chooseFiles();
    void choosePickupFolder();
    void showAbout();
    void updateDocumentsPane();
    void openHandedOverWhenFree();
    void bringToFront();

    SettingsStore& settings_;
    QuestionPrompt& prompt_;
    ApplicationPaths paths_;
    AppFlags flags_;
    SteadyClock clock_;
    std::mt19937 random_;
    Document document_;
    DocumentList list_;
    RecentFileList recentFiles_;
    QString pickupFolder_;
    std::unique_ptr<PickupScan> pickupScan_;
    FilePrompt::ShowDialog showDialog_;
    std::unique_ptr<FilePrompt> openPrompt_;
    std::unique_ptr<FilePrompt> savePrompt_;
    std::unique_ptr<MainFrame> frame_;
    QList<QStringList> handedOver_;  // each hand-over's files, waiting to be opened together
    bool handOverRetryPending_ = false;
};

}  // namespace rova
