#pragma once

#include <QRgb>

#include <array>
#include <cstdint>

namespace rova {

// A fixed palette of 256 colours for the frames of an animated GIF, and the mapping of any
// colour into it. Fixed, so that mapping a pixel costs a few operations and the same picture
// always gives the same bytes.
class GifPalette {
  public:
    enum class Kind {
        // The preview's lamps on black: black and each of the seven lamp colours at 36
        // brightness levels, which is every colour the preview draws, to within a level.
        Lamps,
        // Anything else (a photograph behind the lamps): 8 levels of red and green, 4 of blue.
        Photo,
    };

    explicit GifPalette(Kind kind);

    struct Entry {
        std::uint8_t red, green, blue;
    };
    const std::array<Entry, 256>& entries() const { return entries_; }
    std::uint8_t indexOf(QRgb colour) const;

  private:
    Kind kind_;
    std::array<Entry, 256> entries_{};
};

}  // namespace rova
