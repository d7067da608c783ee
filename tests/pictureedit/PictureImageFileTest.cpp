// Loading pictures of other formats than BMP: what is read, and what is refused before any
// pixel is decoded.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <cstdint>

#include "BmpCodec.h"
#include "Picture.h"
#include "PictureImageFile.h"
#include "PictureTestImages.h"
#include "PictureValues.h"
#include "QtApplicationTest.h"

namespace rova::test {
namespace {

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

// Pictures arrive as 24-bit pictures of their colours, transparent parts drawn over black.
TEST_F(PictureImageFileTest, ReadsPngGifAndJpegAsTwentyFourBitPictures) {
    const struct {
        const char* file;
        int width;
        int height;
        // Packed colours of the first row where the format keeps them exactly; empty else.
        std::vector<std::uint32_t> firstRow;
    } cases[] = {
        {"rgb_4x3.png", 4, 3, {0xFF0000, 0x00FF00, 0x0000FF, 0xE0E0E0}},
        {"rgba_3x2.png", 3, 2, {0xFF0000, 0x008000, 0x000000}},
        {"palette_4x2.gif", 4, 2, {0x000000, 0xFF0000, 0x00FF00, 0x0000FF}},
        {"gradient_8x8.jpg", 8, 8, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        Picture picture;
        const PictureLoad loaded = loadPictureFile(picture, kSamples + "/" + c.file);
        ASSERT_TRUE(loaded) << loaded.message.toStdString();
        EXPECT_EQ(picture.bitCount(), 24);
        EXPECT_EQ(picture.width(), c.width);
        EXPECT_EQ(picture.height(), c.height);
        if (!c.firstRow.empty()) {
            EXPECT_EQ(valuesOf(picture)[0], c.firstRow);
        }
    }
    // The GIF's colour 7 is transparent.
    Picture gif;
    ASSERT_TRUE(loadPictureFile(gif, kSamples + "/palette_4x2.gif"));
    EXPECT_EQ(gif.pixelValue(3, 1), 0u);
}

TEST_F(PictureImageFileTest, BitmapsGoThroughTheProgramsOwnReader) {
    Picture lamp;
    makeLamp(lamp, {{1, 2, 3}, {4, 5, 6}});
    const QString path = folder_.filePath("lamp.BMP");
    ASSERT_TRUE(saveBmpFile(lamp, path));
    Picture loaded;
    ASSERT_TRUE(loadPictureFile(loaded, path));
    EXPECT_EQ(loaded.bitCount(), 8);
    EXPECT_EQ(valuesOf(loaded), valuesOf(lamp));
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
        EXPECT_TRUE(loaded.message.startsWith("Cannot load \"" + path + "\": "))
            << loaded.message.toStdString();
        EXPECT_TRUE(loaded.message.contains(QString::fromUtf8(c.reason)))
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
