#pragma once

#include <QWidget>
#include <memory>

#include "Clock.h"
#include "PreviewSimulator.h"

namespace rova {

class SettingsStore;

// The pane that shows the simulated rotor. It owns the simulator, whose worker thread composes
// the frames and draws them into an off-screen image; the pane shows the last finished image.
// The rotor is never drawn on the user-interface thread.
class PreviewWnd final : public QWidget {
    Q_OBJECT

  public:
    PreviewWnd(SettingsStore& settings, QWidget* parent = nullptr);
    // Stops the worker, then the simulator writes its settings.
    ~PreviewWnd() override;

    PreviewSimulator& simulator() { return *simulator_; }

    // The menu commands that concern the preview.
    void togglePreview();
    void toggleBackground();
    bool chooseBackground(const QString& path);

    QSize sizeHint() const override { return {640, 400}; }

  signals:
    // The fitted viewer distance may have changed with the window's size.
    void geometryChanged();

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    SteadyClock clock_;
    std::unique_ptr<PreviewSimulator> simulator_;
};

}  // namespace rova
