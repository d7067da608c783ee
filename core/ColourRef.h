#pragma once

#include <cstdint>

namespace rova {

// A colour value 0x00BBGGRR: the form in which drawing and text colours are passed around and
// stored. These are the one place that knows where each component lies.
using ColourRef = std::uint32_t;

constexpr int redOf(ColourRef colour) {
    return static_cast<int>(colour & 0xFF);
}
constexpr int greenOf(ColourRef colour) {
    return static_cast<int>((colour >> 8) & 0xFF);
}
constexpr int blueOf(ColourRef colour) {
    return static_cast<int>((colour >> 16) & 0xFF);
}
// Components outside 0..255 keep their low eight bits.
constexpr ColourRef colourRef(int red, int green, int blue) {
    return (static_cast<ColourRef>(red) & 0xFF) | (static_cast<ColourRef>(green) & 0xFF) << 8 |
           (static_cast<ColourRef>(blue) & 0xFF) << 16;
}

}  // namespace rova
