#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <climits>
#include <cstring>
#include <vector>

#include "BitmapBytes.h"
#include "BmpCodec.h"
#include "Picture.h"
#include "PictureEdits.h"

namespace rova {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QByteArray data = file.readAll();
    return Bytes(data.begin(), data.end());
}

void writeFile(const QString& path, const Bytes& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(
        file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size())),
        static_cast<qint64>(bytes.size()));
}

std::uint32_t u32At(const Bytes& bytes, std::size_t at) {
    std::uint32_t value = 0;
    std::memcpy(&value, bytes.data() + at, 4);
    return value;
}

// A table of `count` distinct entries.
Bytes distinctTable(int count) {
    Bytes table;
    for (int i = 0; i < count; ++i) {
        table.insert(table.end(), {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
                                   static_cast<std::uint8_t>(i * 3), 0});
    }
    return table;
}

int strideOf(int bitCount, int width) {
    return (bitCount * width + 31) / 32 * 4;
}

// A bottom-up bitmap of every row distinct, with a full table below 16 bits.
test::BitmapBytes sampleBitmap(int bitCount, int width, int height) {
    test::BitmapBytes bitmap;
    bitmap.width = width;
    bitmap.height = height;
    bitmap.bitCount = static_cast<std::uint16_t>(bitCount);
    if (bitCount < 16) {
        bitmap.coloursUsed = 1u << bitCount;
        bitmap.coloursImportant = bitmap.coloursUsed;
        bitmap.table = distinctTable(1 << bitCount);
    }
    bitmap.imageSize = static_cast<std::uint32_t>(strideOf(bitCount, width) * height);
    bitmap.pixels = test::patternRows(height, strideOf(bitCount, width));
    return bitmap;
}

class BmpFileTest : public ::testing::Test {
  protected:
    QString path(const QString& name) const { return dir_.filePath(name); }
    QString writeBitmap(const QString& name, const Bytes& bytes) {
        writeFile(path(name), bytes);
        return path(name);
    }

    QTemporaryDir dir_;
};

TEST_F(BmpFileTest, LampPictureOfTenBySixteenSavesAs278BytesBottomUp) {
    Picture lamp;
    ASSERT_TRUE(lamp.createLamp(10, 16));
    lamp.row(0)[0] = 4;   // top-left red
    lamp.row(15)[9] = 1;  // bottom-right blue
    ASSERT_TRUE(saveBmpFile(lamp, path("lamp.bmp")));

    const Bytes file = readFile(path("lamp.bmp"));
    ASSERT_EQ(file.size(), 278u);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(u32At(file, 2), 278u);
    EXPECT_EQ(u32At(file, 6), 0u);
    EXPECT_EQ(u32At(file, 10), 86u);
    EXPECT_EQ(u32At(file, 14), 40u);
    EXPECT_EQ(static_cast<std::int32_t>(u32At(file, 22)), 16);  // height, now positive
    EXPECT_EQ(u32At(file, 34), 192u);                           // image size 12 × 16
    EXPECT_EQ(u32At(file, 38), 2834u);
    EXPECT_EQ(u32At(file, 46), 8u);                   // colours used
    EXPECT_EQ(u32At(file, 54 + 4 * 4), 0x00FF0000u);  // entry 4: red
    // The bottom row is stored first, the top row last.
    EXPECT_EQ(file[86 + 9], 1);
    EXPECT_EQ(file[86 + 15 * 12], 4);

    // The picture saved is untouched, and reads back the same way up.
    EXPECT_TRUE(lamp.isTopDown());
    Picture back;
    ASSERT_TRUE(loadBmpFile(back, path("lamp.bmp"), true));
    EXPECT_FALSE(back.isTopDown());
    EXPECT_EQ(back.pixelValue(0, 0), 4u);
    EXPECT_EQ(back.pixelValue(9, 15), 1u);
    EXPECT_EQ(back.colourTable().size(), 8u);
}

TEST_F(BmpFileTest, EveryBitDepthRoundTripsByteForByte) {
    for (int bitCount : {1, 4, 8, 16, 24, 32}) {
        SCOPED_TRACE(bitCount);
        const test::BitmapBytes bitmap = sampleBitmap(bitCount, 13, 5);
        const QString name = QString("in%1.bmp").arg(bitCount);
        Picture picture;
        ASSERT_TRUE(loadBmpFile(picture, writeBitmap(name, bitmap.file()), true));
        EXPECT_EQ(picture.width(), 13);
        EXPECT_EQ(picture.height(), 5);
        EXPECT_FALSE(picture.isTopDown());
        EXPECT_EQ(picture.bitCount(), bitCount);
        EXPECT_EQ(picture.stride(), strideOf(bitCount, 13));
        EXPECT_EQ(picture.header().imageSize, bitmap.imageSize);

        // Display row 0 is the last stored row; its first byte's top bits are pixel 0.
        const int stride = strideOf(bitCount, 13);
        const std::uint8_t firstByteOfTopRow = bitmap.pixels[static_cast<std::size_t>(4 * stride)];
        const std::uint32_t expected = bitCount == 1   ? firstByteOfTopRow >> 7
                                       : bitCount == 4 ? firstByteOfTopRow >> 4
                                                       : firstByteOfTopRow;
        EXPECT_EQ(picture.pixelValue(0, 0) & 0xFF, expected);

        const QString saved = path(QString("out%1.bmp").arg(bitCount));
        ASSERT_TRUE(saveBmpFile(picture, saved));
        EXPECT_EQ(readFile(saved), bitmap.file());
    }
}

