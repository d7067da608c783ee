#pragma once

#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QStatusBar>
#include <QStringList>

class QLabel;

namespace rova {

class SettingsStore;

// The application's main window base: a status bar of a stretching message pane and fixed
// panes, and the window's placement, maximised state and status-bar visibility kept in the
// settings.
class XMainFrame : public QMainWindow {
    Q_OBJECT

  public:
    explicit XMainFrame(SettingsStore& settings, QWidget* parent = nullptr);

    // Creates the status bar: the message pane, showing "Ready", then one fixed pane per text,
    // each as wide as its text needs. The bar is visible unless "StatusBarVisible" is 0.
    // Returns the labels of the fixed panes, in order, for their owners to fill.
    QList<QLabel*> createStatusBar(const QStringList& paneTexts);

    // Saves the placement under "Main" and whether the window is maximised and the status bar
    // visible.
    void savePlacement();
    // Places the window as saved under "Main"; returns whether it should show maximised.
    bool restorePlacement(bool defaultMaximized);
    // Restores the state, then shows the window maximised or normally.
    void showRestored(bool defaultMaximized = true);

  protected:
    SettingsStore& settings() const { return settings_; }

  private:
    SettingsStore& settings_;
    // The bar made by createStatusBar(); none before, or once something replaced it.
    QPointer<QStatusBar> statusBar_;
};

}  // namespace rova
