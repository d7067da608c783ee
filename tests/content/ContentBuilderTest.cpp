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

TEST(ContentBuilder, FitScalesALowContentUpTo16Rows) {
    ParameterSet set = setWith(PlayerFlags::Fit, 0, KeepFlags::Width);
    StandInDrawing content{8};
    ASSERT_TRUE(buildContent(set, content.drawing()));
    EXPECT_EQ(content.scales, (std::vector<Scale>{{1, 1}, {16, 8}}));
    EXPECT_EQ(set.content.rowCount(), 16u);
    EXPECT_EQ(set.content.columnCount(), 48u);
    EXPECT_EQ(set.parameters.heightAdjustment, 8);
    EXPECT_EQ(set.keep, KeepFlags::Width) << "only the height bit is consumed";
}

TEST(ContentBuilder, FitSearchesDownUntilATallContentIsAtMost16Rows) {
    ParameterSet set = setWith(PlayerFlags::Fit);
    StandInDrawing content{20, 1};
    ASSERT_TRUE(buildContent(set, content.drawing()));
    // 16/20 gives 17 rows, one too many; 15/20 gives 16.
    EXPECT_EQ(content.scales, (std::vector<Scale>{{1, 1}, {16, 20}, {15, 20}}));
    EXPECT_EQ(set.content.rowCount(), 16u);
    EXPECT_EQ(set.parameters.heightAdjustment, -5);

    // A content 16 rows high is drawn once, as it is.
    ParameterSet exact = setWith(PlayerFlags::Fit, 7);
    StandInDrawing sixteen{16};
    ASSERT_TRUE(buildContent(exact, sixteen.drawing()));
    EXPECT_EQ(sixteen.scales, (std::vector<Scale>{{1, 1}}));
    EXPECT_EQ(exact.parameters.heightAdjustment, 0);
}

TEST(ContentBuilder, FitStopsWhenTheContentCannotGetSmaller) {
    // A drawing that stays 20 rows whatever the scale would otherwise be searched forever.
    ParameterSet set = setWith(PlayerFlags::Fit);
    const ScaledDrawing stubborn = [](Picture& picture, int, int) -> std::optional<QRect> {
        picture.createLampFilled(4, 20, 0x0000FF);
        return QRect(0, 0, 4, 20);
    };
    ASSERT_TRUE(buildContent(set, stubborn));
    EXPECT_EQ(set.content.rowCount(), 20u);
    EXPECT_EQ(set.parameters.heightAdjustment, -19);
}

TEST(ContentBuilder, HeightScalesTheNaturalHeight) {
    ParameterSet set = setWith(0, 4);
    StandInDrawing content{8};
    ASSERT_TRUE(buildContent(set, content.drawing()));
    EXPECT_EQ(content.scales, (std::vector<Scale>{{1, 1}, {12, 8}}));
    EXPECT_EQ(set.content.rowCount(), 12u);
    EXPECT_EQ(set.parameters.heightAdjustment, 4);

    // A shrink below one row is drawn at 1:8.
    ParameterSet shrunk = setWith(0, -20);
    StandInDrawing small{8};
    ASSERT_TRUE(buildContent(shrunk, small.drawing()));
    EXPECT_EQ(small.scales.back(), Scale(1, 8));
    EXPECT_EQ(shrunk.content.rowCount(), 1u);

    // Without an adjustment the content is drawn once at 1:1.
    ParameterSet plain = setWith(0);
    StandInDrawing natural{8};
    ASSERT_TRUE(buildContent(plain, natural.drawing()));
    EXPECT_EQ(natural.scales, (std::vector<Scale>{{1, 1}}));
    EXPECT_EQ(plain.content.rowCount(), 8u);
}

