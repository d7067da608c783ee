#pragma once

#include <cstddef>
#include <cstdint>

#include "PlayerContent.h"

namespace rova {

// The pixels of an 8-bit lamp picture (each value a lamp colour: bit 0 blue, bit 1 green,
// bit 2 red), seen row by row from the top.
struct LampPixels {
    const std::uint8_t* topRow = nullptr;  // first pixel of the top row
    std::ptrdiff_t rowStep = 0;            // bytes from one row to the row below it
    int width = 0;
    int height = 0;

    std::uint8_t at(int x, int y) const { return topRow[y * rowStep + x]; }
};

// A rectangle of a lamp picture: left and top inclusive, right and bottom exclusive.
struct LampRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// The most rows a packed content holds: one bit of a 32-bit word each.
inline constexpr int kMaxContentRows = 32;

// Packs the rectangle of the picture into `content`: one column per pixel column, each column
// one word per colour plane holding bit p of every pixel's value, the top row in bit 31 (with
// `flip`, the bottom row). A rectangle taller than 32 rows keeps its middle 32, an odd row more
// cut at the bottom. The rectangle is first limited to the picture; when nothing of it is left
// the content is left empty. False, with the content empty, when the columns cannot be
// allocated.
bool packLampPicture(const LampPixels& picture, LampRect rect, bool flip, PlayerContent& content);

}  // namespace rova
