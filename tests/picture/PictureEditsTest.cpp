#include <gtest/gtest.h>

#include <QRect>

#include <optional>
#include <vector>

#include "Picture.h"
#include "PictureEdits.h"
#include "PictureValues.h"

namespace rova {
namespace {

using test::makeLamp;
using test::setRgb;
using test::valuesOf;

TEST(PictureBounds, ContentBoundsCoverTheLitPixels) {
    Picture picture;
    ASSERT_TRUE(picture.createLamp(10, 8));
    EXPECT_FALSE(contentBounds(picture).has_value());
    picture.row(5)[3] = 2;
    EXPECT_EQ(contentBounds(picture), QRect(3, 5, 1, 1));  // left 3, top 5, right 4, bottom 6
    picture.row(1)[7] = 7;
    picture.row(6)[0] = 1;
    EXPECT_EQ(contentBounds(picture), QRect(0, 1, 8, 6));

    // Display rows count from the top in a bottom-up picture too; any nonzero byte counts.
    Picture colour;
    ASSERT_TRUE(colour.create(4, 3, false, 24, {}, 0));
    colour.row(0)[3 * 2 + 2] = 1;  // red 1 at (2, 0)
    EXPECT_EQ(contentBounds(colour), QRect(2, 0, 1, 1));

    Picture fewBits;
    ASSERT_TRUE(fewBits.create(4, 4, true, 4, {}, 0));
    fewBits.row(0)[0] = 0xFF;
    EXPECT_FALSE(contentBounds(fewBits).has_value());
    EXPECT_FALSE(contentBounds(Picture()).has_value());
}

TEST(PictureInvert, LampIndicesSwapAndTwiceRestores) {
    Picture lamp;
    makeLamp(lamp, {{0, 1, 2, 3, 4, 5, 6, 7}, {7, 7, 0, 0, 4, 4, 2, 1}});
    const auto before = valuesOf(lamp);
    ASSERT_TRUE(invertPicture(lamp));
    EXPECT_EQ(valuesOf(lamp)[0], (std::vector<std::uint32_t>{7, 6, 5, 4, 3, 2, 1, 0}));
    ASSERT_TRUE(invertPicture(lamp));
    EXPECT_EQ(valuesOf(lamp), before);

    // The text table: pure white and black swap; the text White goes to black.
    Picture text;
    ASSERT_TRUE(text.createLamp(3, 1, true));
    text.row(0)[0] = 8;
    text.row(0)[2] = 7;
    ASSERT_TRUE(invertPicture(text));
    EXPECT_EQ(valuesOf(text)[0], (std::vector<std::uint32_t>{0, 8, 0}));

    const std::vector<TableEntry> blackWhite = {{0, 0, 0, 0}, {255, 255, 255, 0}};
    Picture mono;
    ASSERT_TRUE(mono.create(9, 1, true, 1, blackWhite, 2));
    mono.row(0)[0] = 0xA5;
    ASSERT_TRUE(invertPicture(mono));
    EXPECT_EQ(mono.row(0)[0], 0x5A);
    EXPECT_EQ(mono.pixelValue(8, 0), 1u);
    EXPECT_EQ(mono.row(0)[1] & 0x7F, 0);  // padding bits are left alone
}

TEST(PictureInvert, DirectColourPicturesInvertEveryBit) {
    for (int bitCount : {16, 24, 32}) {
        SCOPED_TRACE(bitCount);
        Picture picture;
        ASSERT_TRUE(picture.create(2, 2, bitCount == 24, bitCount, {}, 0));
        const std::uint32_t allBits = bitCount == 32 ? 0xFFFFFFFFu : (1u << bitCount) - 1;
        for (int i = 0; i < bitCount / 8; ++i) {
            picture.row(1)[static_cast<std::size_t>(i)] =
                static_cast<std::uint8_t>(0x12 + 0x22 * i);
        }
        const std::uint32_t value = picture.pixelValue(0, 1);
        ASSERT_TRUE(invertPicture(picture));
        EXPECT_EQ(picture.pixelValue(0, 1), value ^ allBits);
        EXPECT_EQ(picture.pixelValue(1, 0), allBits);
    }
}

TEST(PictureResize, GrowingCentresAndShrinkingKeepsTheCentre) {
    Picture picture;
    std::vector<std::vector<std::uint32_t>> grid(5, std::vector<std::uint32_t>(5));
    for (std::uint32_t y = 0; y < 5; ++y) {
        for (std::uint32_t x = 0; x < 5; ++x) {
            grid[y][x] = 1 + (x + y) % 6;
        }
    }
    makeLamp(picture, grid);

    Picture grown;
    ASSERT_TRUE(resizePicture(grown, picture, 8, 8, 0x0000FF));
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            const bool inside = x >= 1 && x <= 5 && y >= 1 && y <= 5;
            EXPECT_EQ(grown.pixelValue(x, y), inside ? grid[y - 1][x - 1] : 4u) << x << "," << y;
        }
    }
    EXPECT_TRUE(grown.isTopDown());

    ASSERT_TRUE(resizePicture(picture, 3, 3, 0));
    EXPECT_EQ(valuesOf(picture),
              (std::vector<std::vector<std::uint32_t>>{{grid[1][1], grid[1][2], grid[1][3]},
                                                       {grid[2][1], grid[2][2], grid[2][3]},
                                                       {grid[3][1], grid[3][2], grid[3][3]}}));

