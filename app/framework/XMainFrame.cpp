#include "XMainFrame.h"

#include <QLabel>

#include "SettingsStore.h"
#include "WindowState.h"

namespace rova {

namespace {

const QString kMainKey = QStringLiteral("Main");
const QString kMaximizedKey = QStringLiteral("MainMaximized");
const QString kStatusBarVisibleKey = QStringLiteral("StatusBarVisible");

}  // namespace

XMainFrame::XMainFrame(SettingsStore& settings, QWidget* parent)
    : QMainWindow(parent), settings_(settings) {}

QList<QLabel*> XMainFrame::createStatusBar(const QStringList& paneTexts) {
    auto* bar = new QStatusBar(this);
    // Command prompts are shown as temporary messages, which cover this pane while they last.
    bar->addWidget(new QLabel(tr("Ready"), bar), 1);
    QList<QLabel*> panes;
    for (const QString& text : paneTexts) {
        auto* pane = new QLabel(text, bar);
        pane->setFixedWidth(pane->sizeHint().width());
        bar->addPermanentWidget(pane);
        panes.append(pane);
    }
    setStatusBar(bar);
    statusBar_ = bar;
    bar->setVisible(settings_.getSettingInt(kStatusBarVisibleKey, 1) != 0);
    return panes;
}

void XMainFrame::savePlacement() {
    saveWindowState(settings_, kMainKey, this);
    settings_.setSettingInt(kMaximizedKey, isMaximized() ? 1 : 0);
    settings_.setSettingInt(kStatusBarVisibleKey,
                            statusBar_ != nullptr && !statusBar_->isHidden() ? 1 : 0);
}

bool XMainFrame::restorePlacement(bool defaultMaximized) {
    restoreWindowState(settings_, kMainKey, this);
    return settings_.getSettingInt(kMaximizedKey, defaultMaximized ? 1 : 0) != 0;
}

void XMainFrame::showRestored(bool defaultMaximized) {
    if (restorePlacement(defaultMaximized)) {
        showMaximized();
    } else {
        show();
    }
}

}  // namespace rova
