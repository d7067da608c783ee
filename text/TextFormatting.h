#pragma once

#include <array>
#include <cstdint>

#include "CharacterFormat.h"
#include "ColourRef.h"

namespace rova {

class RichTextDocument;

// The eight colours of the formatting commands, as text and pen colours. White is a light grey:
// rendered text of this colour lands on its own entry of the lamp picture's colour table.
namespace text_colour {
inline constexpr ColourRef Black = 0x000000;
inline constexpr ColourRef Red = 0x0000FF;
inline constexpr ColourRef Green = 0x00FF00;
inline constexpr ColourRef Blue = 0xFF0000;
inline constexpr ColourRef Cyan = 0xFFFF00;
inline constexpr ColourRef Magenta = 0xFF00FF;
inline constexpr ColourRef Yellow = 0x00FFFF;
inline constexpr ColourRef White = 0xE0E0E0;
}  // namespace text_colour

// The colours in the order of the colour commands, Black first.
inline constexpr std::array<ColourRef, 8> kTextColours{
    text_colour::Black, text_colour::Red,     text_colour::Green,  text_colour::Blue,
    text_colour::Cyan,  text_colour::Magenta, text_colour::Yellow, text_colour::White,
};

// The formatting operations on the selection of a rich-text document. Each reads the
// selection's format and applies a format naming only the attribute it changes, so the other
// attributes of every character stay as they are.

// Flips one of the effects CharacterFormat::kBold, kItalic or kUnderline over the selection:
// it becomes the opposite of the value the selection's format reports, so a selection that is
// only partly bold ends all bold or all plain.
void toggleEffect(RichTextDocument& text, std::uint32_t effect);
// Sets the selection's size to `points`; nothing when that is not positive. Returns whether
// the size was applied.
bool setPointSize(RichTextDocument& text, int points);
// Changes the selection's size by `step` points from the size its format reports; nothing
// when the result is not positive. Returns whether the size was applied.
bool stepPointSize(RichTextDocument& text, int step);
// Sets the text colour of the selection.
void setTextColour(RichTextDocument& text, ColourRef colour);

// Whether a selection of `format` shows the effect as set: uniform and on.
bool effectChecked(const CharacterFormat& format, std::uint32_t effect);
// Whether a selection of `format` is in `points` type: its size uniform and, rounded to the
// nearest point with halves up, equal to `points`.
bool pointSizeChecked(const CharacterFormat& format, int points);
// Whether a selection of `format` is in `colour`: its colour uniform and equal to it.
bool colourChecked(const CharacterFormat& format, ColourRef colour);

}  // namespace rova