    // Ten columns to twelve with Blue: one blue column each side; to eight: one off each side.
    Picture wide;
    ASSERT_TRUE(wide.createLampFilled(10, 16, 0x00FFFF));
    wide.row(3)[0] = 2;
    wide.row(3)[9] = 5;
    Picture twelve;
    ASSERT_TRUE(resizePicture(twelve, wide, 12, 16, 0xFF0000));
    EXPECT_EQ(twelve.pixelValue(0, 3), 1u);
    EXPECT_EQ(twelve.pixelValue(1, 3), 2u);
    EXPECT_EQ(twelve.pixelValue(10, 3), 5u);
    EXPECT_EQ(twelve.pixelValue(11, 3), 1u);
    ASSERT_TRUE(resizePicture(wide, 8, 16, 0));
    EXPECT_EQ(wide.pixelValue(0, 3), 6u);
    EXPECT_EQ(wide.pixelValue(7, 3), 6u);

    // A bottom-up picture stays bottom-up and keeps its format.
    Picture colour;
    ASSERT_TRUE(colour.create(1, 1, false, 24, {}, 0));
    setRgb(colour, 0, 0, qRgb(1, 2, 3));
    ASSERT_TRUE(resizePicture(colour, 3, 2, 0x00FF00));
    EXPECT_FALSE(colour.isTopDown());
    EXPECT_EQ(colour.pixelValue(1, 0), 0x010203u);
    EXPECT_EQ(colour.pixelValue(0, 0), 0x00FF00u);
    EXPECT_EQ(colour.pixelValue(2, 1), 0x00FF00u);
    EXPECT_FALSE(resizePicture(colour, 0, 2, 0));
    EXPECT_EQ(colour.width(), 3);
}

TEST(PictureCrop, CopiesTheRectangleIntoATopDownPicture) {
    Picture picture;
    ASSERT_TRUE(picture.createLamp(10, 6));
    picture.row(2)[3] = 4;
    picture.row(4)[5] = 2;
    const std::optional<QRect> bounds = contentBounds(picture);
    ASSERT_EQ(bounds, QRect(3, 2, 3, 3));
    Picture cropped;
    ASSERT_TRUE(cropPicture(cropped, picture, *bounds, 0));
    EXPECT_TRUE(cropped.isTopDown());
    EXPECT_EQ(cropped.colourTable().size(), 8u);
    EXPECT_EQ(valuesOf(cropped),
              (std::vector<std::vector<std::uint32_t>>{{4, 0, 0}, {0, 0, 0}, {0, 0, 2}}));

    // Parts outside the source take the fill colour.
    ASSERT_TRUE(cropPicture(cropped, picture, QRect(2, -1, 2, 4), 0x00FF00));
    EXPECT_EQ(valuesOf(cropped),
              (std::vector<std::vector<std::uint32_t>>{{2, 2}, {0, 0}, {0, 0}, {0, 4}}));

    // A bottom-up source gives a top-down crop the same way up.
    Picture colour;
    ASSERT_TRUE(colour.create(2, 3, false, 24, {}, 0));
    setRgb(colour, 1, 0, qRgb(9, 8, 7));
    ASSERT_TRUE(cropPicture(colour, colour, QRect(1, 0, 1, 2), 0));
    EXPECT_TRUE(colour.isTopDown());
    EXPECT_EQ(colour.pixelValue(0, 0), 0x090807u);
    EXPECT_EQ(colour.pixelValue(0, 1), 0u);
    EXPECT_FALSE(cropPicture(colour, picture, QRect(0, 0, 0, 3), 0));
}

TEST(PictureScale, AveragesThenMapsToTheNearestEntry) {
    Picture lamp;
    makeLamp(lamp, {{7, 7, 1, 0}, {7, 0, 0, 0}});
    Picture halved;
    ASSERT_TRUE(scalePicture(halved, lamp, 2, 1));
    // Three white and one black average to (191, 191, 191): white. One blue among three black
    // averages to (0, 0, 64): black.
    EXPECT_EQ(valuesOf(halved), (std::vector<std::vector<std::uint32_t>>{{7, 0}}));
    EXPECT_EQ(halved.colourTable().size(), 8u);

    Picture pair;
    makeLamp(pair, {{4, 2}});
    ASSERT_TRUE(scalePicture(pair, 6, 3));
    EXPECT_EQ(valuesOf(pair), (std::vector<std::vector<std::uint32_t>>(
                                  3, std::vector<std::uint32_t>{4, 4, 4, 2, 2, 2})));

    // Without a table the average itself is stored.
    Picture colour;
    ASSERT_TRUE(colour.create(2, 2, false, 24, {}, 0));
    setRgb(colour, 0, 0, qRgb(0, 0, 0));
    setRgb(colour, 1, 0, qRgb(100, 0, 0));
    setRgb(colour, 0, 1, qRgb(0, 200, 0));
    setRgb(colour, 1, 1, qRgb(0, 0, 40));
    ASSERT_TRUE(scalePicture(colour, 1, 1));
    EXPECT_EQ(colour.pixelValue(0, 0), 0x19320Au);
    EXPECT_FALSE(scalePicture(colour, 1, 0));
    EXPECT_EQ(colour.width(), 1);
}

}  // namespace
}  // namespace rova
