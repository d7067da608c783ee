#pragma once

#include <QLabel>
#include <QMenu>
#include <QTimer>
#include <QToolBar>
#include <memory>

#include "ActionTable.h"
#include "EditCommands.h"
#include "FormattingCommands.h"
#include "XMainFrame.h"

namespace rova {

class Document;
class DocumentForm;
class FilePrompt;
class ParameterForm;
class PreviewSplitter;
class PreviewWnd;
class QuestionPrompt;
class SequenceFormLink;
class SettingsStore;
class XSplitterStatic;

// The application's only top-level window: the menus, the toolbar, the status bar and three
// panes stacked from top to bottom (the parameter form, the preview splitter and the sequence
// form). It owns the command table; the commands that concern its panes, the preview and the
// sequence are handled here, the others by the application and the document.
class MainFrame final : public XMainFrame {
    Q_OBJECT

  public:
    // The rows of the pane splitter.
    enum Row { ParameterRow = 0, PreviewRow = 1, SequenceRow = 2 };
    // The status bar panes after the message pane.
    enum class StatusPane { Players = 0, Commands = 1, Documents = 2 };

    MainFrame(SettingsStore& settings, Document& document, QuestionPrompt& prompt,
              const QString& ownPresetsPath, const QString& presetsToLoad);
    ~MainFrame() override;

    ActionTable& actions() { return actions_; }
    ParameterForm& parameterForm() { return *parameterForm_; }
    DocumentForm& sequenceForm() { return *sequenceForm_; }
    PreviewWnd& preview();
    XSplitterStatic& panes() { return *panes_; }

    void setStatusPaneText(StatusPane pane, const QString& text);
    // The window title: "Rova - " and the document's title.
    void showTitle(const QString& documentTitle);

    // Enables and checks the commands and fills the status panes, as when the window is idle.
    void refresh();

    bool isRowVisible(Row row) const;
    void showParameterPane();
    void showSequencePane();
    void showPreviewOnly();
    void toggleParameters();
    void toggleSequence();
    void hideAll();

    // The recent-file list's entries, shown on the File menu above Exit.
    void setRecentFiles(const QStringList& paths);

    void startPickupTimer();
    void stopPickupTimer();
    bool isPickupTimerActive() const { return pickupTimer_.isActive(); }

  signals:
    // Every second while the pickup timer runs.
    void pickupTimerFired();
    // The window is idle: the application refreshes its status panes.
    void idle();
    void recentFileChosen(const QString& path);
    void filesDropped(const QStringList& paths);
    // The sequence form found no runnable command left: the playlist moves on.
    void sequenceEnded();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void createMenus();
    void createToolBar();
    void createPanes(SettingsStore& settings, QuestionPrompt& prompt, const QString& ownPresetsPath,
                     const QString& presetsToLoad);
    void registerHandlers();
    void registerSequenceHandlers();
    void registerParameterHandlers();
    void registerFormattingHandlers();
    void performFormatting(FormattingCommand command);
    bool showsPicture() const;
    bool clipboardCommandEnabled(EditCommand command) const;
    void performClipboardCommand(EditCommand command);
    void registerViewHandlers();
    void registerEditHandlers();
    void showRow(Row row);
    void hideRow(Row row, Row activate);
    void switchPane(int step);
    void chooseBackground();

    Document& document_;
    QuestionPrompt& prompt_;
    ActionTable actions_;
    QToolBar* toolBar_ = nullptr;
    XSplitterStatic* panes_ = nullptr;
    PreviewSplitter* previewSplitter_ = nullptr;
    std::unique_ptr<SequenceFormLink> sequenceFormLink_;
    ParameterForm* parameterForm_ = nullptr;
    DocumentForm* sequenceForm_ = nullptr;
    std::unique_ptr<FilePrompt> backgroundPrompt_;
    QList<QLabel*> statusPanes_;
    QMenu* fileMenu_ = nullptr;
    QList<QAction*> recentActions_;
    QTimer pickupTimer_;
    QTimer idleTimer_;
};

}  // namespace rova
