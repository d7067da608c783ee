#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <climits>
#include <vector>

#include "Picture.h"
#include "PictureDC.h"

namespace rova {
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

// The stored values of a picture, row by row from the top.
std::vector<std::vector<std::uint32_t>> valuesOf(const Picture& picture) {
    std::vector<std::vector<std::uint32_t>> rows(static_cast<std::size_t>(picture.height()));
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            rows[static_cast<std::size_t>(y)].push_back(picture.pixelValue(x, y));
        }
    }
    return rows;
}

// A lamp picture holding the given rows of lamp indices.
void makeLamp(Picture& picture, const std::vector<std::vector<std::uint32_t>>& rows) {
    ASSERT_TRUE(
        picture.createLamp(static_cast<int>(rows[0].size()), static_cast<int>(rows.size())));
    for (std::size_t y = 0; y < rows.size(); ++y) {
        for (std::size_t x = 0; x < rows[y].size(); ++x) {
            picture.row(static_cast<int>(y))[x] = static_cast<std::uint8_t>(rows[y][x]);
        }
    }
}

// Sets a 24-bit pixel to a colour.
void setRgb(Picture& picture, int x, int y, QRgb colour) {
    std::uint8_t* bytes = picture.row(y).data() + 3 * x;
    bytes[0] = static_cast<std::uint8_t>(qBlue(colour));
    bytes[1] = static_cast<std::uint8_t>(qGreen(colour));
    bytes[2] = static_cast<std::uint8_t>(qRed(colour));
}

TEST(PictureCreate, HeaderOfCreatedPictures) {
    Picture lamp;
    ASSERT_TRUE(lamp.createLamp(10, 16));
    const BitmapInfoHeader& header = lamp.header();
    EXPECT_EQ(header.size, 40u);
    EXPECT_EQ(header.width, 10);
    EXPECT_EQ(header.height, -16);
    EXPECT_EQ(header.planes, 1);
    EXPECT_EQ(header.bitCount, 8);
    EXPECT_EQ(header.compression, 0u);
    EXPECT_EQ(header.imageSize, 192u);
    EXPECT_EQ(header.xPixelsPerMetre, 2834);
    EXPECT_EQ(header.yPixelsPerMetre, 2834);
    EXPECT_EQ(header.coloursUsed, 8u);
    EXPECT_EQ(header.coloursImportant, 8u);
    EXPECT_EQ(lamp.stride(), 12);
    EXPECT_TRUE(std::equal(kLampTable.begin(), kLampTable.end(), lamp.colourTable().begin(),
                           lamp.colourTable().end()));
    EXPECT_FALSE(lamp.contentBounds().has_value());

    ASSERT_TRUE(lamp.createLamp(4, 4, true));
    ASSERT_EQ(lamp.colourTable().size(), 9u);
    EXPECT_EQ(lamp.colourTable()[7], (TableEntry{224, 224, 224, 0}));
    EXPECT_EQ(lamp.colourTable()[8], (TableEntry{255, 255, 255, 0}));

    struct Case {
        int bitCount;
        int width;
        std::int64_t stride;
        std::uint32_t colours;
    };
    for (const Case& c : {Case{1, 33, 8, 2}, Case{4, 9, 8, 16}, Case{8, 5, 8, 256},
                          Case{16, 3, 8, 0}, Case{24, 5, 16, 0}, Case{32, 1, 4, 0}}) {
        SCOPED_TRACE(c.bitCount);
        Picture picture;
        ASSERT_TRUE(picture.create(c.width, 3, false, c.bitCount, {}, 0));
        EXPECT_EQ(picture.stride(), c.stride);
        EXPECT_EQ(picture.header().height, 3);
        EXPECT_EQ(picture.header().imageSize, c.stride * 3);
        EXPECT_EQ(picture.header().coloursUsed, c.colours);
        EXPECT_EQ(picture.header().coloursImportant, c.colours);
    }
}

