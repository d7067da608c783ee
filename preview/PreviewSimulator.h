#pragma once

#include <QImage>
#include <QString>
#include <mutex>

#include "LampFrame.h"
#include "PixelRect.h"
#include "PlayerEngine.h"
#include "SimulationGeometry.h"

namespace rova {

class SettingsStore;

// The player engine seen through a simulated rotor: it owns the simulation settings and
// geometry, and draws each composed frame into an off-screen image the size of the preview
// window's client area, the way a viewer standing in front of the rotor would see it.
//
// Its own lock guards the settings, the geometry and the drawing state. When both are needed it
// is taken before the engine's lock, never after.
class PreviewSimulator : public PlayerEngine {
  public:
    // Reads the simulation settings from `settings` and applies them.
    PreviewSimulator(Clock& clock, SettingsStore& settings);
    // Stops the worker, then writes the settings back.
    ~PreviewSimulator() override;

    double degreesPerLampColumn() const override;

    // ---- settings and geometry ----
    void applySettings(const SimulationSettings& settings);
    // The current block; read without the lock, as the metrics form does.
    SimulationSettings currentSettings() const { return geometry_.settings(); }
    void fitDistance();
    // The window's client area changed: keeps the rotor's fit (see the source for the rules).
    void resize(const PixelRect& client);
    // A copy of the geometry, for views and tests.
    SimulationGeometry geometry() const;
    // Writes every stored simulation setting.
    void writeSettings();

    // ---- drawing ----
    // Draws `frame` into the image: repaints the previous drawing's rectangle with the
    // background, then the lit lamps of a whole revolution or of the next animated sweep.
    void drawFrame(const LampFrame& frame);
    // Colour depth of the display in bits per pixel: below 16 every lamp is drawn at full
    // brightness and no column is skipped.
    void setDisplayDepth(int bitsPerPixel);
    void setPreviewEnabled(bool enabled);
    bool previewEnabled() const;
    void setBackgroundViewed(bool viewed);
    bool backgroundViewed() const;
    // Marks the whole image for repainting with the background at the next drawing.
    void invalidate();
    PixelRect dirtyRect() const;
    double animationAngle() const;
    void resetAnimation();
    // A copy of the image as last drawn.
    QImage image() const;

  private:
    void repaintBackground(const PixelRect& area);
    void fillLamp(const PixelRect& rect, QRgb colour);

    SettingsStore& store_;
    mutable std::recursive_mutex lock_;
    SimulationGeometry geometry_;
    bool firstResize_ = true;
    QImage image_;
    PixelRect dirty_;
    double animationAngle_ = 0.0;
    int displayDepth_ = 32;
    bool previewEnabled_ = true;
    bool backgroundViewed_ = true;
    QString backgroundPath_;
};

}  // namespace rova
