#pragma once

#include <array>
#include <cstdint>

namespace rova {

// One revolution of the rotor: 360 columns, column c showing degrees c to c + 1. Each column
// holds a 16-bit word per colour plane (0 blue, 1 green, 2 red); bit 15 is the top lamp.
struct LampFrame {
    static constexpr int kColumns = 360;
    static constexpr int kPlanes = 3;
    static constexpr int kLamps = 16;
    using Column = std::array<std::uint16_t, kPlanes>;

    std::array<Column, kColumns> columns{};

    void clear() { columns.fill(Column{}); }

    // The lamp's colour index (bit p = plane p), lamp 15 being the top one.
    int colourAt(int column, int lamp) const {
        int colour = 0;
        for (int plane = 0; plane < kPlanes; ++plane) {
            colour |= ((columns[column][plane] >> lamp) & 1) << plane;
        }
        return colour;
    }
};

static_assert(sizeof(LampFrame) == 2160, "a frame is 360 columns of three 16-bit words");

}  // namespace rova
