#include <gtest/gtest.h>

#include <array>

#include "FourCC.h"

namespace rova {
namespace {

TEST(FourCCTest, HoldsTheLittleEndianValueOfItsLetters) {
    constexpr FourCC magic("ROVA");
    EXPECT_EQ(magic.value(), 0x41564F52u);

    std::array<std::uint8_t, 4> bytes{};
    FourCC("NEW ").toBytes(bytes);
    EXPECT_EQ(bytes, (std::array<std::uint8_t, 4>{'N', 'E', 'W', ' '}));
    EXPECT_EQ(FourCC::fromBytes(bytes), FourCC("NEW "));
    EXPECT_NE(FourCC::fromBytes(bytes), FourCC("NEWX"));

    const std::array<std::uint8_t, 4> odd{0x00, 0xFF, 0x80, 0x7F};
    EXPECT_EQ(FourCC::fromBytes(odd).value(), 0x7F80FF00u);
}

}  // namespace
}  // namespace rova
