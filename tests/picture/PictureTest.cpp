// Pictures: creating them, their pixels, drawing them and drawing on them, the whole-picture
// edits, and the colour mapping and area scaling beneath.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QRect>

#include <functional>
#include <optional>
#include <vector>

#include "AreaScale.h"
#include "BmpCodec.h"
#include "Colour.h"
#include "Picture.h"
#include "PictureDC.h"
#include "PictureEdits.h"
#include "PictureValues.h"

namespace rova::test {
namespace {

// Records every call of `changed` and answers with `answer`.
class RecordingPicture : public Picture {
  public:
    std::vector<bool> calls;
    bool answer = true;

  protected:
    bool changed(bool pixelsLoaded) override {
        calls.push_back(pixelsLoaded);
        return answer;
    }
};

using Grid = std::vector<std::vector<QRgb>>;

// The colours of an image, row by row.
Grid pixelsOf(const QImage& image) {
    Grid rows(static_cast<std::size_t>(image.height()));
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            rows[y].push_back(image.pixel(x, y));
        }
    }
    return rows;
}

TEST(PictureCreate, InvalidRequestsFailAndLeaveThePictureEmpty) {
    Picture picture;
    // Width, height, bit count, colours; the last just over 256 MiB.
    const std::tuple<int, int, int, int> invalid[] = {
        {0, 4, 8, 0}, {4, 0, 8, 0}, {4, 4, 7, 0}, {4, 4, 2, 0}, {4, 4, 8, -1}, {8192, 8193, 32, 0}};
    for (const auto& [width, height, bitCount, colours] : invalid) {
        ASSERT_TRUE(picture.createLamp(2, 2));
        EXPECT_FALSE(picture.create(width, height, true, bitCount, {}, colours)) << width;
        EXPECT_FALSE(picture.hasPixels());
        EXPECT_EQ(picture.width(), 0);
    }
    EXPECT_FALSE(picture.createLike(3, 3, Picture()));
    // Colour counts beyond the bit count are clamped; missing entries are zero.
    ASSERT_TRUE(picture.create(2, 2, true, 8, kLampTable, 300));
    EXPECT_EQ(picture.header().coloursUsed, 256u);
    EXPECT_EQ(picture.colourTable()[7], kLampTable[7]);
    EXPECT_EQ(picture.colourTable()[8], TableEntry{});
}

TEST(PictureNotification, ChangedComesLastWithTheRightFlagAndGivesTheResult) {
    RecordingPicture picture;
    RecordingPicture other;
    Picture crop;
    std::vector<std::uint8_t> block;
    std::optional<PictureDC> dc(std::in_place);
    ASSERT_TRUE(crop.createLamp(2, 2));
    // Each step and the calls of `changed` it makes, with whether pixels were loaded.
    const std::pair<std::function<bool()>, std::vector<bool>> steps[] = {
        {[&] { return picture.createLamp(4, 4); }, {false}},
        {[&] { return picture.createLampFilled(4, 4, 0x0000FF); }, {false, true}},
        {[&] { return picture.replaceValue(4, 1), invertPicture(picture); }, {}},
        {[&] { return picture.zeroPixels(); }, {true}},
        {[&] { return block = clipboardBitmap(picture), loadPackedBitmap(picture, block, false); },
         {false}},
        {[&] { return !loadPackedBitmap(picture, std::span(block).first(20), true); }, {}},
        {[&] { return loadPackedBitmap(picture, block, true); }, {true}},
        {[&] { return scalePicture(picture, 8, 8) && resizePicture(picture, 9, 9, 0); },
         {true, true}},
        {[&] { return cropPicture(picture, crop, QRect(0, 0, 2, 2), 0); }, {true}},
        // The picture moved from notifies nothing.
        {[&] { return other.createLamp(3, 3) && picture.moveFrom(other) && !other.hasPixels(); },
         {true}},
        {[&] { return crop.drawInto(picture, QRect(0, 0, 1, 1)); }, {true}},
        {[&] { return dc->open(picture) && dc->release(false) && dc->open(picture); }, {}},
        {[&] { return dc.reset(), true; }, {true}},  // the session ends with notification
        {[&] { return picture.clear(); }, {false}},
    };
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        EXPECT_TRUE(steps[i].first()) << "step " << i;
        EXPECT_EQ(picture.calls, steps[i].second) << "step " << i;
        picture.calls.clear();
    }
    EXPECT_EQ(other.calls, std::vector<bool>{false});
    EXPECT_EQ(picture.width(), 0);
    // The operations hand on what `changed` answers.
    picture.answer = false;
    EXPECT_FALSE(picture.createLamp(2, 2));
    EXPECT_TRUE(picture.hasPixels());
    EXPECT_FALSE(picture.zeroPixels());
}

