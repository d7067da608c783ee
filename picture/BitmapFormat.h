#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "Colour.h"

namespace rova {

using ColourTable = std::array<TableEntry, 256>;

// The 40-byte bitmap information header, held field by field as it stands in a file.
struct BitmapInfoHeader {
    static constexpr std::uint32_t kSize = 40;
    static constexpr std::int32_t kPixelsPerMetre = 2834;  // 72 dots per inch

    std::uint32_t size = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;  // negative: the first stored row is the top row
    std::uint16_t planes = 0;
    std::uint16_t bitCount = 0;
    std::uint32_t compression = 0;
    std::uint32_t imageSize = 0;
    std::int32_t xPixelsPerMetre = 0;
    std::int32_t yPixelsPerMetre = 0;
    std::uint32_t coloursUsed = 0;
    std::uint32_t coloursImportant = 0;

    friend bool operator==(const BitmapInfoHeader&, const BitmapInfoHeader&) = default;
};

// Compression codes of the header.
inline constexpr std::uint32_t kUncompressed = 0;
inline constexpr std::uint32_t kBitFields = 3;

inline constexpr std::size_t kFileHeaderSize = 14;

// Limits on bitmaps read from outside: no side longer than kMaxLoadedSide pixels. No bitmap,
// loaded or created, holds more than kMaxPixelBytes of pixels.
inline constexpr std::int64_t kMaxLoadedSide = 16384;
inline constexpr std::int64_t kMaxPixelBytes = std::int64_t{256} << 20;

// The most bytes of a ".bmp" file in front of its pixels that a load looks at: file header, the
// largest info header, colour masks and a full colour table.
inline constexpr std::size_t kMaxLayoutBytes = kFileHeaderSize + 124 + 12 + 256 * 4;

BitmapInfoHeader readInfoHeader(std::span<const std::uint8_t, BitmapInfoHeader::kSize> bytes);
void writeInfoHeader(const BitmapInfoHeader& header,
                     std::span<std::uint8_t, BitmapInfoHeader::kSize> out);

// The 14-byte file header of a ".bmp" file: "BM", the file size, two reserved zero words, the
// offset of the pixels.
void writeFileHeader(std::uint32_t fileSize, std::uint32_t bitsOffset,
                     std::span<std::uint8_t, kFileHeaderSize> out);

// Bytes per stored row: bit count × width rounded up to whole 32-bit words.
std::int64_t rowStride(int bitCount, std::int64_t width);

enum class HeaderOrigin { Created, Loaded };

// Checks and completes a header: header size 40, width above 0, height not 0, one plane, a bit
// count of 1, 4, 8, 16, 24 or 32, within the size limits (loaded headers also within the side
// limit). Fills in a missing colour count of a table-based header, clamps the colour counts and,
// for uncompressed bitmaps, sets the image size. False when the header is unusable.
bool validateHeader(BitmapInfoHeader& header, HeaderOrigin origin);

// Where the parts of a bitmap lie, read from its first bytes.
struct BitmapLayout {
    BitmapInfoHeader header;  // validated, in its 40-byte form
    ColourTable table{};      // header.coloursUsed entries, the rest zero
    std::uint64_t pixelOffset = 0;
};

// Block: a packed bitmap as the clipboard and stored contents hold it: a 40-byte header, the
// colour table, the pixels. File: a ".bmp" file: the 14-byte file header "BM...", then a header
// of 40, 108 or 124 bytes; behind the larger headers the pixels start at the file header's bits
// offset, behind a 40-byte header right after the colour table.
enum class BitmapSource { Block, File };

// Parses the front of a block or file. Bit-field bitmaps whose masks describe the ordinary
// layout (5-5-5 at 16 bits, 8-8-8 at 32 bits) are taken as uncompressed.
std::optional<BitmapLayout> parseBitmapLayout(std::span<const std::uint8_t> front,
                                              BitmapSource source);

// How many pixel bytes a load reads: what the source holds behind the offset, at most the image
// size. Missing bytes stay zero.
std::uint64_t pixelBytesToRead(std::uint64_t sourceSize, const BitmapLayout& layout);

}  // namespace rova
