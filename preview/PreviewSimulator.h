#pragma once

#include <QImage>
#include <QRect>
#include <QString>
#include <functional>

#include "FrameRenderer.h"
#include "PlayerEngine.h"
#include "SimulationGeometry.h"
#include "ThreadSafety.h"

namespace rova {

class SettingsStore;

// The player engine seen through a simulated rotor: it owns the simulation settings and
// geometry, keeps them in the settings, and has its FrameRenderer draw each composed frame (or,
// when animating, a sweep every MsPerDraw milliseconds) into an image the size of the preview
// window's client area.
//
// Its own lock guards the geometry, the renderer and the drawing schedule. It is a plain mutex:
// no public operation calls another with it held. When both are needed it is taken before the
// engine's lock, never after. The drawn handler and the paint function of withImage run under
// it and must not call the simulator.
class PreviewSimulator : public PlayerEngine {
  public:
    // Reads the simulation settings from `settings` and applies them.
    PreviewSimulator(Clock& clock, SettingsStore& settings);
    // Stops the worker, then writes the settings back.
    ~PreviewSimulator() override;

    double degreesPerLampColumn() const override EXCLUDES(lock_);
    // Composes frames as the engine does; when animating, also draws the next sweep every
    // MsPerDraw milliseconds through whatever frame is current.
    std::int32_t tick() override EXCLUDES(lock_);
    // Composes a frame and, unless animating, draws it whole at once.
    void composeFrame() override EXCLUDES(lock_);
    // Starts the frame loop on the worker thread with a fresh animation.
    void startDrawing() EXCLUDES(lock_);

    // ---- settings and geometry ----
    void applySettings(const SimulationSettings& settings) EXCLUDES(lock_);
    SimulationSettings currentSettings() const EXCLUDES(lock_);
    void fitDistance() EXCLUDES(lock_);
    // The window's client area changed: keeps the rotor's fit (see the source for the rules).
    void resize(const QRect& client) EXCLUDES(lock_);
    // A copy of the geometry, for views and tests.
    SimulationGeometry geometry() const EXCLUDES(lock_);

    // ---- drawing (see FrameRenderer) ----
    void setPreviewEnabled(bool enabled) EXCLUDES(lock_);
    bool previewEnabled() const EXCLUDES(lock_);
    void setBackgroundViewed(bool viewed) EXCLUDES(lock_);
    bool backgroundViewed() const EXCLUDES(lock_);
    // Loads a new background picture and, when it could be read, remembers its path in the
    // settings; otherwise keeps the previous one and returns false.
    bool chooseBackground(const QString& path) EXCLUDES(lock_);
    QString backgroundPath() const EXCLUDES(lock_);
    void eraseBackground() EXCLUDES(lock_);
    // A copy of the image as last drawn.
    QImage image() const EXCLUDES(lock_);
    // Runs `paint` with the image as last drawn, under the lock, so a window can show it without
    // copying it.
    void withImage(const std::function<void(const QImage&)>& paint) const EXCLUDES(lock_);
    // Called, on the drawing thread, every time a drawing has finished.
    void setDrawnHandler(std::function<void()> handler) EXCLUDES(lock_);

  private:
    void drawCurrentFrame() REQUIRES(lock_);
    void writeSettings() EXCLUDES(lock_);

    SettingsStore& store_;
    mutable Mutex lock_;
    SimulationGeometry geometry_ GUARDED_BY(lock_);
    FrameRenderer renderer_ GUARDED_BY(lock_);
    bool firstResize_ GUARDED_BY(lock_) = true;
    std::uint32_t nextDrawTime_ GUARDED_BY(lock_) = 0;
    std::function<void()> drawn_ GUARDED_BY(lock_);
};

}  // namespace rova
