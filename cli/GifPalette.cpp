#include "GifPalette.h"

#include <algorithm>

namespace rova {

namespace {

constexpr int kLampLevels = 36;
constexpr int kLampHues = 7;  // bit 0 blue, bit 1 green, bit 2 red, as on the lamps

std::uint8_t scaled(int level, int top) {
    return static_cast<std::uint8_t>((level * 255 + top / 2) / top);
}

}  // namespace

GifPalette::GifPalette(Kind kind) : kind_(kind) {
    if (kind_ == Kind::Lamps) {
        for (int hue = 1; hue <= kLampHues; ++hue) {
            for (int level = 1; level <= kLampLevels; ++level) {
                const std::uint8_t value = scaled(level, kLampLevels);
                entries_[static_cast<std::size_t>(1 + (hue - 1) * kLampLevels + level - 1)] = {
                    (hue & 4) != 0 ? value : std::uint8_t{0},
                    (hue & 2) != 0 ? value : std::uint8_t{0},
                    (hue & 1) != 0 ? value : std::uint8_t{0}};
            }
        }
        return;
    }
    for (int index = 0; index < 256; ++index) {
        entries_[static_cast<std::size_t>(index)] = {
            scaled(index >> 5, 7), scaled((index >> 2) & 7, 7), scaled(index & 3, 3)};
    }
}

std::uint8_t GifPalette::indexOf(QRgb colour) const {
    const int red = qRed(colour);
    const int green = qGreen(colour);
    const int blue = qBlue(colour);
    if (kind_ == Kind::Photo) {
        return static_cast<std::uint8_t>((red >> 5) << 5 | (green >> 5) << 2 | blue >> 6);
    }
    const int brightest = std::max({red, green, blue});
    const int level = (brightest * kLampLevels + 127) / 255;
    if (level == 0) {
        return 0;
    }
    // A lamp colour has its lit channels equal and the others 0; anything else goes to the
    // hue of its channels above half the brightest.
    const int half = brightest / 2;
    const int hue = (blue > half ? 1 : 0) | (green > half ? 2 : 0) | (red > half ? 4 : 0);
    return static_cast<std::uint8_t>(1 + (hue - 1) * kLampLevels + level - 1);
}

}  // namespace rova
