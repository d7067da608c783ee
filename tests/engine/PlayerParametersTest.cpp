// The 168-byte parameter record: its stored defaults, the width limit and the vertical
// alignment.

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>

#include "EngineTestSupport.h"

namespace rova {
namespace {

using Bytes = PlayerParameters::Bytes;

// Little-endian writing spelled out byte by byte, independent of how the record converts.
void writeLittleEndian(Bytes& bytes, std::size_t offset, std::size_t size, std::uint64_t value) {
    for (std::size_t i = 0; i < size; ++i) {
        bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

// The stored image of a default record, written from the layout table: every byte not named
// here is zero.
Bytes defaultImage() {
    Bytes image{};
    const auto writeDouble = [&image](std::size_t offset, double value) {
        writeLittleEndian(image, offset, 8, std::bit_cast<std::uint64_t>(value));
    };
    writeDouble(0, 5.0);                       // next command after
    writeDouble(8, 5.0);                       // death after
    writeLittleEndian(image, 20, 4, 1);        // command flags: solo
    writeLittleEndian(image, 24, 4, 1);        // anchor: middle
    writeDouble(32, 90.0);                     // origin
    writeDouble(56, 140.0);                    // width
    writeDouble(88, 360.0);                    // clip end
    writeLittleEndian(image, 96, 4, 2);        // projections
    writeLittleEndian(image, 116, 4, 16);      // reserved word that holds 16
    writeLittleEndian(image, 152, 2, 0x8000);  // flash duty threshold
    writeLittleEndian(image, 156, 4, 0x1707);  // player flags
    return image;
}

TEST(PlayerParametersLayout, DefaultsAndResetGiveTheStoredDefaultImage) {
    EXPECT_EQ(PlayerParameters{}.toBytes(), defaultImage());
    Bytes garbage;
    garbage.fill(0xA5);
    PlayerParameters record = PlayerParameters::fromBytes(garbage);
    record.resetToDefaults();  // reserved words included
    EXPECT_EQ(record.toBytes(), defaultImage());
}

TEST(PlayerParametersSetters, WidthLimitDependsOnWrapAndProjections) {
    struct Case {
        bool wrap;
        std::uint32_t projections;
        double width;
        double limited;
    };
    const Case cases[] = {
        {false, 4, 100.0, 80.0},  // 360 / 4 − 10
        {false, 4, -100.0, -80.0},
        {false, 3, 100.5, 100.5},  // inside 360 / 3 − 10 = 110: kept as it is
        {false, 1, 500.0, 500.0},  // one projection and no wrap: no limit
        {true, 1, 500.0, 350.0},
        {true, 0, -500.0, -350.0},  // a stored 0 counts as one projection
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.wrap << ", " << c.projections << ", " << c.width);
        PlayerParameters record;
        record.playerFlags = PlayerFlags::Flip;
        record.setWrap(c.wrap);
        EXPECT_EQ(record.playerFlags, PlayerFlags::Flip | (c.wrap ? PlayerFlags::WrapAround : 0));
        record.projections = c.projections;
        record.width = c.width;
        record.limitWidth();
        EXPECT_EQ(record.width, c.limited);
    }
}

TEST(PlayerParametersSetters, VerticalAlignmentFromRowCount) {
    struct Case {
        std::uint32_t flags;
        std::uint32_t rows;
        double yShift;  // 2.5 when untouched
        bool aligned = true;
    };
    const Case cases[] = {
        {PlayerFlags::AlignTop, 8, -4.0},    // c = (48 − 8) / 2 = 20: 16 − 20
        {PlayerFlags::AlignBottom, 8, 4.0},  // 32 − (8 + 20)
        {PlayerFlags::AlignTop, 7, -4.0},    // c = 41 / 2 = 20 by integer division
        {PlayerFlags::AlignBottom, 7, 5.0},     {PlayerFlags::AlignTop, 32, 8.0},  // c = 8
        {PlayerFlags::AlignBottom, 32, -8.0},   {PlayerFlags::Fit, 8, 2.5},  // fit computes nothing
        {PlayerFlags::Defaults, 8, 2.5, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.flags << ", " << c.rows << " rows");
        PlayerParameters record;
        record.playerFlags = c.flags;
        record.yShift = 2.5;
        EXPECT_EQ(record.applyVerticalAlignment(c.rows), c.aligned);
        EXPECT_EQ(record.yShift, c.yShift);
    }
}

}  // namespace
}  // namespace rova