TEST(PictureCreate, InvalidRequestsFailAndLeaveThePictureEmpty) {
    Picture picture;
    EXPECT_FALSE(picture.create(0, 4, true, 8, {}, 0));
    EXPECT_FALSE(picture.create(4, 0, true, 8, {}, 0));
    EXPECT_FALSE(picture.create(4, 4, true, 7, {}, 0));
    EXPECT_FALSE(picture.create(4, 4, true, 2, {}, 0));
    EXPECT_FALSE(picture.create(4, 4, true, 8, {}, -1));
    ASSERT_TRUE(picture.createLamp(2, 2));
    EXPECT_FALSE(picture.create(8192, 8193, true, 32, {}, 0));  // just over 256 MiB
    EXPECT_FALSE(picture.hasPixels());
    EXPECT_EQ(picture.width(), 0);
    EXPECT_FALSE(picture.createLike(3, 3, Picture()));

    ASSERT_TRUE(picture.create(2, 2, true, 8, kLampTable, 300));
    EXPECT_EQ(picture.header().coloursUsed, 256u);
    EXPECT_EQ(picture.colourTable()[7], kLampTable[7]);
    EXPECT_EQ(picture.colourTable()[8], TableEntry{});
}

TEST(PictureFill, LampPictureFilledTakesTheNearestLampColour) {
    struct Case {
        ColourRef colour;
        std::uint32_t index;
    };
    for (const Case& c : {Case{0x00FFFF, 6}, Case{0xE0E0E0, 7}, Case{0xFF0000, 1},
                          Case{0x1010C0, 4}, Case{0x000000, 0}}) {
        SCOPED_TRACE(c.colour);
        Picture picture;
        ASSERT_TRUE(picture.createLampFilled(20, 24, c.colour));
        EXPECT_EQ(picture.height(), 24);
        EXPECT_EQ(valuesOf(picture), std::vector<std::vector<std::uint32_t>>(
                                         24, std::vector<std::uint32_t>(20, c.index)));
    }
}

TEST(PictureNotification, ChangedComesLastWithTheRightFlagAndGivesTheResult) {
    RecordingPicture picture;
    ASSERT_TRUE(picture.createLamp(4, 4));
    EXPECT_EQ(picture.calls, std::vector<bool>{false});
    picture.calls.clear();
    ASSERT_TRUE(picture.createLampFilled(4, 4, 0x0000FF));
    EXPECT_EQ(picture.calls, (std::vector<bool>{false, true}));

    picture.calls.clear();
    picture.replaceValue(4, 1);
    ASSERT_TRUE(picture.invert());
    EXPECT_TRUE(picture.calls.empty());
    ASSERT_TRUE(picture.zeroPixels());
    EXPECT_EQ(picture.calls, std::vector<bool>{true});

    const std::vector<std::uint8_t> block = picture.clipboardBlock();
    picture.calls.clear();
    ASSERT_TRUE(picture.loadMemory(block, false));
    ASSERT_TRUE(picture.loadMemory(block, true));
    ASSERT_FALSE(picture.loadMemory({block.data(), 20}, true));
    ASSERT_TRUE(picture.loadMemory(block, true));
    EXPECT_EQ(picture.calls, (std::vector<bool>{false, true, true}));

    picture.calls.clear();
    ASSERT_TRUE(picture.scale(8, 8));
    ASSERT_TRUE(picture.resize(9, 9, 0));
    Picture crop;
    ASSERT_TRUE(crop.createLamp(2, 2));
    ASSERT_TRUE(picture.cropFrom(crop, QRect(0, 0, 2, 2), 0));
    EXPECT_EQ(picture.calls, (std::vector<bool>{true, true, true}));

    picture.calls.clear();
    RecordingPicture other;
    ASSERT_TRUE(other.createLamp(3, 3));
    other.calls.clear();
    ASSERT_TRUE(picture.moveFrom(other));
    EXPECT_EQ(picture.calls, std::vector<bool>{true});
    EXPECT_TRUE(other.calls.empty());
    EXPECT_FALSE(other.hasPixels());
    EXPECT_EQ(picture.width(), 3);

    picture.calls.clear();
    ASSERT_TRUE(crop.drawInto(picture, QRect(0, 0, 1, 1)));
    EXPECT_EQ(picture.calls, std::vector<bool>{true});
    picture.calls.clear();
    {
        PictureDC dc;
        ASSERT_TRUE(dc.open(picture));
        EXPECT_TRUE(dc.release(false));
        EXPECT_TRUE(picture.calls.empty());
        ASSERT_TRUE(dc.open(picture));
    }
    EXPECT_EQ(picture.calls, std::vector<bool>{true});

    picture.calls.clear();
    ASSERT_TRUE(picture.clear());
    EXPECT_EQ(picture.calls, std::vector<bool>{false});

    // The operations hand on what `changed` answers.
    picture.answer = false;
    EXPECT_FALSE(picture.createLamp(2, 2));
    EXPECT_TRUE(picture.hasPixels());
    EXPECT_FALSE(picture.zeroPixels());
}

