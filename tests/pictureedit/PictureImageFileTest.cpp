// Loading pictures of other formats than BMP: what is read, and what is refused before any
// pixel is decoded.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdint>

#include "BmpCodec.h"
#include "Picture.h"
#include "PictureImageFile.h"
#include "PictureValues.h"
#include "QtApplicationTest.h"

namespace rova::test {
namespace {

inline QByteArray pngBytes(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// The CRC-32 of PNG chunks.
inline std::uint32_t pngCrc(const char* data, qsizetype size) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (qsizetype i = 0; i < size; ++i) {
        crc ^= static_cast<std::uint8_t>(data[i]);
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    return ~crc;
}

// A valid PNG of side × side noise whose header claims width × height pixels: what a
// decompression bomb looks like until its pixels are decoded.
inline QByteArray hugeClaimPng(std::uint32_t width, std::uint32_t height, int side = 4) {
    QImage noise(side, side, QImage::Format_RGB32);
    std::uint32_t seed = 7;
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            seed = seed * 1664525u + 1013904223u;
            noise.setPixel(x, y, seed >> 8);
        }
    }
    QByteArray bytes = pngBytes(noise);
    // Signature (8), IHDR length and type (8), then width and height, big-endian.
    const auto put = [&bytes](qsizetype at, std::uint32_t value) {
        for (int i = 0; i < 4; ++i) {
            bytes[at + i] = static_cast<char>(value >> (24 - 8 * i));
        }
    };
    put(16, width);
    put(20, height);
    put(29, pngCrc(bytes.constData() + 12, 17));  // over the type and the 13 data bytes
    return bytes;
}

// A buffer that remembers how far into its bytes anything was read.
class ReadWatchingBuffer : public QBuffer {
  public:
    explicit ReadWatchingBuffer(const QByteArray& bytes) : bytes_(bytes) { setBuffer(&bytes_); }
    qint64 furthestRead() const { return furthest_; }

  protected:
    qint64 readData(char* data, qint64 size) override {
        const qint64 start = pos();
        const qint64 read = QBuffer::readData(data, size);
        furthest_ = std::max(furthest_, start + std::max<qint64>(read, 0));
        return read;
    }

  private:
    QByteArray bytes_;
    qint64 furthest_ = 0;
};

const QString kSamples = QStringLiteral(ROVA_IMAGE_SAMPLES);

class PictureImageFileTest : public QtApplicationTest {
  protected:
    QString write(const QString& name, const QByteArray& bytes) {
        const QString path = folder_.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    QTemporaryDir folder_;
};

// Pictures arrive as 24-bit pictures of their colours, transparent parts drawn over black;
// bitmaps go through the program's own reader and keep their bit count.
TEST_F(PictureImageFileTest, ReadsPngGifAndJpegAsTwentyFourBitPicturesAndBitmapsAsTheyAre) {
    Picture lamp;
    makeLamp(lamp, {{1, 2, 3}, {4, 5, 6}});
    ASSERT_TRUE(saveBmpFile(lamp, folder_.filePath("lamp.BMP")));
    const struct {
        QString path;
        int bitCount, width, height;
        // Packed colours of the first row where the format keeps them exactly; empty else.
        std::vector<std::uint32_t> firstRow;
    } cases[] = {
        {kSamples + "/rgb_4x3.png", 24, 4, 3, {0xFF0000, 0x00FF00, 0x0000FF, 0xE0E0E0}},
        {kSamples + "/rgba_3x2.png", 24, 3, 2, {0xFF0000, 0x008000, 0x000000}},
        {kSamples + "/palette_4x2.gif", 24, 4, 2, {0x000000, 0xFF0000, 0x00FF00, 0x0000FF}},
        {kSamples + "/gradient_8x8.jpg", 24, 8, 8, {}},
        {folder_.filePath("lamp.BMP"), 8, 3, 2, {1, 2, 3}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        Picture picture;
        const PictureLoad loaded = loadPictureFile(picture, c.path);
        ASSERT_TRUE(loaded) << loaded.message.toStdString();
        EXPECT_EQ(std::tuple(picture.bitCount(), picture.width(), picture.height()),
                  std::tuple(c.bitCount, c.width, c.height));
        if (!c.firstRow.empty()) {
            EXPECT_EQ(valuesOf(picture)[0], c.firstRow);
        }
        if (c.path.endsWith(".gif")) {
            EXPECT_EQ(picture.pixelValue(3, 1), 0u) << "the GIF's colour 7 is transparent";
        }
    }
}

// A failed load names the file and the reason, and leaves the picture empty.
TEST_F(PictureImageFileTest, FailuresSayWhichFileAndWhy) {
    const struct {
        const char* name;
        QByteArray bytes;  // null: no such file
        const char* reason;
    } cases[] = {
        {"missing.png", QByteArray(), "the file cannot be opened"},
        {"text.png", "not a picture at all", "it is not a BMP, PNG, JPEG or GIF picture"},
        {"png.bmp", pngBytes(QImage(2, 2, QImage::Format_RGB32)),
         "it is not a bitmap the program can read"},
        {"huge.png", hugeClaimPng(20000, 20000), "20000 × 20000 pixels"},
        {"wide.png", hugeClaimPng(16385, 1), "more than 16384 pixels a side"},
        {"bomb.png", hugeClaimPng(16384, 16384), "more than a picture can hold"},
        {"cut.png", pngBytes(QImage(40, 40, QImage::Format_RGB32)).left(60), ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = c.bytes.isNull() ? folder_.filePath(c.name) : write(c.name, c.bytes);
        Picture picture;
        ASSERT_TRUE(picture.createLamp(2, 2));
        const PictureLoad loaded = loadPictureFile(picture, path);
        EXPECT_FALSE(loaded);
        EXPECT_TRUE(loaded.message.startsWith("Cannot load \"" + path + "\": ") &&
                    loaded.message.contains(QString::fromUtf8(c.reason)))
            << loaded.message.toStdString();
        EXPECT_FALSE(picture.hasPixels());
    }
}

// The size in the header decides before the decoder reads the pixel data: of a file that claims
// 20000 × 20000 pixels only the first bytes are read.
TEST_F(PictureImageFileTest, RefusesAHugeClaimWithoutDecoding) {
    const QByteArray bytes = hugeClaimPng(20000, 20000, 64);
    ASSERT_GT(bytes.size(), 4096);
    ReadWatchingBuffer device(bytes);
    ASSERT_TRUE(device.open(QIODevice::ReadOnly | QIODevice::Unbuffered));
    Picture picture;
    const PictureLoad read = readCheckedImage(device, picture);
    EXPECT_FALSE(read);
    EXPECT_TRUE(read.message.contains("20000 × 20000")) << read.message.toStdString();
    EXPECT_LT(device.furthestRead(), 256);
}

TEST_F(PictureImageFileTest, ImagesBeyondTheLimitsAreNotConverted) {
    Picture picture;
    EXPECT_FALSE(pictureFromImage(QImage(16385, 1, QImage::Format_Mono), picture));
    EXPECT_FALSE(pictureFromImage(QImage(), picture));
    EXPECT_TRUE(pictureFromImage(QImage(16384, 1, QImage::Format_Mono), picture));
    EXPECT_EQ(picture.width(), 16384);
}

}  // namespace
}  // namespace rova::test
