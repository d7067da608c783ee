#pragma once

#include <QImage>
#include <QString>
#include <functional>
#include <mutex>

#include "FittedPicture.h"
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
    // Composes frames as the engine does; when animating, also draws the next sweep every
    // MsPerDraw milliseconds through whatever frame is current.
    std::int32_t tick() override;
    // Composes a frame and, unless animating, draws it whole at once.
    void composeFrame() override;
    // Starts the frame loop on the worker thread with a fresh animation.
    void startDrawing();

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
    // Loads a new background picture from a ".bmp" file and remembers its path in the settings.
    // When the file cannot be read the previous background is loaded again; returns false.
    bool chooseBackground(const QString& path);
    QString backgroundPath() const;
    // The window's background was erased: with the preview off the background is painted at
    // once, otherwise the next drawing repaints everything.
    void eraseBackground();
    // Marks the whole image for repainting with the background at the next drawing.
    void invalidate();
    PixelRect dirtyRect() const;
    double animationAngle() const;
    // A copy of the image as last drawn.
    QImage image() const;
    // Runs `paint` with the image as last drawn, under the lock, so a window can show it without
    // copying it.
    void withImage(const std::function<void(const QImage&)>& paint) const;
    // Called, on the drawing thread, every time a drawing has finished.
    void setDrawnHandler(std::function<void()> handler);

  private:
    void repaintBackground(const PixelRect& area);
    void loadBackground(const QString& path);
    void fillLamp(const PixelRect& rect, QRgb colour);

    SettingsStore& store_;
    mutable std::recursive_mutex lock_;
    SimulationGeometry geometry_;
    bool firstResize_ = true;
    QImage image_;
    PixelRect dirty_;
    double animationAngle_ = 0.0;
    std::uint32_t nextDrawTime_ = 0;
    int displayDepth_ = 32;
    bool previewEnabled_ = true;
    bool backgroundViewed_ = true;
    QString backgroundPath_;
    FittedPicture background_;
    std::function<void()> drawn_;
};

}  // namespace rova
