#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <climits>
#include <cstring>
#include <functional>
#include <optional>
#include <tuple>
#include <vector>

#include "BmpCodec.h"
#include "Picture.h"
#include "PictureEdits.h"
#include "PictureValues.h"

namespace rova::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Appends the value as 4 little-endian bytes.
void put(Bytes& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

// The parts of a bitmap as a test wants them on disk, written here byte by byte and
// independently of the picture's own writer.
struct BitmapBytes {
    std::uint32_t headerSize = 40;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t planes = 1;
    std::uint16_t bitCount = 8;
    std::uint32_t compression = 0;
    std::uint32_t imageSize = 0;
    std::uint32_t coloursUsed = 0;
    std::uint32_t coloursImportant = 0;
    std::vector<std::uint32_t> masks{};  // inside a larger header, or right behind a 40-byte one
    Bytes table{};                       // 4 bytes an entry
    Bytes pixels{};                      // the stored rows
    Bytes trailing{};
    std::optional<std::uint32_t> bitsOffset{};  // by default where the pixels really start

    // Header, masks, table, pixels, trailing bytes: a packed bitmap.
    Bytes block() const {
        Bytes out;
        const auto planesAndBits = static_cast<std::uint32_t>(planes | bitCount << 16);
        for (const std::uint32_t field :
             {headerSize, static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height),
              planesAndBits, compression, imageSize, 2834u, 2834u, coloursUsed, coloursImportant}) {
            put(out, field);
        }
        for (const std::uint32_t mask : masks) {
            put(out, mask);
        }
        out.resize(std::max<std::size_t>(out.size(), headerSize));
        for (const Bytes* part : {&table, &pixels, &trailing}) {
            out.insert(out.end(), part->begin(), part->end());
        }
        return out;
    }

    // The 14-byte file header in front of block().
    Bytes file() const {
        const Bytes body = block();
        const std::size_t pixelStart = body.size() - pixels.size() - trailing.size();
        Bytes out = {'B', 'M'};
        put(out, static_cast<std::uint32_t>(14 + body.size()));
        put(out, 0);
        put(out, bitsOffset.value_or(static_cast<std::uint32_t>(14 + pixelStart)));
        out.insert(out.end(), body.begin(), body.end());
        return out;
    }
};

std::uint32_t u32At(const Bytes& bytes, std::size_t at) {
    std::uint32_t value = 0;
    std::memcpy(&value, bytes.data() + at, 4);
    return value;
}

int strideOf(int bitCount, int width) {
    return (bitCount * width + 31) / 32 * 4;
}

// A bottom-up bitmap of every row distinct, below 16 bits with a full table of distinct entries.
BitmapBytes sampleBitmap(int bitCount, int width, int height) {
    BitmapBytes bitmap;
    bitmap.width = width;
    bitmap.height = height;
    bitmap.bitCount = static_cast<std::uint16_t>(bitCount);
    for (int i = 0; bitCount < 16 && i < 1 << bitCount; ++i) {
        bitmap.table.insert(bitmap.table.end(),
                            {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
                             static_cast<std::uint8_t>(i * 3), 0});
    }
    bitmap.coloursUsed = bitmap.coloursImportant =
        static_cast<std::uint32_t>(bitmap.table.size() / 4);
    bitmap.imageSize = static_cast<std::uint32_t>(strideOf(bitCount, width) * height);
    // Byte i of stored row r is r * 31 + i * 7 + 1: every row distinct.
    for (int r = 0; r < height; ++r) {
        for (int i = 0; i < strideOf(bitCount, width); ++i) {
            bitmap.pixels.push_back(static_cast<std::uint8_t>(r * 31 + i * 7 + 1));
        }
    }
    return bitmap;
}

class BmpFileTest : public ::testing::Test {
  protected:
    QString path(const QString& name) const { return dir_.filePath(name); }