TEST(PictureBounds, ContentBoundsCoverTheLitPixels) {
    Picture picture;
    ASSERT_TRUE(picture.createLamp(10, 8));
    EXPECT_FALSE(picture.contentBounds().has_value());
    picture.row(5)[3] = 2;
    EXPECT_EQ(picture.contentBounds(), QRect(3, 5, 1, 1));  // left 3, top 5, right 4, bottom 6
    picture.row(1)[7] = 7;
    picture.row(6)[0] = 1;
    EXPECT_EQ(picture.contentBounds(), QRect(0, 1, 8, 6));

    // Display rows count from the top in a bottom-up picture too; any nonzero byte counts.
    Picture colour;
    ASSERT_TRUE(colour.create(4, 3, false, 24, {}, 0));
    colour.row(0)[3 * 2 + 2] = 1;  // red 1 at (2, 0)
    EXPECT_EQ(colour.contentBounds(), QRect(2, 0, 1, 1));

    Picture fewBits;
    ASSERT_TRUE(fewBits.create(4, 4, true, 4, {}, 0));
    fewBits.row(0)[0] = 0xFF;
    EXPECT_FALSE(fewBits.contentBounds().has_value());
    EXPECT_FALSE(Picture().contentBounds().has_value());
}

TEST(PictureInvert, LampIndicesSwapAndTwiceRestores) {
    Picture lamp;
    makeLamp(lamp, {{0, 1, 2, 3, 4, 5, 6, 7}, {7, 7, 0, 0, 4, 4, 2, 1}});
    const auto before = valuesOf(lamp);
    ASSERT_TRUE(lamp.invert());
    EXPECT_EQ(valuesOf(lamp)[0], (std::vector<std::uint32_t>{7, 6, 5, 4, 3, 2, 1, 0}));
    ASSERT_TRUE(lamp.invert());
    EXPECT_EQ(valuesOf(lamp), before);

    // The text table: pure white and black swap; the text White goes to black.
    Picture text;
    ASSERT_TRUE(text.createLamp(3, 1, true));
    text.row(0)[0] = 8;
    text.row(0)[2] = 7;
    ASSERT_TRUE(text.invert());
    EXPECT_EQ(valuesOf(text)[0], (std::vector<std::uint32_t>{0, 8, 0}));

    const std::vector<TableEntry> blackWhite = {{0, 0, 0, 0}, {255, 255, 255, 0}};
    Picture mono;
    ASSERT_TRUE(mono.create(9, 1, true, 1, blackWhite, 2));
    mono.row(0)[0] = 0xA5;
    ASSERT_TRUE(mono.invert());
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
        ASSERT_TRUE(picture.invert());
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
    ASSERT_TRUE(grown.resizeFrom(picture, 8, 8, 0x0000FF));
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            const bool inside = x >= 1 && x <= 5 && y >= 1 && y <= 5;
            EXPECT_EQ(grown.pixelValue(x, y), inside ? grid[y - 1][x - 1] : 4u) << x << "," << y;
        }
    }
    EXPECT_TRUE(grown.isTopDown());

    ASSERT_TRUE(picture.resize(3, 3, 0));
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
    ASSERT_TRUE(twelve.resizeFrom(wide, 12, 16, 0xFF0000));
    EXPECT_EQ(twelve.pixelValue(0, 3), 1u);
    EXPECT_EQ(twelve.pixelValue(1, 3), 2u);
    EXPECT_EQ(twelve.pixelValue(10, 3), 5u);
    EXPECT_EQ(twelve.pixelValue(11, 3), 1u);
    ASSERT_TRUE(wide.resize(8, 16, 0));
    EXPECT_EQ(wide.pixelValue(0, 3), 6u);
    EXPECT_EQ(wide.pixelValue(7, 3), 6u);

    // A bottom-up picture stays bottom-up and keeps its format.
    Picture colour;
    ASSERT_TRUE(colour.create(1, 1, false, 24, {}, 0));
    setRgb(colour, 0, 0, qRgb(1, 2, 3));
    ASSERT_TRUE(colour.resize(3, 2, 0x00FF00));
    EXPECT_FALSE(colour.isTopDown());
    EXPECT_EQ(colour.pixelValue(1, 0), 0x010203u);
    EXPECT_EQ(colour.pixelValue(0, 0), 0x00FF00u);
    EXPECT_EQ(colour.pixelValue(2, 1), 0x00FF00u);
    EXPECT_FALSE(colour.resize(0, 2, 0));
    EXPECT_EQ(colour.width(), 3);
}