TEST_F(BmpFileTest, TopDownFileLoadsAndSavesBottomUp) {
    test::BitmapBytes topDown = sampleBitmap(24, 3, 4);
    topDown.height = -4;
    Picture picture;
    ASSERT_TRUE(loadBmpFile(picture, writeBitmap("top.bmp", topDown.file()), true));
    EXPECT_TRUE(picture.isTopDown());
    EXPECT_EQ(picture.height(), 4);
    // The first stored row is the top row.
    EXPECT_EQ(picture.pixelValue(0, 0), 0x0F0801u);
    ASSERT_TRUE(saveBmpFile(picture, path("bottom.bmp")));

    test::BitmapBytes bottomUp = topDown;
    bottomUp.height = 4;
    bottomUp.pixels.clear();
    for (int r = 3; r >= 0; --r) {
        const auto start = topDown.pixels.begin() + r * 12;
        bottomUp.pixels.insert(bottomUp.pixels.end(), start, start + 12);
    }
    EXPECT_EQ(readFile(path("bottom.bmp")), bottomUp.file());
}

TEST_F(BmpFileTest, ZeroColoursUsedAtEightBitsReadsAFullTable) {
    test::BitmapBytes bitmap = sampleBitmap(8, 4, 2);
    bitmap.coloursUsed = 0;
    bitmap.coloursImportant = 0;
    Picture picture;
    ASSERT_TRUE(loadBmpFile(picture, writeBitmap("zero.bmp", bitmap.file()), true));
    ASSERT_EQ(picture.colourTable().size(), 256u);
    EXPECT_EQ(picture.header().coloursImportant, 256u);
    EXPECT_EQ(picture.colourTable()[200], (TableEntry{200, 55, 88, 0}));
    EXPECT_EQ(picture.pixelValue(0, 1), bitmap.pixels[0]);
}

TEST_F(BmpFileTest, TrailingBytesAreIgnoredAndMissingRowsStayZero) {
    test::BitmapBytes longer = sampleBitmap(8, 4, 3);
    longer.trailing = {9, 9, 9, 9, 9, 9};
    Picture picture;
    ASSERT_TRUE(loadBmpFile(picture, writeBitmap("long.bmp", longer.file()), true));
    ASSERT_TRUE(saveBmpFile(picture, path("long-out.bmp")));
    longer.trailing.clear();
    EXPECT_EQ(readFile(path("long-out.bmp")), longer.file());

    // One and a half rows of three: the stored bottom row, half of the middle one.
    test::BitmapBytes shorter = sampleBitmap(8, 4, 3);
    shorter.pixels.resize(6);
    ASSERT_TRUE(loadBmpFile(picture, writeBitmap("short.bmp", shorter.file()), true));
    EXPECT_EQ(picture.pixelValue(0, 2), shorter.pixels[0]);
    EXPECT_EQ(picture.pixelValue(1, 1), shorter.pixels[5]);
    EXPECT_EQ(picture.pixelValue(2, 1), 0u);
    for (int x = 0; x < 4; ++x) {
        EXPECT_EQ(picture.pixelValue(x, 0), 0u);
    }

    // A file that ends right behind its colour table gives an all-zero picture.
    shorter.pixels.clear();
    ASSERT_TRUE(loadBmpFile(picture, writeBitmap("none.bmp", shorter.file()), true));
    EXPECT_FALSE(contentBounds(picture).has_value());
}

TEST_F(BmpFileTest, LargerHeadersFindThePixelsAtTheBitsOffset) {
    for (std::uint32_t headerSize : {108u, 124u}) {
        SCOPED_TRACE(headerSize);
        test::BitmapBytes bitmap = sampleBitmap(8, 5, 2);
        bitmap.headerSize = headerSize;
        // Four bytes of gap between table and pixels, as some writers leave.
        const Bytes pixels = bitmap.pixels;
        bitmap.pixels.insert(bitmap.pixels.begin(), {0xEE, 0xEE, 0xEE, 0xEE});
        bitmap.bitsOffset = 14 + headerSize + 1024 + 4;
        Picture picture;
        ASSERT_TRUE(loadBmpFile(picture, writeBitmap("large.bmp", bitmap.file()), true));
        EXPECT_EQ(picture.header().size, 40u);
        EXPECT_EQ(picture.pixelValue(0, 1), pixels[0]);
        EXPECT_EQ(picture.pixelValue(4, 0), pixels[8 + 4]);

        // A bits offset pointing into the header or table is refused.
        bitmap.bitsOffset = 14 + headerSize;
        EXPECT_FALSE(loadBmpFile(picture, writeBitmap("inside.bmp", bitmap.file()), true));
        EXPECT_FALSE(picture.hasPixels());
    }
}