TEST(ContentBuilder, KeepHeightSkipsTheFitSearchOnce) {
    ParameterSet set = setWith(PlayerFlags::Fit, 4, KeepFlags::Height | KeepFlags::Width);
    StandInDrawing content{8};
    ASSERT_TRUE(buildContent(set, content.drawing()));
    EXPECT_EQ(content.scales, (std::vector<Scale>{{1, 1}, {12, 8}}));
    EXPECT_EQ(set.parameters.heightAdjustment, 4);
    EXPECT_EQ(set.keep, KeepFlags::Width);

    // The next build searches again.
    StandInDrawing again{8};
    ASSERT_TRUE(buildContent(set, again.drawing()));
    EXPECT_EQ(set.parameters.heightAdjustment, 8);
}

TEST(ContentBuilder, AContentThatCannotBeDrawnLeavesTheSetEmpty) {
    ParameterSet set = setWith(PlayerFlags::Fit);
    StandInDrawing content{8};
    ASSERT_TRUE(buildContent(set, content.drawing()));
    ASSERT_FALSE(set.content.empty());

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

TEST_F(TextContentTest, FitScalesALowTextUpByItsNaturalHeight) {
    const auto hello = documentOf(colouredText("Hello, World", 255, 0, 0));
    const int natural = naturalRows(*hello);
    ASSERT_LT(natural, 16);
    ParameterSet set = setWith(PlayerFlags::Fit);
    ASSERT_TRUE(buildTextContent(set, *hello, textDefaults()));
    // Drawn at 16 / natural; glyphs shaped for that size may come out a row short of 16.
    EXPECT_EQ(set.parameters.heightAdjustment, 16 - natural);
    EXPECT_LE(set.content.rowCount(), 16u);
    EXPECT_GE(set.content.rowCount(), 15u);
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

TEST_F(TextContentTest, EmptyTextBuildsNoContent) {
    ParameterSet set = setWith(PlayerFlags::Fit);
    EXPECT_TRUE(buildTextContent(set, QTextDocument(), textDefaults()));
    EXPECT_TRUE(set.content.empty());
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

TEST(AutoWidth, MakesEachColumnAsWideAsTheLampsAreApart) {
    ParameterSet set = setWith(PlayerFlags::AutoWidth);
    set.parameters.projections = 1;
    ASSERT_NE(set.content.allocate(100, 16).size(), 0u);
    EXPECT_TRUE(applyAutoWidth(set, 0.75));
    EXPECT_DOUBLE_EQ(set.parameters.width, 75.0);

    // With wrap or more projections the width stays within 360 / projections - 10.
    set.parameters.projections = 2;
    ASSERT_NE(set.content.allocate(400, 16).size(), 0u);
    EXPECT_TRUE(applyAutoWidth(set, 0.75));
    EXPECT_DOUBLE_EQ(set.parameters.width, 170.0);
}

TEST(AutoWidth, KeepWidthOffOrNoContentLeavesTheWidth) {
    ParameterSet set = setWith(PlayerFlags::AutoWidth, 0, KeepFlags::Width | KeepFlags::Height);
    ASSERT_NE(set.content.allocate(100, 16).size(), 0u);
    EXPECT_FALSE(applyAutoWidth(set, 0.75));
    EXPECT_DOUBLE_EQ(set.parameters.width, 140.0);
    EXPECT_EQ(set.keep, KeepFlags::Height) << "the width bit is consumed";
    EXPECT_TRUE(applyAutoWidth(set, 0.75));

    ParameterSet manual = setWith(0);
    ASSERT_NE(manual.content.allocate(100, 16).size(), 0u);
    EXPECT_FALSE(applyAutoWidth(manual, 0.75));
    EXPECT_DOUBLE_EQ(manual.parameters.width, 140.0);

    ParameterSet empty = setWith(PlayerFlags::AutoWidth);
    EXPECT_FALSE(applyAutoWidth(empty, 0.75));
    EXPECT_DOUBLE_EQ(empty.parameters.width, 140.0);
}

}  // namespace
}  // namespace rova