TEST(PictureDrawInto, StretchesIntoTheTargetRectangleOnly) {
    Picture source;
    makeLamp(source, {{1, 2}, {3, 4}});
    Picture target;
    ASSERT_TRUE(target.createLamp(6, 4));
    target.row(0)[0] = 5;
    ASSERT_TRUE(source.drawInto(target, QRect(2, 1, 2, 2)));
    EXPECT_EQ(
        valuesOf(target),
        (Rows{{5, 0, 0, 0, 0, 0}, {0, 0, 1, 2, 0, 0}, {0, 0, 3, 4, 0, 0}, {0, 0, 0, 0, 0, 0}}));
    // A bottom-up source arrives the same way up.
    Picture colour;
    makeRgb(colour, {{qRgb(250, 10, 0)}, {qRgb(0, 240, 20)}}, false);
    Picture lamp;
    ASSERT_TRUE(lamp.createLamp(1, 2));
    ASSERT_TRUE(colour.drawInto(lamp, QRect(0, 0, 1, 2)));
    EXPECT_EQ(valuesOf(lamp), (Rows{{4}, {2}}));
    // The text table tells the text White from pure white.
    makeRgb(colour, {{qRgb(224, 224, 224), qRgb(255, 255, 255)}}, true);
    ASSERT_TRUE(lamp.createLamp(2, 1, true));
    ASSERT_TRUE(colour.drawInto(lamp, QRect(0, 0, 2, 1)));
    EXPECT_EQ(valuesOf(lamp), (Rows{{7, 8}}));
    EXPECT_FALSE(Picture().drawInto(lamp, QRect(0, 0, 2, 1)));
}

// Outside the picture the source is black.
TEST(PictureDraw, DrawsDisplayCoordinatesThroughAPainter) {
    constexpr QRgb o = qRgb(1, 1, 1), R = qRgb(255, 0, 0), G = qRgb(0, 255, 0), B = qRgb(0, 0, 255),
                   K = qRgb(0, 0, 0), D = qRgb(9, 9, 9);
    Picture picture;
    makeRgb(picture, {{R, G}, {B, D}}, false);
    QImage canvas(4, 4, QImage::Format_RGB32);
    canvas.fill(o);
    QPainter painter(&canvas);
    ASSERT_TRUE(picture.drawWhole(painter, QRect(1, 1, 2, 2)));
    ASSERT_TRUE(picture.draw(painter, QRect(3, 0, 1, 3), QRect(1, 0, 1, 1)));
    ASSERT_TRUE(picture.draw(painter, QRect(0, 3, 2, 1), QRect(-1, 1, 2, 1)));
    EXPECT_FALSE(picture.draw(painter, QRect(0, 0, 0, 3), QRect(0, 0, 1, 1)));
    EXPECT_FALSE(Picture().drawWhole(painter, QRect(0, 0, 3, 3)));
    painter.end();
    EXPECT_EQ(pixelsOf(canvas), (Grid{{o, o, o, G}, {o, R, G, G}, {o, B, D, G}, {K, B, o, o}}));
}

