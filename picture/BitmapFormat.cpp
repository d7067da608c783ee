#include "BitmapFormat.h"

#include <algorithm>
#include <cstdlib>

#include "LittleEndian.h"

namespace rova {

namespace {

using le::loadU16;
using le::loadU32;
using le::storeU16;
using le::storeU32;

std::int32_t loadI32(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::int32_t>(loadU32(bytes, at));
}

bool isBitCount(std::uint16_t bitCount) {
    switch (bitCount) {
        case 1:
        case 4:
        case 8:
        case 16:
        case 24:
        case 32:
            return true;
        default:
            return false;
    }
}

// True when the red, green and blue masks at `at` describe the layout an uncompressed bitmap of
// that bit count has anyway.
bool hasOrdinaryMasks(std::span<const std::uint8_t> bytes, std::size_t at, int bitCount) {
    const std::uint32_t red = loadU32(bytes, at);
    const std::uint32_t green = loadU32(bytes, at + 4);
    const std::uint32_t blue = loadU32(bytes, at + 8);
    if (bitCount == 16) {
        return red == 0x7C00 && green == 0x03E0 && blue == 0x001F;
    }
    return red == 0xFF0000 && green == 0x00FF00 && blue == 0x0000FF;
}

}  // namespace

BitmapInfoHeader readInfoHeader(std::span<const std::uint8_t, BitmapInfoHeader::kSize> bytes) {
    BitmapInfoHeader header;
    header.size = loadU32(bytes, 0);
    header.width = loadI32(bytes, 4);
    header.height = loadI32(bytes, 8);
    header.planes = loadU16(bytes, 12);
    header.bitCount = loadU16(bytes, 14);
    header.compression = loadU32(bytes, 16);
    header.imageSize = loadU32(bytes, 20);
    header.xPixelsPerMetre = loadI32(bytes, 24);
    header.yPixelsPerMetre = loadI32(bytes, 28);
    header.coloursUsed = loadU32(bytes, 32);
    header.coloursImportant = loadU32(bytes, 36);
    return header;
}

void writeInfoHeader(const BitmapInfoHeader& header,
                     std::span<std::uint8_t, BitmapInfoHeader::kSize> out) {
    storeU32(out, 0, header.size);
    storeU32(out, 4, static_cast<std::uint32_t>(header.width));
    storeU32(out, 8, static_cast<std::uint32_t>(header.height));
    storeU16(out, 12, header.planes);
    storeU16(out, 14, header.bitCount);
    storeU32(out, 16, header.compression);
    storeU32(out, 20, header.imageSize);
    storeU32(out, 24, static_cast<std::uint32_t>(header.xPixelsPerMetre));
    storeU32(out, 28, static_cast<std::uint32_t>(header.yPixelsPerMetre));
    storeU32(out, 32, header.coloursUsed);
    storeU32(out, 36, header.coloursImportant);
}

void writeFileHeader(std::uint32_t fileSize, std::uint32_t bitsOffset,
                     std::span<std::uint8_t, kFileHeaderSize> out) {
    out[0] = 'B';
    out[1] = 'M';
    storeU32(out, 2, fileSize);
    storeU32(out, 6, 0);
    storeU32(out, 10, bitsOffset);
}

std::int64_t rowStride(int bitCount, std::int64_t width) {
    return (bitCount * width + 31) / 32 * 4;
}

bool validateHeader(BitmapInfoHeader& header, HeaderOrigin origin) {
    if (header.size != BitmapInfoHeader::kSize || header.width <= 0 || header.height == 0 ||
        header.planes != 1 || !isBitCount(header.bitCount)) {
        return false;
    }
    const std::int64_t rows = std::abs(std::int64_t{header.height});
    if (origin == HeaderOrigin::Loaded &&
        (header.width > kMaxLoadedSide || rows > kMaxLoadedSide)) {
        return false;
    }
    const std::int64_t pixelBytes = rowStride(header.bitCount, header.width) * rows;
    if (pixelBytes > kMaxPixelBytes) {
        return false;
    }
    if (header.coloursUsed == 0 && header.bitCount < 16) {
        header.coloursUsed = 1u << header.bitCount;
        if (header.coloursImportant == 0) {
            header.coloursImportant = header.coloursUsed;
        }
    }
    header.coloursUsed = std::min<std::uint32_t>(header.coloursUsed, 256);
    header.coloursImportant = std::min(header.coloursImportant, header.coloursUsed);
    if (header.compression == kUncompressed) {
        header.imageSize = static_cast<std::uint32_t>(pixelBytes);
    }
    return true;
}

std::optional<BitmapLayout> parseBitmapLayout(std::span<const std::uint8_t> front,
                                              BitmapSource source) {
    std::size_t headerStart = 0;
    std::uint32_t bitsOffset = 0;
    if (source == BitmapSource::File) {
        if (front.size() < kFileHeaderSize || front[0] != 'B' || front[1] != 'M') {
            return std::nullopt;
        }
        bitsOffset = loadU32(front, 10);
        headerStart = kFileHeaderSize;
    }
    if (front.size() < headerStart + 4) {
        return std::nullopt;
    }
    const std::uint32_t headerSize = loadU32(front, headerStart);
    const bool largerHeader =
        source == BitmapSource::File && (headerSize == 108 || headerSize == 124);
    if ((headerSize != BitmapInfoHeader::kSize && !largerHeader) ||
        front.size() < headerStart + headerSize) {
        return std::nullopt;
    }

    BitmapLayout layout;
    layout.header = readInfoHeader(front.subspan(headerStart).first<BitmapInfoHeader::kSize>());
    layout.header.size = BitmapInfoHeader::kSize;
    std::size_t tableStart = headerStart + headerSize;
    const int bitCount = layout.header.bitCount;
    if (layout.header.compression == kBitFields && (bitCount == 16 || bitCount == 32)) {
        // The masks lie right behind the 40 header bytes: inside the larger headers, as an
        // extra 12 bytes behind a 40-byte one.
        const std::size_t masksStart = headerStart + BitmapInfoHeader::kSize;
        if (front.size() < masksStart + 12) {
            return std::nullopt;
        }
        if (!largerHeader) {
            tableStart = masksStart + 12;
        }
        if (hasOrdinaryMasks(front, masksStart, bitCount)) {
            layout.header.compression = kUncompressed;
        }
    }
    if (!validateHeader(layout.header, HeaderOrigin::Loaded)) {
        return std::nullopt;
    }

    const std::size_t tableBytes = 4 * std::size_t{layout.header.coloursUsed};
    if (front.size() < tableStart + tableBytes) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < layout.header.coloursUsed; ++i) {
        const std::size_t at = tableStart + 4 * i;
        layout.table[i] = {front[at], front[at + 1], front[at + 2], front[at + 3]};
    }
    const std::uint64_t tableEnd = tableStart + tableBytes;
    if (largerHeader && bitsOffset < tableEnd) {
        return std::nullopt;
    }
    layout.pixelOffset = largerHeader ? bitsOffset : tableEnd;
    return layout;
}

std::uint64_t pixelBytesToRead(std::uint64_t sourceSize, const BitmapLayout& layout) {
    if (sourceSize <= layout.pixelOffset) {
        return 0;
    }
    return std::min<std::uint64_t>(sourceSize - layout.pixelOffset, layout.header.imageSize);
}

}  // namespace rova
