// Packing a lamp picture into columns of bit-plane words.

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "ContentPacking.h"

namespace rova {
namespace {

// A lamp picture in memory, top row first, with padding at the end of each row so that a packer
// that ignored the row step would read the wrong bytes.
class LampImage {
  public:
    LampImage(int width, int height)
        : width_(width), height_(height), bytes_(static_cast<std::size_t>(step() * height), 0xEE) {
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                set(x, y, 0);
            }
        }
    }

    void set(int x, int y, std::uint8_t value) {
        bytes_[static_cast<std::size_t>(y * step() + x)] = value;
    }
    LampPixels pixels() const { return {bytes_.data(), step(), width_, height_}; }
    LampRect whole() const { return {0, 0, width_, height_}; }

  private:
    std::ptrdiff_t step() const { return width_ + 3; }

    int width_;
    int height_;
    std::vector<std::uint8_t> bytes_;
};

// The colour index the packed content holds at column x, row y (0 the top row).
int packedValue(const PlayerContent& content, int x, int y) {
    int value = 0;
    for (int plane = 0; plane < 3; ++plane) {
        value |= static_cast<int>((content.columns()[x][plane] >> (31 - y)) & 1u) << plane;
    }
    return value;
}

TEST(ContentPacking, PutsEachColourBitInItsPlaneWithTheTopRowInBit31) {
    LampImage image(3, 5);
    image.set(0, 0, 7);  // white: all three planes
    image.set(1, 2, 4);  // red: plane 2 only
    image.set(2, 4, 3);  // cyan: planes 0 and 1, in the bottom row
    PlayerContent content;
    ASSERT_TRUE(packLampPicture(image.pixels(), image.whole(), false, content));

    EXPECT_EQ(content.columnCount(), 3u);
    EXPECT_EQ(content.rowCount(), 5u);
    EXPECT_EQ(content.columns()[0], (ContentColumn{0x80000000u, 0x80000000u, 0x80000000u}));
    EXPECT_EQ(content.columns()[1], (ContentColumn{0, 0, 0x20000000u}));
    // Five rows use bits 31 to 27; the bottom row is bit 27 and nothing lies below it.
    EXPECT_EQ(content.columns()[2], (ContentColumn{0x08000000u, 0x08000000u, 0}));
}

TEST(ContentPacking, FlipPacksTheBottomRowFirst) {
    LampImage image(2, 4);
    image.set(0, 0, 1);
    image.set(1, 3, 6);
    image.set(1, 1, 2);
    PlayerContent upright;
    PlayerContent flipped;
    ASSERT_TRUE(packLampPicture(image.pixels(), image.whole(), false, upright));
    ASSERT_TRUE(packLampPicture(image.pixels(), image.whole(), true, flipped));
    for (int x = 0; x < 2; ++x) {
        for (int y = 0; y < 4; ++y) {
            EXPECT_EQ(packedValue(flipped, x, y), packedValue(upright, x, 3 - y)) << x << "," << y;
        }
    }
    EXPECT_EQ(packedValue(flipped, 0, 3), 1);
    EXPECT_EQ(packedValue(flipped, 1, 0), 6);
}

TEST(ContentPacking, PacksOnlyTheRectangle) {
    LampImage image(10, 8);
    image.set(3, 2, 5);
    image.set(6, 5, 2);
    image.set(0, 0, 7);  // outside the rectangle
    PlayerContent content;
    ASSERT_TRUE(packLampPicture(image.pixels(), {3, 2, 7, 6}, false, content));
    EXPECT_EQ(content.columnCount(), 4u);
    EXPECT_EQ(content.rowCount(), 4u);
    EXPECT_EQ(packedValue(content, 0, 0), 5);
    EXPECT_EQ(packedValue(content, 3, 3), 2);
    int lit = 0;
    for (int x = 0; x < 4; ++x) {
        for (int y = 0; y < 32; ++y) {
            lit += packedValue(content, x, y) != 0 ? 1 : 0;
        }
    }
    EXPECT_EQ(lit, 2);
}

TEST(ContentPacking, KeepsTheMiddle32RowsOfATallerPicture) {
    // Each row's value tells its row number, so the kept rows can be recognised.
    const auto rowValue = [](int y) { return static_cast<std::uint8_t>(1 + y % 7); };
    for (const int height : {40, 33, 32}) {
        LampImage image(1, height);
        for (int y = 0; y < height; ++y) {
            image.set(0, y, rowValue(y));
        }
        PlayerContent content;
        ASSERT_TRUE(packLampPicture(image.pixels(), image.whole(), false, content));
        EXPECT_EQ(content.rowCount(), 32u);
        // 40 rows lose 4 at the top and 4 at the bottom; 33 lose their bottom row.
        const int firstKept = (height - 32) / 2;
        for (int y = 0; y < 32; ++y) {
            EXPECT_EQ(packedValue(content, 0, y), rowValue(firstKept + y)) << height << " rows";
        }
    }
}

TEST(ContentPacking, LimitsTheRectangleToThePicture) {
    LampImage image(4, 3);
    image.set(3, 2, 7);
    PlayerContent content;
    ASSERT_TRUE(packLampPicture(image.pixels(), {2, 1, 50, 50}, false, content));
    EXPECT_EQ(content.columnCount(), 2u);
    EXPECT_EQ(content.rowCount(), 2u);
    EXPECT_EQ(packedValue(content, 1, 1), 7);

    // Nothing of the rectangle inside the picture: an empty content, replacing the old one.
    ASSERT_TRUE(packLampPicture(image.pixels(), {5, 0, 9, 3}, false, content));
    EXPECT_TRUE(content.empty());
    EXPECT_EQ(content.rowCount(), 0u);
}

}  // namespace
}  // namespace rova
