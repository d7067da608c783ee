#pragma once

#include <QImage>
#include <QRect>
#include <QString>

#include "FittedPicture.h"
#include "LampFrame.h"
#include "SimulationGeometry.h"

namespace rova {

// Draws lamp frames into an off-screen image the size of the preview window's client area, the
// way a viewer standing in front of the rotor sees them, over a background picture or black.
// Between drawings it keeps the rectangle the next one must first repaint with the background
// (the dirty rectangle) and the angle where the next animated sweep starts.
//
// Plain: it holds no lock and knows nothing of the engine. The simulator guards it and hands it
// the geometry, laid out on the same client area, at every drawing.
class FrameRenderer {
  public:
    // A black image for the client area, the background fitted to it, all of it dirty.
    void resize(const QRect& client);
    // Draws `frame`: repaints the dirty rectangle with the background, then the lit lamps of a
    // whole revolution or of the next animated sweep. False when nothing is drawn: the preview
    // is off or there is no image yet.
    bool drawFrame(const LampFrame& frame, const SimulationGeometry& geometry);
    // The next sweep starts at angle 0, and nothing is left to repaint.
    void restartAnimation();
    double animationAngle() const { return animationAngle_; }

    // Colour depth of the display in bits per pixel: below 16 every lamp is drawn at full
    // brightness and no column is skipped.
    void setDisplayDepth(int bitsPerPixel) { displayDepth_ = bitsPerPixel; }
    void setPreviewEnabled(bool enabled) { previewEnabled_ = enabled; }
    bool previewEnabled() const { return previewEnabled_; }
    // Shows or hides the background picture; the next drawing repaints everything.
    void setBackgroundViewed(bool viewed);
    bool backgroundViewed() const { return backgroundViewed_; }

    // The background picture's path, loaded by loadBackground.
    void setBackgroundPath(const QString& path) { backgroundPath_ = path; }
    const QString& backgroundPath() const { return backgroundPath_; }
    // Loads the background from its path, "background.bmp" when it has none.
    void loadBackground();
    // Loads a new background picture from a ".bmp" file and shows it. When the file cannot be
    // read the previous background is loaded again; returns false.
    bool chooseBackground(const QString& path);
    // The window's background was erased: with the preview off the background is painted at
    // once, otherwise the next drawing repaints everything.
    void eraseBackground();

    const QRect& dirtyRect() const { return dirty_; }
    const QImage& image() const { return image_; }

  private:
    void loadPicture(const QString& path);
    void repaintBackground(const QRect& area);
    // Fills the part inside the client area of the rectangle with the given edges, right and
    // bottom exclusive.
    void fillLamp(int left, int top, int right, int bottom, QRgb colour);

    QRect client_;
    QImage image_;
    QRect dirty_;
    double animationAngle_ = 0.0;
    int displayDepth_ = 32;
    bool previewEnabled_ = true;
    bool backgroundViewed_ = true;
    QString backgroundPath_;
    FittedPicture background_;
};

}  // namespace rova
