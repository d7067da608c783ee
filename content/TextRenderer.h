#pragma once

#include "CharacterFormat.h"

class QTextDocument;

namespace rova {

class Picture;

// The band that rich text is drawn into on its way to the lamps: a nine-entry lamp picture,
// 64 rows high and as wide as the text needs, but never wider than kMaxBandColumns. At full
// scale one pixel is one point of type (the text is laid out at 72 dots per inch), so the band
// shows the first 64 points of the text's height.
inline constexpr int kBandRows = 64;
inline constexpr int kMaxBandColumns = 1'000'000;

// Draws `text` at numerator/denominator of its size into `target`, which then holds the band
// with the text at its top left. Attributes the text leaves open are those of `defaults`, a
// full format. Glyphs are drawn without anti-aliasing in their characters' colours, each pixel
// taking the nearest of the nine table colours, so the eight text colours land on their lamp
// colours and black text stays dark; pixels no glyph covers stay 0. Pure white (index 8) is
// then folded into lamp white (7), so white and the text colour White both end as 7. The same
// text always gives the same pixels.
//
// Text wider than the band at this scale is cut at its right edge, text taller at its bottom.
// Ends with the target's changed(true) and returns its result. False, with the target empty,
// when the scale is not positive or the band cannot be made.
bool renderText(Picture& target, const QTextDocument& text, const CharacterFormat& defaults,
                int numerator, int denominator);

}  // namespace rova