TEST(PictureCrop, CopiesTheRectangleIntoATopDownPicture) {
    Picture picture;
    ASSERT_TRUE(picture.createLamp(10, 6));
    picture.row(2)[3] = 4;
    picture.row(4)[5] = 2;
    const std::optional<QRect> bounds = picture.contentBounds();
    ASSERT_EQ(bounds, QRect(3, 2, 3, 3));
    Picture cropped;
    ASSERT_TRUE(cropped.cropFrom(picture, *bounds, 0));
    EXPECT_TRUE(cropped.isTopDown());
    EXPECT_EQ(cropped.colourTable().size(), 8u);
    EXPECT_EQ(valuesOf(cropped),
              (std::vector<std::vector<std::uint32_t>>{{4, 0, 0}, {0, 0, 0}, {0, 0, 2}}));

    // Parts outside the source take the fill colour.
    ASSERT_TRUE(cropped.cropFrom(picture, QRect(2, -1, 2, 4), 0x00FF00));
    EXPECT_EQ(valuesOf(cropped),
              (std::vector<std::vector<std::uint32_t>>{{2, 2}, {0, 0}, {0, 0}, {0, 4}}));

    // A bottom-up source gives a top-down crop the same way up.
    Picture colour;
    ASSERT_TRUE(colour.create(2, 3, false, 24, {}, 0));
    setRgb(colour, 1, 0, qRgb(9, 8, 7));
    ASSERT_TRUE(colour.cropFrom(colour, QRect(1, 0, 1, 2), 0));
    EXPECT_TRUE(colour.isTopDown());
    EXPECT_EQ(colour.pixelValue(0, 0), 0x090807u);
    EXPECT_EQ(colour.pixelValue(0, 1), 0u);
    EXPECT_FALSE(colour.cropFrom(picture, QRect(0, 0, 0, 3), 0));
}

TEST(PictureScale, AveragesThenMapsToTheNearestEntry) {
    Picture lamp;
    makeLamp(lamp, {{7, 7, 1, 0}, {7, 0, 0, 0}});
    Picture halved;
    ASSERT_TRUE(halved.scaleFrom(lamp, 2, 1));
    // Three white and one black average to (191, 191, 191): white. One blue among three black
    // averages to (0, 0, 64): black.
    EXPECT_EQ(valuesOf(halved), (std::vector<std::vector<std::uint32_t>>{{7, 0}}));
    EXPECT_EQ(halved.colourTable().size(), 8u);

    Picture pair;
    makeLamp(pair, {{4, 2}});
    ASSERT_TRUE(pair.scale(6, 3));
    EXPECT_EQ(valuesOf(pair), (std::vector<std::vector<std::uint32_t>>(
                                  3, std::vector<std::uint32_t>{4, 4, 4, 2, 2, 2})));

    // Without a table the average itself is stored.
    Picture colour;
    ASSERT_TRUE(colour.create(2, 2, false, 24, {}, 0));
    setRgb(colour, 0, 0, qRgb(0, 0, 0));
    setRgb(colour, 1, 0, qRgb(100, 0, 0));
    setRgb(colour, 0, 1, qRgb(0, 200, 0));
    setRgb(colour, 1, 1, qRgb(0, 0, 40));
    ASSERT_TRUE(colour.scale(1, 1));
    EXPECT_EQ(colour.pixelValue(0, 0), 0x19320Au);
    EXPECT_FALSE(colour.scale(1, 0));
    EXPECT_EQ(colour.width(), 1);
}