TEST(PictureDCSession, StoresDrawnColoursAndKeepsUntouchedValues) {
    Picture lamp;
    PictureDC dc;
    EXPECT_FALSE(dc.open(lamp));
    ASSERT_TRUE(lamp.createLamp(5, 3));
    ASSERT_TRUE(dc.open(lamp));
    EXPECT_FALSE(dc.open(lamp));
    dc.painter().setPen(QColor(255, 0, 0));
    dc.painter().drawLine(0, 1, 4, 1);
    ASSERT_TRUE(dc.release(false));
    EXPECT_FALSE(dc.isOpen());
    EXPECT_EQ(valuesOf(lamp), (Rows{{0, 0, 0, 0, 0}, {4, 4, 4, 4, 4}, {0, 0, 0, 0, 0}}));
    // Two entries of one colour: an untouched pixel keeps the one it had.
    const std::vector<TableEntry> twins = {{0, 0, 0, 0}, {0, 0, 255, 0}, {0, 0, 0, 0}};
    Picture indexed;
    ASSERT_TRUE(indexed.create(2, 1, true, 8, twins, 3));
    indexed.row(0)[0] = 2;
    ASSERT_TRUE(dc.open(indexed));
    dc.painter().fillRect(1, 0, 1, 1, QColor(250, 0, 0));
    dc.release(true);
    EXPECT_EQ(valuesOf(indexed), (Rows{{2, 1}}));
    // The spare byte of an untouched 32-bit pixel survives; drawn pixels are packed.
    Picture wide;
    ASSERT_TRUE(wide.create(2, 1, true, 32, {}, 0));
    wide.row(0)[3] = 0x7F;
    wide.row(0)[0] = 0x03;
    ASSERT_TRUE(dc.open(wide));
    dc.painter().fillRect(1, 0, 1, 1, QColor(0, 0, 255));
    dc.release(false);
    EXPECT_EQ(valuesOf(wide), (Rows{{0x7F000003u, 0x0000FFu}}));
    Picture fiveBits;
    ASSERT_TRUE(fiveBits.create(1, 1, false, 16, {}, 0));
    ASSERT_TRUE(dc.open(fiveBits));
    dc.painter().fillRect(0, 0, 1, 1, QColor(255, 128, 0));
    dc.release(false);
    EXPECT_EQ(fiveBits.pixelValue(0, 0), (31u << 10) | (16u << 5));
    // Five-bit channels widen so that full intensity stays full.
    QImage shown(1, 1, QImage::Format_RGB32);
    QPainter painter(&shown);
    ASSERT_TRUE(fiveBits.drawWhole(painter, QRect(0, 0, 1, 1)));
    EXPECT_EQ(shown.pixel(0, 0), qRgb(255, 132, 0));
}

TEST(PicturePixels, ZeroAndReplaceValuesLeavePaddingAlone) {
    Picture text;
    makeLamp(text, {{8, 5, 0}, {0, 0, 8}});
    text.row(1)[3] = 8;  // padding
    text.replaceValue(8, 7);
    EXPECT_EQ(valuesOf(text), (Rows{{7, 5, 0}, {0, 0, 7}}));
    EXPECT_EQ(text.row(1)[3], 8);
    ASSERT_TRUE(text.zeroPixels());
    EXPECT_EQ(valuesOf(text), (Rows(2, {0, 0, 0})));
    EXPECT_EQ(text.row(1)[3], 0) << "zeroing clears the padding too";
    EXPECT_FALSE(Picture().zeroPixels());
    EXPECT_TRUE(Picture().row(0).empty());
    EXPECT_EQ(text.pixelValue(3, 0), 0u);
    EXPECT_EQ(text.pixelValue(-1, 0), 0u);
}

// Display rows count from the top in a bottom-up picture too; any nonzero byte counts.
TEST(PictureBounds, ContentBoundsCoverTheLitPixels) {
    Picture picture;
    ASSERT_TRUE(picture.createLamp(10, 8));
    EXPECT_FALSE(contentBounds(picture).has_value());
    picture.row(5)[3] = 2;
    EXPECT_EQ(contentBounds(picture), QRect(3, 5, 1, 1));
    picture.row(1)[7] = 7;
    picture.row(6)[0] = 1;
    EXPECT_EQ(contentBounds(picture), QRect(0, 1, 8, 6));
    ASSERT_TRUE(picture.create(4, 3, false, 24, {}, 0));
    picture.row(0)[3 * 2 + 2] = 1;  // red 1 at (2, 0)
    EXPECT_EQ(contentBounds(picture), QRect(2, 0, 1, 1));
    ASSERT_TRUE(picture.create(4, 4, true, 4, {}, 0));
    picture.row(0)[0] = 0xFF;
    EXPECT_FALSE(contentBounds(picture).has_value()) << "no bounds below 8 bits";
    EXPECT_FALSE(contentBounds(Picture()).has_value());
}

