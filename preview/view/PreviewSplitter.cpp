#include "PreviewSplitter.h"

#include "MetricsForm.h"
#include "PreviewWnd.h"

namespace rova {

PreviewSplitter::PreviewSplitter(SettingsStore& settings, QWidget* parent)
    : XSplitterStatic(Qt::Horizontal, parent) {
    // The preview owns the simulator whose settings the form edits, so it is made first.
    preview_ = new PreviewWnd(settings);
    metrics_ = new MetricsForm(preview_->simulator());
    addPane(metrics_);
    addPane(preview_);
    // A new size of the preview fits the viewer distance anew.
    connect(preview_, &PreviewWnd::geometryChanged, metrics_, &MetricsForm::refresh);
    setFixed(MetricsColumn, true);
    setPaneSize(MetricsColumn, 0, false);
}

PreviewSplitter::~PreviewSplitter() {
    // The form goes before the preview and its simulator, whatever the order of the children.
    delete metrics_;
}

QWidget& PreviewSplitter::metrics() {
    return *metrics_;
}

bool PreviewSplitter::isMetricsVisible() const {
    return paneSize(MetricsColumn) > 0;
}

void PreviewSplitter::showMetrics() {
    if (!isMetricsVisible()) {
        setPaneSize(MetricsColumn, naturalSize(MetricsColumn), true);
    }
    activatePane(MetricsColumn);
}

void PreviewSplitter::hideMetrics() {
    setPaneSize(MetricsColumn, 0, true);
}

void PreviewSplitter::toggleMetrics() {
    if (isMetricsVisible()) {
        hideMetrics();
    } else {
        showMetrics();
    }
}

}  // namespace rova
