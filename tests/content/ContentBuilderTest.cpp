// Building a parameter set's packed content: the Fit search, Height, Flip, the keep bits and
// Auto width, from a stand-in drawing and from real text and pictures.

#include <gtest/gtest.h>

#include <QTextDocument>

#include <utility>
#include <vector>

#include "ContentBuilder.h"
#include "ContentTestSupport.h"
#include "Picture.h"
#include "PictureDC.h"
#include "PictureEdits.h"
#include "TextRenderer.h"

namespace rova {
namespace {

using test::colouredText;
using test::documentOf;
using test::textDefaults;
using Scale = std::pair<int, int>;

// A stand-in content of `naturalRows` rows, 3 columns per row, every pixel blue. Drawn at a
// scale other than 1:1 it comes out `extraRows` taller than the exact scale, as glyphs shaped
// for a larger size can. Records every scale it is drawn at.
struct StandInDrawing {
    explicit StandInDrawing(int natural, int extra = 0) : naturalRows(natural), extraRows(extra) {}

    int naturalRows;
    int extraRows;
    std::vector<Scale> scales;

    ScaledDrawing drawing() {
        return [this](Picture& picture, int numerator, int denominator) -> std::optional<QRect> {
            scales.emplace_back(numerator, denominator);
            int rows = (naturalRows * numerator + denominator / 2) / denominator;
            if (numerator != denominator) {
                rows += extraRows;
            }
            if (!picture.createLampFilled(3 * rows, rows, 0xFF0000)) {
                return std::nullopt;
            }
            return QRect(0, 0, 3 * rows, rows);
        };
    }
};

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
        int natural;  // rows at 1:1
        int extra;    // rows more at any other scale
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
        StandInDrawing content{c.natural, c.extra};
        ASSERT_TRUE(buildContent(set, content.drawing()));
        EXPECT_EQ(content.scales, c.scales);
        EXPECT_EQ(set.content.rowCount(), c.rows);
        EXPECT_EQ(set.content.columnCount(), 3 * c.rows);
        EXPECT_EQ(set.parameters.heightAdjustment, c.heightAfter);
        EXPECT_EQ(set.keep, c.keepAfter);
        if (c.keep & KeepFlags::Height) {
            // The next build searches again.
            ASSERT_TRUE(buildContent(set, content.drawing()));
            EXPECT_EQ(set.parameters.heightAdjustment, 8);
        }
    }
}

TEST(ContentBuilder, StopsAtADrawingThatCannotShrinkAndEmptiesTheSetForNone) {
    // A drawing that stays 20 rows whatever the scale would otherwise be searched forever.
    ParameterSet set = setWith(PlayerFlags::Fit);
    const ScaledDrawing stubborn = [](Picture& picture, int, int) -> std::optional<QRect> {
        picture.createLampFilled(4, 20, 0x0000FF);
        return QRect(0, 0, 4, 20);
    };
    ASSERT_TRUE(buildContent(set, stubborn));
    EXPECT_EQ(set.content.rowCount(), 20u);
    EXPECT_EQ(set.parameters.heightAdjustment, -19);

    const ScaledDrawing nothing = [](Picture&, int, int) { return std::optional<QRect>(); };
    EXPECT_TRUE(buildContent(set, nothing));
    EXPECT_TRUE(set.content.empty());
}

class TextContentTest : public test::QtGuiApplicationTest {};

// The natural height of a text: its rows at 1:1.
int naturalRows(const QTextDocument& text) {
    ParameterSet natural = setWith(0);
    EXPECT_TRUE(buildTextContent(natural, text, textDefaults()));
    return static_cast<int>(natural.content.rowCount());
}

TEST_F(TextContentTest, FitScalesALowTextUpByItsNaturalHeightAndAnEmptyTextBuildsNothing) {
    const auto hello = documentOf(colouredText("Hello, World", 255, 0, 0));
    const int natural = naturalRows(*hello);
    ASSERT_LT(natural, 16);
    ParameterSet set = setWith(PlayerFlags::Fit);
    ASSERT_TRUE(buildTextContent(set, *hello, textDefaults()));
    // Drawn at 16 / natural; glyphs shaped for that size may come out a row short of 16.
    EXPECT_EQ(set.parameters.heightAdjustment, 16 - natural);
    EXPECT_LE(set.content.rowCount(), 16u);
    EXPECT_GE(set.content.rowCount(), 15u);

    ParameterSet empty = setWith(PlayerFlags::Fit);
    EXPECT_TRUE(buildTextContent(empty, QTextDocument(), textDefaults()));
    EXPECT_TRUE(empty.content.empty());
}

