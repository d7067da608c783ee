#pragma once

#include "XSplitterStatic.h"

namespace rova {

class PreviewWnd;
class SettingsStore;

// The preview row of the main window: the metrics form in column 0 (hidden at first) and the
// simulated rotor in column 1.
class PreviewSplitter final : public XSplitterStatic {
    Q_OBJECT

  public:
    enum Column { MetricsColumn = 0, PreviewColumn = 1 };

    explicit PreviewSplitter(SettingsStore& settings, QWidget* parent = nullptr);

    PreviewWnd& preview() { return *preview_; }
    QWidget& metrics() { return *metrics_; }

    bool isMetricsVisible() const;
    // Gives the metrics column its natural width when hidden, and activates it.
    void showMetrics();
    void hideMetrics();
    void toggleMetrics();

  private:
    QWidget* metrics_ = nullptr;
    PreviewWnd* preview_ = nullptr;
};

}  // namespace rova
