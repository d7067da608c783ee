#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <vector>

#include "BmpCodec.h"
#include "Picture.h"
#include "PictureDC.h"
#include "PictureEdits.h"
#include "PictureValues.h"

namespace rova {
namespace {

using test::makeLamp;
using test::setRgb;
using test::valuesOf;

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
    EXPECT_FALSE(contentBounds(lamp).has_value());

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
    ASSERT_TRUE(invertPicture(picture));
    EXPECT_TRUE(picture.calls.empty());
    ASSERT_TRUE(picture.zeroPixels());
    EXPECT_EQ(picture.calls, std::vector<bool>{true});

    const std::vector<std::uint8_t> block = clipboardBitmap(picture);
    picture.calls.clear();
    ASSERT_TRUE(loadPackedBitmap(picture, block, false));
    ASSERT_TRUE(loadPackedBitmap(picture, block, true));
    ASSERT_FALSE(loadPackedBitmap(picture, {block.data(), 20}, true));
    ASSERT_TRUE(loadPackedBitmap(picture, block, true));
    EXPECT_EQ(picture.calls, (std::vector<bool>{false, true, true}));

    picture.calls.clear();
    ASSERT_TRUE(scalePicture(picture, 8, 8));
    ASSERT_TRUE(resizePicture(picture, 9, 9, 0));
    Picture crop;
    ASSERT_TRUE(crop.createLamp(2, 2));
    ASSERT_TRUE(cropPicture(picture, crop, QRect(0, 0, 2, 2), 0));
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