TEST_F(TextContentTest, FitSearchesATallTextDownToTheLargestHeightOfAtMost16Rows) {
    // 21-point "Lamp" is 18 rows high, and at 16/18 its glyphs still take 17 rows.
    const auto lamp = documentOf(R"({\rtf1{\fonttbl{\f0 Arial;}}\f0\fs42 Lamp})");
    const int natural = naturalRows(*lamp);
    ASSERT_GT(natural, 16);
    ParameterSet set = setWith(PlayerFlags::Fit);
    ASSERT_TRUE(buildTextContent(set, *lamp, textDefaults()));
    EXPECT_LE(set.content.rowCount(), 16u);
    EXPECT_LT(set.parameters.heightAdjustment, 16 - natural) << "the search went down";

    // One row of adjustment more, kept as it is, is too tall.
    ParameterSet taller =
        setWith(PlayerFlags::Fit, set.parameters.heightAdjustment + 1, KeepFlags::Height);
    ASSERT_TRUE(buildTextContent(taller, *lamp, textDefaults()));
    EXPECT_GT(taller.content.rowCount(), 16u);
}

TEST_F(TextContentTest, HeightAndFlipShapeTheRenderedText) {
    const auto hello = documentOf(colouredText("Hello, World", 0, 255, 0));
    ParameterSet natural = setWith(0);
    ASSERT_TRUE(buildTextContent(natural, *hello, textDefaults()));
    const int rows = static_cast<int>(natural.content.rowCount());

    // An adjustment of the natural height draws the text at 2:1.
    ParameterSet doubled = setWith(0, rows);
    ASSERT_TRUE(buildTextContent(doubled, *hello, textDefaults()));
    Picture band;
    ASSERT_TRUE(renderText(band, *hello, textDefaults(), 2, 1));
    EXPECT_EQ(doubled.content.rowCount(),
              static_cast<std::uint32_t>(contentBounds(band)->height()));
    EXPECT_EQ(doubled.content.columnCount(),
              static_cast<std::uint32_t>(contentBounds(band)->width()));

    // Flip reverses the rows of every column; green is plane 1.
    ParameterSet flipped = setWith(PlayerFlags::Flip);
    ASSERT_TRUE(buildTextContent(flipped, *hello, textDefaults()));
    ASSERT_EQ(flipped.content.columnCount(), natural.content.columnCount());
    for (std::uint32_t x = 0; x < natural.content.columnCount(); ++x) {
        for (int y = 0; y < rows; ++y) {
            const auto bit = [&](const ParameterSet& set, int row) {
                return (set.content.columns()[x][1] >> (31 - row)) & 1u;
            };
            EXPECT_EQ(bit(flipped, y), bit(natural, rows - 1 - y)) << x << "," << y;
        }
    }
}

class PictureContentTest : public test::QtGuiApplicationTest {
  protected:
    // A 10 × 8 lamp picture: black with a red top row and a yellow bottom-right pixel.
    void SetUp() override {
        ASSERT_TRUE(working_.createLamp(10, 8));
        PictureDC dc;
        ASSERT_TRUE(dc.open(working_));
        dc.painter().fillRect(0, 0, 10, 1, QColor(255, 0, 0));
        dc.painter().fillRect(9, 7, 1, 1, QColor(255, 255, 0));
        dc.release(true);
    }

    int valueAt(const ParameterSet& set, int x, int y) const {
        int value = 0;
        for (int plane = 0; plane < 3; ++plane) {
            value |= static_cast<int>((set.content.columns()[x][plane] >> (31 - y)) & 1u) << plane;
        }
        return value;
    }

    Picture working_;
};

TEST_F(PictureContentTest, PacksTheWholePictureAtItsRows) {
    ParameterSet set = setWith(0);
    ASSERT_TRUE(buildPictureContent(set, working_, 8));
    EXPECT_EQ(set.content.columnCount(), 10u);
    EXPECT_EQ(set.content.rowCount(), 8u);
    EXPECT_EQ(valueAt(set, 0, 0), 4);
    EXPECT_EQ(valueAt(set, 5, 3), 0);
    EXPECT_EQ(valueAt(set, 9, 7), 6);
}

TEST_F(PictureContentTest, FitStretchesThePictureTo16Rows) {
    ParameterSet set = setWith(PlayerFlags::Fit | PlayerFlags::Flip);
    ASSERT_TRUE(buildPictureContent(set, working_, 8));
    EXPECT_EQ(set.content.columnCount(), 20u);
    EXPECT_EQ(set.content.rowCount(), 16u);
    EXPECT_EQ(set.parameters.heightAdjustment, 8);
    // Flipped: the red top rows are now at the bottom, the yellow corner at the top right.
    EXPECT_EQ(valueAt(set, 0, 15), 4);
    EXPECT_EQ(valueAt(set, 0, 14), 4);
    EXPECT_EQ(valueAt(set, 19, 0), 6);
}

TEST_F(PictureContentTest, APictureScaledBeyondTheLargestBandIsNotDrawn) {
    ParameterSet set = setWith(0, 2'000'000'000);
    EXPECT_TRUE(buildPictureContent(set, working_, 8));
    EXPECT_TRUE(set.content.empty());

    // Rows that make no picture at all.
    ParameterSet none = setWith(0);
    EXPECT_TRUE(buildPictureContent(none, working_, 0));
    EXPECT_TRUE(none.content.empty());
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