TEST_F(BmpFileTest, BitFieldsWithTheOrdinaryLayoutLoadAsUncompressed) {
    // 32 bits with the usual masks behind a 124-byte header, as image editors write them.
    test::BitmapBytes modern = sampleBitmap(32, 3, 2);
    modern.headerSize = 124;
    modern.compression = 3;
    modern.masks = {0xFF0000, 0x00FF00, 0x0000FF, 0xFF000000};
    Picture picture;
    ASSERT_TRUE(loadBmpFile(picture, writeBitmap("v5.bmp", modern.file()), true));
    EXPECT_EQ(picture.header().compression, 0u);
    EXPECT_EQ(picture.pixelValue(0, 1), u32At(modern.pixels, 0));

    // 16 bits 5-5-5 with the masks behind a 40-byte header.
    test::BitmapBytes classic = sampleBitmap(16, 3, 2);
    classic.compression = 3;
    classic.masks = {0x7C00, 0x03E0, 0x001F};
    ASSERT_TRUE(loadBmpFile(picture, writeBitmap("555.bmp", classic.file()), true));
    EXPECT_EQ(picture.pixelValue(1, 1),
              static_cast<std::uint32_t>(classic.pixels[2] | (classic.pixels[3] << 8)));

    // Other masks (5-6-5) are not understood: the pixels cannot be loaded, the header can.
    classic.masks = {0xF800, 0x07E0, 0x001F};
    const QString odd = writeBitmap("565.bmp", classic.file());
    EXPECT_FALSE(loadBmpFile(picture, odd, true));
    EXPECT_FALSE(picture.hasPixels());
    ASSERT_TRUE(loadBmpFile(picture, odd, false));
    EXPECT_EQ(picture.width(), 3);
    EXPECT_FALSE(picture.hasPixels());
}

TEST_F(BmpFileTest, BrokenAndOversizedFilesFailAndLeaveThePictureEmpty) {
    const test::BitmapBytes good = sampleBitmap(8, 4, 4);
    std::vector<std::pair<const char*, Bytes>> cases;

    Bytes notBm = good.file();
    notBm[0] = 'X';
    cases.emplace_back("signature", notBm);
    test::BitmapBytes bitmap = good;
    bitmap.headerSize = 12;
    cases.emplace_back("core header", bitmap.file());
    bitmap = good;
    bitmap.compression = 1;  // run-length coded
    cases.emplace_back("rle8", bitmap.file());
    bitmap = good;
    bitmap.width = 16385;
    cases.emplace_back("too wide", bitmap.file());
    bitmap = good;
    bitmap.height = INT_MIN;
    cases.emplace_back("height INT_MIN", bitmap.file());
    bitmap = good;
    bitmap.width = 16384;
    bitmap.height = -16384;
    bitmap.bitCount = 24;  // 768 MiB of pixels
    bitmap.table.clear();
    bitmap.coloursUsed = 0;
    cases.emplace_back("too many pixel bytes", bitmap.file());
    bitmap = good;
    bitmap.planes = 2;
    cases.emplace_back("planes", bitmap.file());
    bitmap = good;
    bitmap.bitCount = 2;
    cases.emplace_back("bit count", bitmap.file());
    Bytes shortTable = good.file();
    shortTable.resize(14 + 40 + 100);
    cases.emplace_back("short table", shortTable);
    Bytes shortHeader = good.file();
    shortHeader.resize(30);
    cases.emplace_back("short header", shortHeader);
    cases.emplace_back("empty", Bytes{});

    for (const auto& [name, bytes] : cases) {
        SCOPED_TRACE(name);
        Picture picture;
        ASSERT_TRUE(picture.createLamp(2, 2));
        EXPECT_FALSE(loadBmpFile(picture, writeBitmap("bad.bmp", bytes), true));
        EXPECT_FALSE(picture.hasPixels());
        EXPECT_EQ(picture.width(), 0);
    }
    Picture picture;
    EXPECT_FALSE(loadBmpFile(picture, path("missing.bmp"), true));
}