    QString write(const Bytes& bytes, const QString& name = "in.bmp") {
        QFile file(path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
        return path(name);
    }

    Bytes read(const QString& name) const {
        QFile file(path(name));
        const QByteArray data = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        return Bytes(data.begin(), data.end());
    }

    // Saves `picture`, expecting `expected` byte for byte.
    void expectSaved(const Picture& picture, const BitmapBytes& expected) {
        ASSERT_TRUE(saveBmpFile(picture, path("out.bmp")));
        EXPECT_EQ(read("out.bmp"), expected.file());
    }

    QTemporaryDir dir_;
};

// 10 × 16: 12 bytes a row, the 8 lamp colours, the bottom row stored first.
TEST_F(BmpFileTest, LampPictureSavesBottomUpAndReadsBackTheSameWayUp) {
    Picture lamp;
    ASSERT_TRUE(lamp.createLamp(10, 16));
    lamp.row(0)[0] = 4;   // top-left red
    lamp.row(15)[9] = 1;  // bottom-right blue
    BitmapBytes expected{.width = 10, .height = 16, .imageSize = 192, .pixels = Bytes(192, 0)};
    expected.coloursUsed = expected.coloursImportant = 8;
    // Blue, green, red, 0: black, blue, green, cyan, red, magenta, yellow, white.
    expected.table = {0, 0, 0,   0, 255, 0, 0,   0, 0, 255, 0,   0, 255, 255, 0,   0,
                      0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 0, 255, 255, 255, 0};
    expected.pixels[9] = 1;
    expected.pixels[15 * 12] = 4;
    expectSaved(lamp, expected);
    EXPECT_TRUE(lamp.isTopDown()) << "the picture saved is untouched";
    Picture back;
    ASSERT_TRUE(loadBmpFile(back, path("out.bmp"), true));
    EXPECT_FALSE(back.isTopDown());
    EXPECT_EQ(valuesOf(back), valuesOf(lamp));
}

TEST_F(BmpFileTest, EveryBitDepthRoundTripsByteForByte) {
    for (int bitCount : {1, 4, 8, 16, 24, 32}) {
        SCOPED_TRACE(bitCount);
        const BitmapBytes bitmap = sampleBitmap(bitCount, 13, 5);
        Picture picture;
        ASSERT_TRUE(loadBmpFile(picture, write(bitmap.file()), true));
        const int stride = strideOf(bitCount, 13);
        EXPECT_EQ(std::tuple(picture.width(), picture.height(), picture.isTopDown(),
                             picture.bitCount(), picture.stride(), picture.header().imageSize),
                  std::tuple(13, 5, false, bitCount, stride, bitmap.imageSize));
        // Display row 0 is the last stored row; its first byte's top bits are pixel 0.
        const std::uint8_t first = bitmap.pixels[static_cast<std::size_t>(4 * stride)];
        EXPECT_EQ(picture.pixelValue(0, 0) & 0xFF, bitCount < 8 ? first >> (8 - bitCount) : first);
        expectSaved(picture, bitmap);
    }
}

TEST_F(BmpFileTest, ZeroColoursUsedAtEightBitsReadsAFullTable) {
    BitmapBytes bitmap = sampleBitmap(8, 4, 2);
    bitmap.coloursUsed = bitmap.coloursImportant = 0;
    Picture picture;
    ASSERT_TRUE(loadBmpFile(picture, write(bitmap.file()), true));
    ASSERT_EQ(picture.colourTable().size(), 256u);
    EXPECT_EQ(picture.header().coloursImportant, 256u);
    EXPECT_EQ(picture.colourTable()[200], (TableEntry{200, 55, 88, 0}));
    EXPECT_EQ(picture.pixelValue(0, 1), bitmap.pixels[0]);
}

TEST_F(BmpFileTest, TrailingBytesAreIgnoredAndMissingRowsStayZero) {
    BitmapBytes bitmap = sampleBitmap(8, 4, 3);
    bitmap.trailing = {9, 9, 9, 9, 9, 9};
    Picture picture;
    ASSERT_TRUE(loadBmpFile(picture, write(bitmap.file()), true));
    bitmap.trailing.clear();
    expectSaved(picture, bitmap);
    // One and a half rows of three: the stored bottom row, half of the middle one.
    bitmap.pixels.resize(6);
    ASSERT_TRUE(loadBmpFile(picture, write(bitmap.file()), true));
    EXPECT_EQ(picture.pixelValue(0, 2), bitmap.pixels[0]);
    EXPECT_EQ(picture.pixelValue(1, 1), bitmap.pixels[5]);
    EXPECT_EQ(picture.pixelValue(2, 1), 0u);
    EXPECT_EQ(contentBounds(picture), QRect(0, 1, 4, 2)) << "the top row is all zero";
    // A file that ends right behind its colour table gives an all-zero picture.
    bitmap.pixels.clear();
    ASSERT_TRUE(loadBmpFile(picture, write(bitmap.file()), true));
    EXPECT_FALSE(contentBounds(picture).has_value());
}

TEST_F(BmpFileTest, LargerHeadersFindThePixelsAtTheBitsOffset) {
    for (std::uint32_t headerSize : {108u, 124u}) {
        SCOPED_TRACE(headerSize);
        BitmapBytes bitmap = sampleBitmap(8, 5, 2);
        bitmap.headerSize = headerSize;
        // Four bytes of gap between table and pixels, as some writers leave.
        const Bytes pixels = bitmap.pixels;
        bitmap.pixels.insert(bitmap.pixels.begin(), {0xEE, 0xEE, 0xEE, 0xEE});
        bitmap.bitsOffset = 14 + headerSize + 1024 + 4;
        Picture picture;
        ASSERT_TRUE(loadBmpFile(picture, write(bitmap.file()), true));
        EXPECT_EQ(picture.header().size, 40u);
        EXPECT_EQ(picture.pixelValue(0, 1), pixels[0]);
        EXPECT_EQ(picture.pixelValue(4, 0), pixels[8 + 4]);
        // A bits offset pointing into the header or table is refused.
        bitmap.bitsOffset = 14 + headerSize;
        EXPECT_FALSE(loadBmpFile(picture, write(bitmap.file()), true));
        EXPECT_FALSE(picture.hasPixels());
    }
}

TEST_F(BmpFileTest, BitFieldsWithTheOrdinaryLayoutLoadAsUncompressed) {
    // 32 bits with the usual masks behind a 124-byte header, as image editors write them.
    BitmapBytes modern = sampleBitmap(32, 3, 2);
    modern.headerSize = 124;
    modern.compression = 3;
    modern.masks = {0xFF0000, 0x00FF00, 0x0000FF, 0xFF000000};
    Picture picture;
    ASSERT_TRUE(loadBmpFile(picture, write(modern.file()), true));
    EXPECT_EQ(picture.header().compression, 0u);
    EXPECT_EQ(picture.pixelValue(0, 1), u32At(modern.pixels, 0));
    // 16 bits 5-5-5 with the masks behind a 40-byte header.
    BitmapBytes classic = sampleBitmap(16, 3, 2);
    classic.compression = 3;
    classic.masks = {0x7C00, 0x03E0, 0x001F};
    ASSERT_TRUE(loadBmpFile(picture, write(classic.file()), true));
    EXPECT_EQ(picture.pixelValue(1, 1), classic.pixels[2] | (classic.pixels[3] << 8u));
}

// Other masks (5-6-5) and run-length coding are not understood: the pixels cannot be loaded,
// the header and table can.
TEST_F(BmpFileTest, HeaderOnlyLoadReportsTheSizeWithoutPixels) {
    BitmapBytes rle = sampleBitmap(8, 7, 3);
    rle.compression = 1;
    BitmapBytes odd = sampleBitmap(16, 3, 2);
    odd.compression = 3;
    odd.masks = {0xF800, 0x07E0, 0x001F};
    for (const auto& [bitmap, tableSize] : {std::pair{rle, 256u}, {odd, 0u}}) {
        Picture picture;
        EXPECT_FALSE(loadBmpFile(picture, write(bitmap.file()), true));
        ASSERT_TRUE(loadBmpFile(picture, write(bitmap.file()), false));
        EXPECT_EQ(QSize(picture.width(), picture.height()), QSize(bitmap.width, bitmap.height));
        EXPECT_EQ(picture.colourTable().size(), tableSize);
        EXPECT_FALSE(picture.hasPixels());
        EXPECT_FALSE(saveBmpFile(picture, path("nothing.bmp")));
        Bytes packed;
        EXPECT_FALSE(writePackedBitmap(picture, packed));
        EXPECT_TRUE(clipboardBitmap(picture).empty());
    }
}

TEST_F(BmpFileTest, BrokenAndOversizedFilesFailAndLeaveThePictureEmpty) {
    const BitmapBytes good = sampleBitmap(8, 4, 4);
    const auto changed = [&good](const std::function<void(BitmapBytes&)>& change) {
        BitmapBytes bitmap = good;
        change(bitmap);
        return bitmap.file();
    };
    const auto cut = [&good](std::size_t size, std::uint8_t first = 'B') {
        Bytes bytes = good.file();
        bytes.resize(size);
        bytes.front() = first;
        return bytes;
    };
    const std::pair<const char*, Bytes> cases[] = {
        {"signature", cut(good.file().size(), 'X')},
        {"core header", changed([](BitmapBytes& b) { b.headerSize = 12; })},
        {"too wide", changed([](BitmapBytes& b) { b.width = 16385; })},
        {"height INT_MIN", changed([](BitmapBytes& b) { b.height = INT_MIN; })},
        {"planes", changed([](BitmapBytes& b) { b.planes = 2; })},
        {"bit count", changed([](BitmapBytes& b) { b.bitCount = 2; })},
        {"768 MiB of pixels", changed([](BitmapBytes& b) {
             b = sampleBitmap(24, 16384, 1);
             b.height = -16384;
         })},
        {"short table", cut(14 + 40 + 100)},
        {"short header", cut(30)},
        {"empty", Bytes{}},
    };
    for (const auto& [name, bytes] : cases) {
        SCOPED_TRACE(name);
        Picture picture;
        ASSERT_TRUE(picture.createLamp(2, 2));
        EXPECT_FALSE(loadBmpFile(picture, write(bytes), true));
        EXPECT_FALSE(picture.hasPixels());
        EXPECT_EQ(picture.width(), 0);
    }
    Picture picture;
    EXPECT_FALSE(loadBmpFile(picture, path("missing.bmp"), true));
}

TEST_F(BmpFileTest, SaveCreatesMissingFoldersAndAFailedSaveKeepsTheOldFile) {
    Picture lamp;
    ASSERT_TRUE(lamp.createLampFilled(3, 2, 0x0000FF));
    ASSERT_TRUE(saveBmpFile(lamp, path("a/b/c/red.bmp")));
    const Bytes before = read("a/b/c/red.bmp");
    EXPECT_EQ(before.size(), 86u + 4 * 2);
    EXPECT_FALSE(saveBmpFile(Picture(), path("a/b/c/red.bmp")));
    EXPECT_EQ(read("a/b/c/red.bmp"), before);
    // A folder in the way of the file cannot be replaced either, nor a file stand for a folder.
    ASSERT_TRUE(QDir().mkpath(path("taken")));
    EXPECT_FALSE(saveBmpFile(lamp, path("taken")));
    EXPECT_FALSE(saveBmpFile(lamp, path("a/b/c/red.bmp/x.bmp")));
    EXPECT_TRUE(QDir(path("taken")).exists());
    // No temporary files are left behind.
    EXPECT_EQ(QDir(path("a/b/c")).entryList(QDir::Files), QStringList{"red.bmp"});
    EXPECT_TRUE(QDir(dir_.path()).entryList(QDir::Files).isEmpty());
}

// Packed blocks keep the stored order; short blocks keep the rule of files: missing pixel
// bytes are zero, down to a single byte.
TEST(PackedBitmap, PackedBlockRoundTripsAndRejectsOtherHeaderSizes) {
    Picture picture;
    ASSERT_TRUE(picture.createLamp(5, 3, true));
    picture.row(0)[1] = 8;
    picture.row(2)[4] = 3;
    Bytes packed = {1, 2, 3};
    ASSERT_TRUE(writePackedBitmap(picture, packed));
    ASSERT_EQ(packed.size(), 40u + 4 * 9 + 8 * 3);
    Picture back;
    ASSERT_TRUE(loadPackedBitmap(back, packed, true));
    EXPECT_EQ(back.header(), picture.header());
    EXPECT_TRUE(std::ranges::equal(back.colourTable(), picture.colourTable()));
    EXPECT_EQ(valuesOf(back), valuesOf(picture));
    packed.resize(packed.size() - 8);
    ASSERT_TRUE(loadPackedBitmap(back, packed, true));
    EXPECT_EQ(std::pair(back.pixelValue(1, 0), back.pixelValue(4, 2)), std::pair(8u, 0u));
    packed.resize(40 + 4 * 9 + 1);
    packed.back() = 6;
    ASSERT_TRUE(loadPackedBitmap(back, packed, true));
    EXPECT_EQ(std::pair(back.pixelValue(0, 0), back.pixelValue(1, 0)), std::pair(6u, 0u));
    // The clipboard form of a 124-byte header is refused, as is a file header.
    BitmapBytes large = sampleBitmap(8, 2, 2);
    large.headerSize = 124;
    EXPECT_FALSE(loadPackedBitmap(back, large.block(), true));
    EXPECT_FALSE(back.hasPixels());
    EXPECT_FALSE(loadPackedBitmap(back, sampleBitmap(8, 2, 2).file(), true));
}

TEST(PackedBitmap, ClipboardBlockIsBottomUpAndLoadsWithOrWithoutPixels) {
    Picture picture;
    ASSERT_TRUE(picture.createLamp(2, 3));
    picture.row(0)[0] = 5;
    const Bytes block = clipboardBitmap(picture);
    ASSERT_EQ(block.size(), 40u + 32 + 4 * 3);
    EXPECT_EQ(u32At(block, 8), 3u) << "a positive height";
    EXPECT_EQ(block[72 + 2 * 4], 5) << "the top row is the last stored one";
    EXPECT_TRUE(picture.isTopDown());
    Picture back;
    ASSERT_TRUE(loadPackedBitmap(back, block, true));
    EXPECT_FALSE(back.isTopDown());
    EXPECT_EQ(back.pixelValue(0, 0), 5u);
    ASSERT_TRUE(loadPackedBitmap(back, block, false));
    EXPECT_EQ(QSize(back.width(), back.height()), QSize(2, 3));
    EXPECT_FALSE(back.hasPixels());
}

}  // namespace
}  // namespace rova::test