// Lamp indices swap bit for bit; in the text table pure white and black swap and the text
// White goes to black; other pictures invert every bit of their pixels but not the padding.
TEST(PictureInvert, InvertsLampIndicesAndEveryBitOfOtherPictures) {
    Picture lamp;
    makeLamp(lamp, {{0, 1, 2, 3, 4, 5, 6, 7}});
    ASSERT_TRUE(invertPicture(lamp));
    EXPECT_EQ(valuesOf(lamp), (Rows{{7, 6, 5, 4, 3, 2, 1, 0}}));
    ASSERT_TRUE(lamp.createLamp(3, 1, true));
    lamp.row(0)[0] = 8;
    lamp.row(0)[2] = 7;
    ASSERT_TRUE(invertPicture(lamp));
    EXPECT_EQ(valuesOf(lamp), (Rows{{0, 8, 0}}));
    const std::vector<TableEntry> blackWhite = {{0, 0, 0, 0}, {255, 255, 255, 0}};
    Picture mono;
    ASSERT_TRUE(mono.create(9, 1, true, 1, blackWhite, 2));
    mono.row(0)[0] = 0xA5;
    ASSERT_TRUE(invertPicture(mono));
    EXPECT_EQ(mono.row(0)[0], 0x5A);
    EXPECT_EQ(mono.pixelValue(8, 0), 1u);
    EXPECT_EQ(mono.row(0)[1] & 0x7F, 0) << "padding bits are left alone";
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

// Growing centres the picture in the fill colour; shrinking keeps the centre; the format and
// the direction of the rows stay.
TEST(PictureResize, GrowingCentresAndShrinkingKeepsTheCentre) {
    Picture picture;
    makeLamp(picture, {{1, 2, 3}, {4, 5, 6}, {7, 1, 2}});
    Picture grown;
    ASSERT_TRUE(resizePicture(grown, picture, 5, 4, 0x0000FF));
    EXPECT_TRUE(grown.isTopDown());
    EXPECT_EQ(valuesOf(grown),
              (Rows{{4, 1, 2, 3, 4}, {4, 4, 5, 6, 4}, {4, 7, 1, 2, 4}, {4, 4, 4, 4, 4}}));
    ASSERT_TRUE(resizePicture(picture, 1, 1, 0));
    EXPECT_EQ(valuesOf(picture), (Rows{{5}}));
    // Ten columns to twelve: one column of the fill each side; to eight: one off each side.
    Picture wide;
    makeLamp(wide, {{2, 6, 6, 6, 6, 6, 6, 6, 6, 5}});
    ASSERT_TRUE(resizePicture(picture, wide, 12, 1, 0xFF0000));
    EXPECT_EQ(valuesOf(picture), (Rows{{1, 2, 6, 6, 6, 6, 6, 6, 6, 6, 5, 1}}));
    ASSERT_TRUE(resizePicture(wide, 8, 1, 0));
    EXPECT_EQ(valuesOf(wide), (Rows{{6, 6, 6, 6, 6, 6, 6, 6}}));
    Picture colour;
    makeRgb(colour, {{qRgb(1, 2, 3)}}, false);
    ASSERT_TRUE(resizePicture(colour, 3, 2, 0x00FF00));
    EXPECT_FALSE(colour.isTopDown());
    EXPECT_EQ(valuesOf(colour),
              (Rows{{0x00FF00, 0x010203, 0x00FF00}, {0x00FF00, 0x00FF00, 0x00FF00}}));
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
    EXPECT_EQ(valuesOf(cropped), (Rows{{4, 0, 0}, {0, 0, 0}, {0, 0, 2}}));
    // Parts outside the source take the fill colour.
    ASSERT_TRUE(cropPicture(cropped, picture, QRect(2, -1, 2, 4), 0x00FF00));
    EXPECT_EQ(valuesOf(cropped), (Rows{{2, 2}, {0, 0}, {0, 0}, {0, 4}}));
    // A bottom-up source gives a top-down crop the same way up.
    Picture colour;
    makeRgb(colour, {{0, qRgb(9, 8, 7)}, {0, 0}, {0, 0}}, false);
    ASSERT_TRUE(cropPicture(colour, colour, QRect(1, 0, 1, 2), 0));
    EXPECT_TRUE(colour.isTopDown());
    EXPECT_EQ(valuesOf(colour), (Rows{{0x090807}, {0}}));
    EXPECT_FALSE(cropPicture(colour, picture, QRect(0, 0, 0, 3), 0));
}

// Three white and one black average to (191, 191, 191): white. One blue among three black
// averages to (0, 0, 64): black. Without a table the average itself is stored.
TEST(PictureScale, AveragesThenMapsToTheNearestEntry) {
    Picture lamp;
    makeLamp(lamp, {{7, 7, 1, 0}, {7, 0, 0, 0}});
    Picture halved;
    ASSERT_TRUE(scalePicture(halved, lamp, 2, 1));
    EXPECT_EQ(valuesOf(halved), (Rows{{7, 0}}));
    EXPECT_EQ(halved.colourTable().size(), 8u);
    makeLamp(lamp, {{4, 2}});
    ASSERT_TRUE(scalePicture(lamp, 6, 3));
    EXPECT_EQ(valuesOf(lamp), (Rows(3, {4, 4, 4, 2, 2, 2})));
    Picture colour;
    makeRgb(colour, {{qRgb(0, 0, 0), qRgb(100, 0, 0)}, {qRgb(0, 200, 0), qRgb(0, 0, 40)}}, false);
    ASSERT_TRUE(scalePicture(colour, 1, 1));
    EXPECT_EQ(colour.pixelValue(0, 0), 0x19320Au);
    EXPECT_FALSE(scalePicture(colour, 1, 0));
    EXPECT_EQ(colour.width(), 1);
}

// The smallest sum of squared differences wins, the lowest index on a tie; alpha plays no part.
TEST(NearestColour, MapsToTheClosestEntryAndTheLowestIndexOnATie) {
    const std::vector<TableEntry> greys = {{0, 0, 0, 0}, {10, 10, 10, 0}, {10, 10, 10, 0}};
    const struct {
        std::span<const TableEntry> table;
        QRgb colour;
        int index;
    } cases[] = {
        {kLampTable, qRgb(200, 30, 10), 4},    // reddish: red
        {kLampTable, qRgb(100, 20, 20), 0},    // dark: black
        {kLampTable, qRgb(224, 224, 224), 7},  // the text White: white
        {kLampTable, qRgb(10, 130, 140), 3},   // teal: cyan
        {kLampTable, qRgba(0, 0, 255, 0), 1},
        // The text table keeps the text White and pure white apart.
        {kTextLampTable, qRgb(230, 230, 230), 7},
        {kTextLampTable, qRgb(250, 250, 250), 8},
        {greys, qRgb(5, 5, 5), 0},
        {greys, qRgb(9, 9, 9), 1},
        {{}, qRgb(255, 0, 0), 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NearestColour(c.table).indexOf(c.colour), c.index) << std::hex << c.colour;
    }
    // The remembered last answer is used for the same colour only.
    NearestColour nearest(greys);
    EXPECT_EQ(nearest.indexOf(qRgb(9, 9, 9)), 1);
    EXPECT_EQ(nearest.indexOf(qRgb(9, 9, 9)), 1);
    EXPECT_EQ(nearest.indexOf(qRgb(1, 1, 1)), 0);
}

QRgb grey(int level) {
    return qRgb(level, level, level);
}

// Scales a grid of colours given row by row and returns the result row by row.
Grid scaleGrid(const Grid& grid, QSize target) {
    const QSize source(static_cast<int>(grid[0].size()), static_cast<int>(grid.size()));
    const QImage image = scaleByAreaAverage(
        source, [&](int y, std::span<QRgb> out) { std::ranges::copy(grid[y], out.begin()); },
        target);
    EXPECT_EQ(image.size(), target);
    return pixelsOf(image);
}

// Each target pixel is the mean of the source area it covers, each channel rounded to nearest.
TEST(AreaScale, AveragesTheCoveredAreaAndRepeatsPixelsWhenGrowingByWholeFactors) {
    const struct {
        const char* what;
        Grid source;
        QSize size;
        Grid scaled;
    } cases[] = {
        {"two by two blocks",
         {{grey(0), grey(100), grey(200), grey(200)}, {grey(40), grey(60), grey(200), grey(200)}},
         {2, 1},
         {{grey(50), grey(200)}}},
        // (1 × 0 + 0.5 × 90) / 1.5 and (0.5 × 90 + 1 × 180) / 1.5
        {"three into two", {{grey(0), grey(90), grey(180)}}, {2, 1}, {{grey(30), grey(150)}}},
        {"channels apart", {{qRgb(255, 0, 0), qRgb(0, 0, 255)}}, {1, 1}, {{qRgb(128, 0, 128)}}},
        {"doubled",
         {{grey(10), grey(20)}},
         {4, 2},
         Grid(2, {grey(10), grey(10), grey(20), grey(20)})},
        // Only a target pixel that straddles two source pixels blends them.
        {"two into three", {{grey(0), grey(200)}}, {3, 1}, {{grey(0), grey(100), grey(200)}}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(scaleGrid(c.source, c.size), c.scaled) << c.what;
    }
    const auto noRows = [](int, std::span<QRgb>) {};
    EXPECT_TRUE(scaleByAreaAverage(QSize(2, 2), noRows, QSize(0, 2)).isNull());
    EXPECT_TRUE(scaleByAreaAverage(QSize(0, 0), noRows, QSize(2, 2)).isNull());
}

}  // namespace
}  // namespace rova::test