TEST_F(BmpFileTest, HeaderOnlyLoadReportsTheSizeWithoutPixels) {
    test::BitmapBytes rle = sampleBitmap(8, 7, 3);
    rle.compression = 1;
    Picture picture;
    ASSERT_TRUE(loadBmpFile(picture, writeBitmap("rle.bmp", rle.file()), false));
    EXPECT_EQ(picture.width(), 7);
    EXPECT_EQ(picture.height(), 3);
    EXPECT_EQ(picture.colourTable().size(), 256u);
    EXPECT_FALSE(picture.hasPixels());
    EXPECT_FALSE(saveBmpFile(picture, path("nothing.bmp")));
    std::vector<std::uint8_t> packed;
    EXPECT_FALSE(writePackedBitmap(picture, packed));
}

TEST_F(BmpFileTest, SaveCreatesMissingFoldersAndAFailedSaveKeepsTheOldFile) {
    Picture lamp;
    ASSERT_TRUE(lamp.createLampFilled(3, 2, 0x0000FF));
    const QString nested = path("a/b/c/red.bmp");
    ASSERT_TRUE(saveBmpFile(lamp, nested));
    const Bytes before = readFile(nested);
    EXPECT_EQ(before.size(), 86u + 4 * 2);

    Picture empty;
    EXPECT_FALSE(saveBmpFile(empty, nested));
    EXPECT_EQ(readFile(nested), before);
    // A folder in the way of the file cannot be replaced either.
    ASSERT_TRUE(QDir().mkpath(path("taken")));
    EXPECT_FALSE(saveBmpFile(lamp, path("taken")));
    EXPECT_TRUE(QDir(path("taken")).exists());
    // No temporary files are left behind.
    EXPECT_EQ(QDir(path("a/b/c")).entryList(QDir::Files), QStringList{"red.bmp"});
    EXPECT_TRUE(QDir(dir_.path()).entryList(QDir::Files).isEmpty());
}

TEST(PackedBitmap, PackedBlockRoundTripsAndRejectsOtherHeaderSizes) {
    Picture picture;
    ASSERT_TRUE(picture.createLamp(5, 3, true));
    picture.row(0)[1] = 8;
    picture.row(2)[4] = 3;
    std::vector<std::uint8_t> packed = {1, 2, 3};
    ASSERT_TRUE(writePackedBitmap(picture, packed));
    ASSERT_EQ(packed.size(), 40u + 4 * 9 + 8 * 3);

    Picture back;
    ASSERT_TRUE(loadPackedBitmap(back, packed, true));
    EXPECT_EQ(back.header(), picture.header());
    EXPECT_TRUE(std::equal(back.colourTable().begin(), back.colourTable().end(),
                           picture.colourTable().begin(), picture.colourTable().end()));
    EXPECT_EQ(back.pixelValue(1, 0), 8u);
    EXPECT_EQ(back.pixelValue(4, 2), 3u);

    // The clipboard form of a 124-byte header is refused, as is a file header.
    test::BitmapBytes large = sampleBitmap(8, 2, 2);
    large.headerSize = 124;
    EXPECT_FALSE(loadPackedBitmap(back, large.block(), true));
    EXPECT_FALSE(back.hasPixels());
    EXPECT_FALSE(loadPackedBitmap(back, sampleBitmap(8, 2, 2).file(), true));
    // Short blocks keep the rule of files: missing pixel bytes are zero.
    packed.resize(packed.size() - 8);
    ASSERT_TRUE(loadPackedBitmap(back, packed, true));
    EXPECT_EQ(back.pixelValue(4, 2), 0u);
    EXPECT_EQ(back.pixelValue(1, 0), 8u);
}

TEST(PackedBitmap, HeaderOnlyBlockAndClipboardBlockIsBottomUp) {
    Picture picture;
    ASSERT_TRUE(picture.createLamp(2, 3));
    picture.row(0)[0] = 5;
    const std::vector<std::uint8_t> block = clipboardBitmap(picture);
    ASSERT_EQ(block.size(), 40u + 32 + 4 * 3);
    std::int32_t height = 0;
    std::memcpy(&height, block.data() + 8, 4);
    EXPECT_EQ(height, 3);
    EXPECT_EQ(block[72 + 2 * 4], 5);  // the top row is the last stored one
    EXPECT_TRUE(picture.isTopDown());

    Picture back;
    ASSERT_TRUE(loadPackedBitmap(back, block, true));
    EXPECT_FALSE(back.isTopDown());
    EXPECT_EQ(back.pixelValue(0, 0), 5u);

    Picture sizeOnly;
    ASSERT_TRUE(loadPackedBitmap(sizeOnly, block, false));
    EXPECT_EQ(sizeOnly.width(), 2);
    EXPECT_EQ(sizeOnly.height(), 3);
    EXPECT_FALSE(sizeOnly.hasPixels());
    EXPECT_TRUE(clipboardBitmap(sizeOnly).empty());
}

}  // namespace
}  // namespace rova
