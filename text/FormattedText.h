#pragma once

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QRect>
#include <QRectF>

#include <memory>

#include "CharacterFormat.h"

class QPainter;
class QTextDocument;

namespace rova {

// A copy of a text laid out as it prints on a device of 72 dots per inch, so that one device
// unit is one point (20 twips): at full scale, one pixel per point. This is the layout by which
// text becomes a picture for the lamps; the painter's transform scales it.
//
// The copy is drawn without anti-aliasing, so every glyph pixel has exactly the colour of its
// character, and without filling any background, so pixels no glyph covers stay as they were.
// Text without a colour of its own is drawn in the default colour. Tabs stop every half inch.
class FormattedText {
  public:
    static constexpr int kTwipsPerPoint = 20;

    // Lays `document` out in the rectangle `layoutTwips`: lines break at line and paragraph
    // breaks, and where a line would pass the rectangle's right edge (between words where it
    // can). Attributes the text leaves open are those of `defaults`, a full format.
    FormattedText(const QTextDocument& document, const CharacterFormat& defaults,
                  const QRect& layoutTwips);
    ~FormattedText();
    FormattedText(const FormattedText&) = delete;
    FormattedText& operator=(const FormattedText&) = delete;

    // The part of the layout rectangle the text takes, in twips: the same left and top, as wide
    // as the widest line and as high as all lines together, but never beyond the rectangle.
    QRect usedTwips() const { return used_; }

    // Draws the text with its top left at `topLeft`, only inside `clip`; both in the painter's
    // units, which are points at full scale.
    void draw(QPainter& painter, const QPointF& topLeft, const QRectF& clip) const;

  private:
    QImage metricsDevice_;
    std::unique_ptr<QTextDocument> copy_;
    QColor defaultColour_;
    QRect used_;
};

}  // namespace rova
