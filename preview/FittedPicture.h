#pragma once

#include <QImage>
#include <QPainter>
#include <QRect>

#include "Picture.h"

namespace rova {

// A picture stretched to fill a target rectangle, across and down independently, with a cached
// copy at the stretched size so that any part of the target can be drawn by a plain copy.
class FittedPicture final : public Picture {
  public:
    // Computes the scales for a new target; a change of scale discards the cached copy.
    void setTarget(const QRect& target);
    // Draws the part `area` of the target (target coordinates) at the painter's same
    // coordinates, with the stretched picture centred on the target.
    void drawArea(QPainter& painter, const QRect& area);

    double scaleX() const { return scaleX_; }
    double scaleY() const { return scaleY_; }

  protected:
    // New content: the cached copy no longer matches it.
    bool changed(bool pixelsLoaded) override;

  private:
    void drawDirect(QPainter& painter, const QRect& area, int sourceX, int sourceY) const;
    bool makeCache();

    QRect target_;
    double scaleX_ = 1.0;
    double scaleY_ = 1.0;
    int scaledWidth_ = 0;
    int scaledHeight_ = 0;
    QImage cache_;
};

}  // namespace rova