TEST(PictureDrawInto, StretchesIntoTheTargetRectangleOnly) {
    Picture source;
    makeLamp(source, {{1, 2}, {3, 4}});
    Picture target;
    ASSERT_TRUE(target.createLamp(6, 4));
    target.row(0)[0] = 5;
    ASSERT_TRUE(source.drawInto(target, QRect(2, 1, 2, 2)));
    EXPECT_EQ(valuesOf(target),
              (std::vector<std::vector<std::uint32_t>>{
                  {5, 0, 0, 0, 0, 0}, {0, 0, 1, 2, 0, 0}, {0, 0, 3, 4, 0, 0}, {0, 0, 0, 0, 0, 0}}));

    // A bottom-up source arrives the same way up.
    Picture colour;
    ASSERT_TRUE(colour.create(1, 2, false, 24, {}, 0));
    setRgb(colour, 0, 0, qRgb(250, 10, 0));
    setRgb(colour, 0, 1, qRgb(0, 240, 20));
    Picture lamp;
    ASSERT_TRUE(lamp.createLamp(1, 2));
    ASSERT_TRUE(colour.drawInto(lamp, QRect(0, 0, 1, 2)));
    EXPECT_EQ(valuesOf(lamp), (std::vector<std::vector<std::uint32_t>>{{4}, {2}}));

    // The text table tells the text White from pure white.
    Picture greys;
    ASSERT_TRUE(greys.create(2, 1, true, 24, {}, 0));
    setRgb(greys, 0, 0, qRgb(224, 224, 224));
    setRgb(greys, 1, 0, qRgb(255, 255, 255));
    Picture text;
    ASSERT_TRUE(text.createLamp(2, 1, true));
    ASSERT_TRUE(greys.drawInto(text, QRect(0, 0, 2, 1)));
    EXPECT_EQ(valuesOf(text)[0], (std::vector<std::uint32_t>{7, 8}));
    EXPECT_FALSE(Picture().drawInto(text, QRect(0, 0, 2, 1)));
}

TEST(PictureDrawInto, AColourfulPictureGivesLampIndicesOnly) {
    Picture photo;
    ASSERT_TRUE(photo.create(64, 48, false, 24, {}, 0));
    std::uint32_t seed = 12345;
    for (int y = 0; y < 48; ++y) {
        for (int x = 0; x < 64; ++x) {
            seed = seed * 1103515245u + 12345u;
            setRgb(photo, x, y, seed >> 8);
        }
    }
    for (QSize size : {QSize(21, 16), QSize(64, 48), QSize(200, 150)}) {
        Picture lamp;
        ASSERT_TRUE(lamp.createLamp(size.width(), size.height()));
        ASSERT_TRUE(photo.drawInto(lamp, QRect(QPoint(0, 0), size)));
        int lit = 0;
        for (const auto& row : valuesOf(lamp)) {
            for (std::uint32_t value : row) {
                EXPECT_LE(value, 7u);
                lit += value != 0 ? 1 : 0;
            }
        }
        EXPECT_GT(lit, 0);
    }
}

TEST(PictureDraw, DrawsDisplayCoordinatesThroughAPainter) {
    Picture picture;
    ASSERT_TRUE(picture.create(2, 2, false, 24, {}, 0));
    setRgb(picture, 0, 0, qRgb(255, 0, 0));
    setRgb(picture, 1, 0, qRgb(0, 255, 0));
    setRgb(picture, 0, 1, qRgb(0, 0, 255));
    setRgb(picture, 1, 1, qRgb(9, 9, 9));
    QImage canvas(4, 4, QImage::Format_RGB32);
    canvas.fill(qRgb(1, 1, 1));
    {
        QPainter painter(&canvas);
        ASSERT_TRUE(picture.drawWhole(painter, QRect(1, 1, 2, 2)));
    }
    EXPECT_EQ(canvas.pixel(0, 0), qRgb(1, 1, 1));
    EXPECT_EQ(canvas.pixel(1, 1), qRgb(255, 0, 0));
    EXPECT_EQ(canvas.pixel(2, 1), qRgb(0, 255, 0));
    EXPECT_EQ(canvas.pixel(1, 2), qRgb(0, 0, 255));
    EXPECT_EQ(canvas.pixel(3, 3), qRgb(1, 1, 1));

    {
        QPainter painter(&canvas);
        ASSERT_TRUE(picture.draw(painter, QRect(0, 0, 3, 3), QRect(1, 0, 1, 1)));
        // Outside the picture the source is black.
        ASSERT_TRUE(picture.draw(painter, QRect(0, 3, 2, 1), QRect(-1, 1, 2, 1)));
        EXPECT_FALSE(picture.draw(painter, QRect(0, 0, 0, 3), QRect(0, 0, 1, 1)));
        EXPECT_FALSE(Picture().drawWhole(painter, QRect(0, 0, 3, 3)));
    }
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 3; ++x) {
            EXPECT_EQ(canvas.pixel(x, y), qRgb(0, 255, 0));
        }
    }
    EXPECT_EQ(canvas.pixel(0, 3), qRgb(0, 0, 0));
    EXPECT_EQ(canvas.pixel(1, 3), qRgb(0, 0, 255));
}

