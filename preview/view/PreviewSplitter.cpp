#include "PreviewSplitter.h"

#include "EmptyPane.h"
#include "PreviewWnd.h"

namespace rova {

namespace {
// The metrics form's natural size, which its place keeps until the form is there.
constexpr QSize kMetricsFormSize{260, 400};
}  // namespace

PreviewSplitter::PreviewSplitter(SettingsStore& settings, QWidget* parent)
    : XSplitterStatic(Qt::Horizontal, parent) {
    metrics_ = new EmptyPane(kMetricsFormSize);
    preview_ = new PreviewWnd(settings);
    addPane(metrics_);
    addPane(preview_);
    setFixed(MetricsColumn, true);
    setPaneSize(MetricsColumn, 0, false);
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
