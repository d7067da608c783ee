// Building a parameter set's packed content: the Fit search, Height, Flip, the keep bits and
// Auto width, from a stand-in drawing and from real text and pictures.

#include <gtest/gtest.h>

#include <QTextDocument>

#include <array>
#include <utility>
#include <vector>

#include "ContentBuilder.h"
#include "ContentTestSupport.h"
#include "Picture.h"
#include "PictureDC.h"

namespace rova {
namespace {

using test::colouredText;
using test::documentOf;
using test::textDefaults;
using Scale = std::pair<int, int>;

// A stand-in content of `natural` rows, 3 columns per row, every pixel blue. Drawn at a scale
// other than 1:1 it comes out `extra` rows taller than the exact scale, as glyphs shaped for a
// larger size can. Records every scale it is drawn at in `scales`.
ScaledDrawing standIn(int natural, int extra, std::vector<Scale>& scales) {
    return [natural, extra, &scales](Picture& picture, int numerator,
                                     int denominator) -> std::optional<QRect> {
        scales.emplace_back(numerator, denominator);
        const int rows = (natural * numerator + denominator / 2) / denominator +
                         (numerator != denominator ? extra : 0);
        if (!picture.createLampFilled(3 * rows, rows, 0xFF0000)) {
            return std::nullopt;
        }
        return QRect(0, 0, 3 * rows, rows);
    };
}

ParameterSet setWith(std::uint32_t playerFlags, int heightAdjustment = 0, std::uint32_t keep = 0) {
    ParameterSet set;
    set.parameters.playerFlags = playerFlags;
    set.parameters.heightAdjustment = heightAdjustment;
    set.keep = keep;
    return set;
}

TEST(ContentBuilder, DrawsAtTheScaleThatFitAndHeightAsk) {
    constexpr std::uint32_t kFit = PlayerFlags::Fit;
    constexpr std::uint32_t kWidth = KeepFlags::Width;
    constexpr std::uint32_t kHeight = KeepFlags::Height;
    const struct {
        const char* what;
        std::uint32_t flags;
        int height;
        std::uint32_t keep;
        int natural, extra;  // rows at 1:1, and rows more at any other scale
        std::vector<Scale> scales;
        std::uint32_t rows;
        int heightAfter;
        std::uint32_t keepAfter;  // only the height bit is consumed
    } cases[] = {
        {"Fit, low content", kFit, 0, kWidth, 8, 0, {{1, 1}, {16, 8}}, 16, 8, kWidth},
        // 16/20 gives 17 rows, one too many; 15/20 gives 16.
        {"Fit, tall content", kFit, 0, 0, 20, 1, {{1, 1}, {16, 20}, {15, 20}}, 16, -5, 0},
        {"Fit, 16 rows", kFit, 7, 0, 16, 0, {{1, 1}}, 16, 0, 0},
        {"Fit, kept height", kFit, 4, kHeight | kWidth, 8, 0, {{1, 1}, {12, 8}}, 12, 4, kWidth},
        {"Height", 0, 4, 0, 8, 0, {{1, 1}, {12, 8}}, 12, 4, 0},
        {"Height below one row", 0, -20, 0, 8, 0, {{1, 1}, {1, 8}}, 1, -20, 0},
        {"no adjustment", 0, 0, 0, 8, 0, {{1, 1}}, 8, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ParameterSet set = setWith(c.flags, c.height, c.keep);
        std::vector<Scale> scales;
        ASSERT_TRUE(buildContent(set, standIn(c.natural, c.extra, scales)));
        EXPECT_EQ(scales, c.scales);
        EXPECT_EQ(set.content.rowCount(), c.rows);
        EXPECT_EQ(set.content.columnCount(), 3 * c.rows);
        EXPECT_EQ(set.parameters.heightAdjustment, c.heightAfter);
        EXPECT_EQ(set.keep, c.keepAfter);
        if (c.keep & KeepFlags::Height) {
            // The next build searches again.
            ASSERT_TRUE(buildContent(set, standIn(c.natural, c.extra, scales)));
            EXPECT_EQ(set.parameters.heightAdjustment, 8);
        }
    }
}

TEST(ContentBuilder, StopsAtADrawingThatCannotShrinkAndEmptiesTheSetForNone) {
    // At every scale but 1:1 this drawing is 19 rows taller than the scale makes it: searched
    // down to 1:20, where nothing gets any smaller, it still has 20 rows.
    ParameterSet set = setWith(PlayerFlags::Fit);
    std::vector<Scale> scales;
    ASSERT_TRUE(buildContent(set, standIn(20, 19, scales)));
    EXPECT_EQ(scales.back(), Scale(1, 20));
    EXPECT_EQ(set.content.rowCount(), 20u);
    EXPECT_EQ(set.parameters.heightAdjustment, -19);

    EXPECT_TRUE(buildContent(set, [](Picture&, int, int) { return std::optional<QRect>(); }));
    EXPECT_TRUE(set.content.empty());
}

class TextContentTest : public test::QtGuiApplicationTest {};

// A low text is drawn at 16 / its natural height; glyphs shaped for that size may come out a row
// short of 16. How Fit and Height pick the scale is the stand-in drawing's test above.
TEST_F(TextContentTest, FitDrawsALowTextSixteenRowsHighAndAnEmptyTextAsNothing) {
    const auto hello = documentOf(colouredText("Hello, World", 255, 0, 0));
    ParameterSet natural = setWith(0);
    ASSERT_TRUE(buildTextContent(natural, *hello, textDefaults()));
    const int rows = static_cast<int>(natural.content.rowCount());
    ASSERT_LT(rows, 16);
    ParameterSet fit = setWith(PlayerFlags::Fit);
    ASSERT_TRUE(buildTextContent(fit, *hello, textDefaults()));
    EXPECT_EQ(fit.parameters.heightAdjustment, 16 - rows);
    EXPECT_LE(fit.content.rowCount(), 16u);
    EXPECT_GE(fit.content.rowCount(), 15u);

    ParameterSet empty = setWith(PlayerFlags::Fit);
    EXPECT_TRUE(buildTextContent(empty, QTextDocument(), textDefaults()));
    EXPECT_TRUE(empty.content.empty());
}

// A 10 × 8 lamp picture: black with a red top row and a yellow bottom-right pixel.
class PictureContentTest : public test::QtGuiApplicationTest {
  protected:
    void SetUp() override {
        ASSERT_TRUE(working_.createLamp(10, 8));
        PictureDC dc;
        ASSERT_TRUE(dc.open(working_));
        dc.painter().fillRect(0, 0, 10, 1, QColor(255, 0, 0));
        dc.painter().fillRect(9, 7, 1, 1, QColor(255, 255, 0));
        dc.release(true);
    }

    Picture working_;
};

// The lamp value (red 4, green 2, blue 1) at column x, row y of the packed content.
int valueAt(const ParameterSet& set, int x, int y) {
    int value = 0;
    for (int plane = 0; plane < 3; ++plane) {
        value |= static_cast<int>((set.content.columns()[x][plane] >> (31 - y)) & 1u) << plane;
    }
    return value;
}

TEST_F(PictureContentTest, PacksThePictureAtItsRowsAndTheScaleFitAndHeightAsk) {
    constexpr std::uint32_t kFitFlip = PlayerFlags::Fit | PlayerFlags::Flip;
    const struct {
        const char* what;
        std::uint32_t flags;
        int height, rows;
        std::uint32_t columnsAfter, rowsAfter;
        int heightAfter;
        std::vector<std::array<int, 3>> values;  // x, y and the lamp value there
    } cases[] = {
        {"as it is", 0, 0, 8, 10, 8, 0, {{0, 0, 4}, {5, 3, 0}, {9, 7, 6}}},
        // Stretched to 16 rows and flipped: the red top rows at the bottom, yellow at the top.
        {"Fit, Flip", kFitFlip, 0, 8, 20, 16, 8, {{0, 15, 4}, {0, 14, 4}, {0, 13, 0}, {19, 0, 6}}},
        {"beyond the largest band", 0, 2'000'000'000, 8, 0, 0, 2'000'000'000, {}},
        {"one row", 0, 0, 1, 1, 1, 0, {}},
        {"no rows", 0, 0, 0, 0, 0, 0, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ParameterSet set = setWith(c.flags, c.height);
        EXPECT_TRUE(buildPictureContent(set, working_, c.rows));
        EXPECT_EQ(set.content.columnCount(), c.columnsAfter);
        EXPECT_EQ(set.content.rowCount(), c.rowsAfter);
        EXPECT_EQ(set.parameters.heightAdjustment, c.heightAfter);
        for (const auto& [x, y, value] : c.values) {
            EXPECT_EQ(valueAt(set, x, y), value) << x << ", " << y;
        }
    }
}

TEST(AutoWidth, MakesEachColumnAsWideAsTheLampsAreApartUnlessTheWidthIsKept) {
    const struct {
        const char* what;
        std::uint32_t flags, keep, projections, columns;
        bool applied;
        double width;  // 140 is the default
    } cases[] = {
        {"one projection", PlayerFlags::AutoWidth, 0, 1, 100, true, 75.0},
        // With wrap or more projections the width stays within 360 / projections - 10.
        {"two projections", PlayerFlags::AutoWidth, 0, 2, 400, true, 170.0},
        {"width kept", PlayerFlags::AutoWidth, KeepFlags::Width, 1, 100, false, 140.0},
        {"Auto width off", 0, 0, 1, 100, false, 140.0},
        {"no content", PlayerFlags::AutoWidth, 0, 1, 0, false, 140.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ParameterSet set = setWith(c.flags, 0, c.keep | KeepFlags::Height);
        set.parameters.projections = c.projections;
        if (c.columns > 0) {
            ASSERT_NE(set.content.allocate(c.columns, 16).size(), 0u);
        }
        EXPECT_EQ(applyAutoWidth(set, 0.75), c.applied);
        EXPECT_DOUBLE_EQ(set.parameters.width, c.width);
        EXPECT_EQ(set.keep, KeepFlags::Height) << "the width bit is consumed";
        if (c.keep != 0) {
            EXPECT_TRUE(applyAutoWidth(set, 0.75)) << "the next build applies it";
        }
    }
}

}  // namespace
}  // namespace rova
