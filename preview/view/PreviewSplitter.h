#pragma once

#include "XSplitterStatic.h"

namespace rova {

class MetricsForm;
class PreviewWnd;
class SettingsStore;

// The preview row of the main window: the metrics form in column 0 (hidden at first, with the
// form's natural width when shown) and the simulated rotor in column 1. The form is refreshed
// whenever the preview changes its size, since the fitted viewer distance changes with it.
class PreviewSplitter final : public XSplitterStatic {
    Q_OBJECT

  public:
    enum Column { MetricsColumn = 0, PreviewColumn = 1 };

    explicit PreviewSplitter(SettingsStore& settings, QWidget* parent = nullptr);
    ~PreviewSplitter() override;

    PreviewWnd& preview() { return *preview_; }
    QWidget& metrics();

    bool isMetricsVisible() const;
    // Gives the metrics column its natural width when hidden, and activates it.
    void showMetrics();
    void hideMetrics();
    void toggleMetrics();

  private:
    MetricsForm* metrics_ = nullptr;
    PreviewWnd* preview_ = nullptr;
};

}  // namespace rova
