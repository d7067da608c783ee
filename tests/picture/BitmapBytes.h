#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace rova::test {

// The parts of a bitmap as a test wants them on disk, written here byte by byte and
// independently of the picture's own writer.
struct BitmapBytes {
    std::uint32_t headerSize = 40;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t planes = 1;
    std::uint16_t bitCount = 8;
    std::uint32_t compression = 0;
    std::uint32_t imageSize = 0;
    std::int32_t resolution = 2834;
    std::uint32_t coloursUsed = 0;
    std::uint32_t coloursImportant = 0;
    // Colour masks: inside a larger header, or right behind a 40-byte one.
    std::vector<std::uint32_t> masks;
    std::vector<std::uint8_t> table;   // 4 bytes an entry
    std::vector<std::uint8_t> pixels;  // the stored rows
    std::vector<std::uint8_t> trailing;
    // The file header's bits offset; by default where the pixels really start.
    std::optional<std::uint32_t> bitsOffset;

    // Header, masks, table, pixels, trailing bytes.
    std::vector<std::uint8_t> block() const;
    // The 14-byte file header in front of block().
    std::vector<std::uint8_t> file() const;
};

// Stored rows of `rows` rows of `stride` bytes, byte i of row r being (r * 31 + i * 7 + 1) & 0xFF:
// every row distinct.
std::vector<std::uint8_t> patternRows(int rows, int stride);

}  // namespace rova::test
