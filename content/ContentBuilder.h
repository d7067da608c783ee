#pragma once

#include <QRect>

#include <functional>
#include <optional>

#include "PlayerContent.h"

class QTextDocument;

namespace rova {

class Picture;
struct CharacterFormat;

// Draws a content at numerator/denominator of its natural size into a lamp picture and gives
// the rectangle of it that holds the content, or nothing when it cannot be drawn or shows
// nothing at all.
using ScaledDrawing =
    std::function<std::optional<QRect>(Picture& lampPicture, int numerator, int denominator)>;

// Builds the set's packed content from a drawing of it, fitted to the lamps:
// - Fit (AlignTop and AlignBottom both set) searches for the largest height adjustment that makes
//   the content at most 16 rows tall, starting from 16 - its natural height, and stores it in the
//   record; keep bit Height skips that search once and uses the stored adjustment.
// - Otherwise a nonzero height adjustment draws the content at (natural + adjustment) / natural.
// - Flip packs the content upside down.
// Keep bit Height is cleared. When the content cannot be drawn the set is left without content,
// which is not a failure; false only when the packed columns cannot be allocated.
bool buildContent(ParameterSet& set, const ScaledDrawing& draw);

// buildContent from rich text: the text's band (see renderText), cropped to what it lights.
bool buildTextContent(ParameterSet& set, const QTextDocument& text,
                      const CharacterFormat& defaults);

// buildContent from the picture editor's working picture shown at `rows` rows: the whole picture
// stretched to the scaled size. A scaled picture of more pixels than the largest text band
// counts as one that cannot be drawn.
bool buildPictureContent(ParameterSet& set, const Picture& working, int rows);

// With AutoWidth set, keep bit Width clear and a content of some columns, makes each column as
// wide on the rim as the lamps are apart: width = degrees per lamp column × columns, held
// within the width limit of the record. Returns whether the width was set. Keep bit Width is
// cleared.
bool applyAutoWidth(ParameterSet& set, double degreesPerLampColumn);

}  // namespace rova
