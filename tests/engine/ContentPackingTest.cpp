// Packing a lamp picture into columns of bit-plane words.

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "ContentPacking.h"

namespace rova {
namespace {

// A lamp picture in memory, top row first, with padding at the end of each row so that a packer
// that ignored the row step would read the wrong bytes.
struct LampImage {
    LampImage(int w, int h)
        : width(w), height(h), bytes(static_cast<std::size_t>(w + 3) * h, 0xEE) {
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                set(x, y, 0);
            }
        }
    }
    void set(int x, int y, std::uint8_t value) {
        bytes[static_cast<std::size_t>(y * (width + 3) + x)] = value;
    }
    // Packs the rectangle into `content`, which is asserted to have worked.
    PlayerContent pack(LampRect rect, bool flip = false) const {
        PlayerContent content;
        EXPECT_TRUE(packLampPicture({bytes.data(), width + 3, width, height}, rect, flip, content));
        return content;
    }
    PlayerContent packWhole(bool flip = false) const { return pack({0, 0, width, height}, flip); }

    int width;
    int height;
    std::vector<std::uint8_t> bytes;
};

// The colour index the packed content holds at column x, row y (0 the top row).
int packedValue(const PlayerContent& content, int x, int y) {
    int value = 0;
    for (int plane = 0; plane < 3; ++plane) {
        value |= static_cast<int>((content.columns()[x][plane] >> (31 - y)) & 1u) << plane;
    }
    return value;
}

TEST(ContentPacking, PacksOnlyTheRectangleLimitedToThePicture) {
    LampImage image(10, 8);
    image.set(3, 2, 5);
    image.set(6, 5, 2);
    image.set(9, 7, 7);
    image.set(0, 0, 7);  // outside every rectangle below
    PlayerContent content = image.pack({3, 2, 7, 6});
    EXPECT_EQ(content.columnCount(), 4u);
    EXPECT_EQ(content.rowCount(), 4u);
    EXPECT_EQ(content.columns()[0], (ContentColumn{0x80000000u, 0, 0x80000000u}));
    EXPECT_EQ(content.columns()[1], (ContentColumn{}));
    EXPECT_EQ(content.columns()[3], (ContentColumn{0, 0x10000000u, 0}));

    content = image.pack({8, 6, 50, 50});
    EXPECT_EQ(content.columnCount(), 2u);
    EXPECT_EQ(content.rowCount(), 2u);
    EXPECT_EQ(packedValue(content, 1, 1), 7);

    // Nothing of the rectangle inside the picture: an empty content.
    EXPECT_TRUE(image.pack({10, 0, 19, 3}).empty());
    EXPECT_TRUE(image.pack({-5, -5, 0, 3}).empty());
}

TEST(ContentPacking, KeepsTheMiddle32RowsOfATallerPicture) {
    // Each row's value tells its row number, so the kept rows can be recognised.
    const auto rowValue = [](int y) { return static_cast<std::uint8_t>(1 + y % 7); };
    for (const int height : {40, 33, 32}) {
        SCOPED_TRACE(height);
        LampImage image(1, height);
        for (int y = 0; y < height; ++y) {
            image.set(0, y, rowValue(y));
        }
        const PlayerContent content = image.packWhole();
        EXPECT_EQ(content.rowCount(), 32u);
        // 40 rows lose 4 at the top and 4 at the bottom; 33 lose their bottom row.
        const int firstKept = height == 40 ? 4 : 0;
        for (int y = 0; y < 32; ++y) {
            EXPECT_EQ(packedValue(content, 0, y), rowValue(firstKept + y)) << "row " << y;
        }
    }
}

}  // namespace
}  // namespace rova
