#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace rova {

class Picture;

// The picture editor's display state, stored with a picture content as a 12-byte block: its
// own size (always 12), the flags and the rows, little-endian.
struct PictureState {
    static constexpr std::uint32_t kSize = 12;
    // Set while the shown picture is a rescaled view of a loaded picture.
    static constexpr std::uint32_t kRescaledView = 0x1;

    std::uint32_t flags = kRescaledView;
    std::int32_t rows = 0;

    friend bool operator==(const PictureState&, const PictureState&) = default;
};

// A picture content ("PICT") taken apart: the picture's file name, the display state and the
// packed bitmap, which is a view into the record's bytes.
struct PictureRecord {
    std::string fileName;
    PictureState state;
    std::span<const std::uint8_t> bitmap;
};

// Writes the record of a picture: the file name and a 0 byte, the state block, then the
// picture as a packed bitmap. False, with the buffer empty, when the picture has no pixels or
// memory runs out.
bool writePictureRecord(std::string_view fileName, const PictureState& state,
                        const Picture& picture, std::vector<std::uint8_t>& record);

// Takes a stored record apart. The file name runs up to the first 0 byte. The state block
// behind it gives its own length in its first word; at most its first 12 bytes are read (the
// fields it does not reach keep their initial values), and the bitmap starts where the block
// ends. A record cut short yields what it holds: an empty bitmap, which no picture loads.
PictureRecord readPictureRecord(std::span<const std::uint8_t> record);

}  // namespace rova
