#pragma once

#include <cstddef>
#include <cstdint>

namespace rova {

// Reading and writing the stored value of pixel x in a row of stored bytes: a table index of
// 1, 4 or 8 bits (the leftmost pixel in the highest bits of its byte), or the packed colour of a
// 16-, 24- or 32-bit pixel, least significant byte first. Shared by the picture and its edits.

inline std::uint32_t storedValueAt(const std::uint8_t* row, int bitCount, std::size_t x) {
    switch (bitCount) {
        case 1:
            return (row[x / 8] >> (7 - x % 8)) & 0x1u;
        case 4:
            return (row[x / 2] >> (x % 2 == 0 ? 4 : 0)) & 0xFu;
        case 8:
            return row[x];
        case 16:
            return row[2 * x] | (std::uint32_t{row[2 * x + 1]} << 8);
        case 24:
            return row[3 * x] | (std::uint32_t{row[3 * x + 1]} << 8) |
                   (std::uint32_t{row[3 * x + 2]} << 16);
        default:
            return row[4 * x] | (std::uint32_t{row[4 * x + 1]} << 8) |
                   (std::uint32_t{row[4 * x + 2]} << 16) | (std::uint32_t{row[4 * x + 3]} << 24);
    }
}

inline void setStoredValueAt(std::uint8_t* row, int bitCount, std::size_t x, std::uint32_t value) {
    switch (bitCount) {
        case 1: {
            const unsigned shift = 7 - x % 8;
            row[x / 8] = static_cast<std::uint8_t>((row[x / 8] & ~(0x1u << shift)) |
                                                   ((value & 0x1u) << shift));
            break;
        }
        case 4: {
            const unsigned shift = x % 2 == 0 ? 4 : 0;
            row[x / 2] = static_cast<std::uint8_t>((row[x / 2] & ~(0xFu << shift)) |
                                                   ((value & 0xFu) << shift));
            break;
        }
        default: {
            const std::size_t bytes = static_cast<std::size_t>(bitCount) / 8;
            for (std::size_t i = 0; i < bytes; ++i) {
                row[bytes * x + i] = static_cast<std::uint8_t>(value >> (8 * i));
            }
            break;
        }
    }
}

}  // namespace rova