TEST(PictureDCSession, StoresDrawnColoursAndKeepsUntouchedValues) {
    Picture empty;
    PictureDC dc;
    EXPECT_FALSE(dc.open(empty));

    Picture lamp;
    ASSERT_TRUE(lamp.createLamp(5, 5));
    ASSERT_TRUE(dc.open(lamp));
    EXPECT_FALSE(dc.open(lamp));
    dc.painter().setPen(QColor(255, 0, 0));
    dc.painter().drawLine(0, 2, 4, 2);
    ASSERT_TRUE(dc.release(false));
    EXPECT_FALSE(dc.isOpen());
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 5; ++x) {
            EXPECT_EQ(lamp.pixelValue(x, y), y == 2 ? 4u : 0u) << x << "," << y;
        }
    }

    // Two entries of one colour: an untouched pixel keeps the one it had.
    const std::vector<TableEntry> twins = {{0, 0, 0, 0}, {0, 0, 255, 0}, {0, 0, 0, 0}};
    Picture indexed;
    ASSERT_TRUE(indexed.create(2, 1, true, 8, twins, 3));
    indexed.row(0)[0] = 2;
    ASSERT_TRUE(dc.open(indexed));
    dc.painter().fillRect(1, 0, 1, 1, QColor(250, 0, 0));
    dc.release(true);
    EXPECT_EQ(indexed.pixelValue(0, 0), 2u);
    EXPECT_EQ(indexed.pixelValue(1, 0), 1u);

    // The spare byte of an untouched 32-bit pixel survives; drawn pixels are packed.
    Picture wide;
    ASSERT_TRUE(wide.create(2, 1, true, 32, {}, 0));
    const std::uint8_t first[4] = {0x03, 0x02, 0x01, 0x7F};
    std::copy(std::begin(first), std::end(first), wide.row(0).begin());
    ASSERT_TRUE(dc.open(wide));
    dc.painter().fillRect(1, 0, 1, 1, QColor(0, 0, 255));
    dc.release(false);
    EXPECT_EQ(wide.pixelValue(0, 0), 0x7F010203u);
    EXPECT_EQ(wide.pixelValue(1, 0), 0x0000FFu);

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

TEST(PicturePixels, ZeroAndReplaceValues) {
    Picture text;
    ASSERT_TRUE(text.createLamp(3, 2, true));
    text.row(0)[0] = 8;
    text.row(0)[1] = 5;
    text.row(1)[2] = 8;
    text.row(1)[3] = 8;  // padding
    text.replaceValue(8, 7);
    EXPECT_EQ(valuesOf(text), (std::vector<std::vector<std::uint32_t>>{{7, 5, 0}, {0, 0, 7}}));
    EXPECT_EQ(text.row(1)[3], 8);
    ASSERT_TRUE(text.zeroPixels());
    EXPECT_EQ(valuesOf(text), (std::vector<std::vector<std::uint32_t>>(2, {0, 0, 0})));
    EXPECT_EQ(text.row(1)[3], 0);
    EXPECT_FALSE(Picture().zeroPixels());
    EXPECT_TRUE(Picture().row(0).empty());
    EXPECT_EQ(text.pixelValue(3, 0), 0u);
    EXPECT_EQ(text.pixelValue(-1, 0), 0u);
}

}  // namespace
}  // namespace rova
