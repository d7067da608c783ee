#include <gtest/gtest.h>

#include <vector>

#include "AreaScale.h"
#include "Colour.h"

namespace rova {
namespace {

TEST(NearestColour, ExactLampColoursMapToTheirOwnIndex) {
    NearestColour nearest(kLampTable);
    for (std::size_t i = 0; i < kLampTable.size(); ++i) {
        EXPECT_EQ(nearest.indexOf(rgbOf(kLampTable[i])), i);
    }
}

TEST(NearestColour, MixedColoursGoToTheClosestEntry) {
    NearestColour nearest(kLampTable);
    EXPECT_EQ(nearest.indexOf(qRgb(200, 30, 10)), 4);    // reddish: red
    EXPECT_EQ(nearest.indexOf(qRgb(100, 20, 20)), 0);    // dark: black
    EXPECT_EQ(nearest.indexOf(qRgb(224, 224, 224)), 7);  // the text White: white
    EXPECT_EQ(nearest.indexOf(qRgb(240, 240, 10)), 6);   // yellowish: yellow
    EXPECT_EQ(nearest.indexOf(qRgb(10, 130, 140)), 3);   // teal: cyan
    // The alpha byte plays no part.
    EXPECT_EQ(nearest.indexOf(qRgba(0, 0, 255, 0)), 1);
}

TEST(NearestColour, TextTableKeepsTextWhiteAndPureWhiteApart) {
    NearestColour nearest(kTextLampTable);
    EXPECT_EQ(nearest.indexOf(qRgb(224, 224, 224)), 7);
    EXPECT_EQ(nearest.indexOf(qRgb(255, 255, 255)), 8);
    EXPECT_EQ(nearest.indexOf(qRgb(230, 230, 230)), 7);
    EXPECT_EQ(nearest.indexOf(qRgb(250, 250, 250)), 8);
}

TEST(NearestColour, TiesGoToTheLowestIndexAndTheMemoryDoesNotLeak) {
    const std::vector<TableEntry> table = {{0, 0, 0, 0}, {10, 10, 10, 0}, {10, 10, 10, 0}};
    NearestColour nearest(table);
    EXPECT_EQ(nearest.indexOf(qRgb(5, 5, 5)), 0);  // equally far from 0 and 1
    EXPECT_EQ(nearest.indexOf(qRgb(9, 9, 9)), 1);  // 1 and 2 are equal: the first wins
    EXPECT_EQ(nearest.indexOf(qRgb(9, 9, 9)), 1);  // remembered answer
    EXPECT_EQ(nearest.indexOf(qRgb(1, 1, 1)), 0);  // a new colour is looked up again
    NearestColour empty({});
    EXPECT_EQ(empty.indexOf(qRgb(255, 0, 0)), 0);
}

// Scales a grid of colours given row by row.
QImage scaleGrid(const std::vector<std::vector<QRgb>>& grid, QSize target) {
    const QSize source(static_cast<int>(grid[0].size()), static_cast<int>(grid.size()));
    return scaleByAreaAverage(
        source,
        [&](int y, std::span<QRgb> out) {
            std::copy(grid[static_cast<std::size_t>(y)].begin(),
                      grid[static_cast<std::size_t>(y)].end(), out.begin());
        },
        target);
}

QRgb grey(int level) {
    return qRgb(level, level, level);
}

TEST(AreaScale, ShrinkingAveragesTheCoveredArea) {
    // Two by two blocks average to one pixel each.
    const QImage halved = scaleGrid(
        {{grey(0), grey(100), grey(200), grey(200)}, {grey(40), grey(60), grey(200), grey(200)}},
        QSize(2, 1));
    ASSERT_EQ(halved.size(), QSize(2, 1));
    EXPECT_EQ(halved.pixel(0, 0), grey(50));
    EXPECT_EQ(halved.pixel(1, 0), grey(200));

    // Three pixels into two: the middle one is split half and half.
    const QImage twoThirds = scaleGrid({{grey(0), grey(90), grey(180)}}, QSize(2, 1));
    EXPECT_EQ(twoThirds.pixel(0, 0), grey(30));   // (1 × 0 + 0.5 × 90) / 1.5
    EXPECT_EQ(twoThirds.pixel(1, 0), grey(150));  // (0.5 × 90 + 1 × 180) / 1.5

    // Channels are averaged separately and rounded to nearest.
    const QImage mixed = scaleGrid({{qRgb(255, 0, 0), qRgb(0, 0, 255)}}, QSize(1, 1));
    EXPECT_EQ(mixed.pixel(0, 0), qRgb(128, 0, 128));
}

TEST(AreaScale, GrowingByWholeFactorsRepeatsPixels) {
    const QImage doubled = scaleGrid({{grey(10), grey(20)}, {grey(30), grey(40)}}, QSize(4, 6));
    ASSERT_EQ(doubled.size(), QSize(4, 6));
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 4; ++x) {
            EXPECT_EQ(doubled.pixel(x, y), grey(10 + 10 * (x / 2) + 20 * (y / 3))) << x << "," << y;
        }
    }
    // Growing by a fraction blends only where a target pixel straddles two source pixels.
    const QImage stretched = scaleGrid({{grey(0), grey(200)}}, QSize(3, 1));
    EXPECT_EQ(stretched.pixel(0, 0), grey(0));
    EXPECT_EQ(stretched.pixel(1, 0), grey(100));
    EXPECT_EQ(stretched.pixel(2, 0), grey(200));
}

TEST(AreaScale, SameSizeIsAnExactCopyAndEmptySizesFail) {
    const std::vector<std::vector<QRgb>> grid = {{qRgb(1, 2, 3), qRgb(250, 128, 7)},
                                                 {qRgb(0, 255, 0), qRgb(9, 99, 199)}};
    const QImage copy = scaleGrid(grid, QSize(2, 2));
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 2; ++x) {
            EXPECT_EQ(copy.pixel(x, y), grid[y][x]);
        }
    }
    EXPECT_TRUE(scaleGrid(grid, QSize(0, 2)).isNull());
    EXPECT_TRUE(scaleByAreaAverage(
                    QSize(0, 0), [](int, std::span<QRgb>) {}, QSize(2, 2))
                    .isNull());
}

}  // namespace
}  // namespace rova
