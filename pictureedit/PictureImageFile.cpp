#include "PictureImageFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>

#include <cstdint>

#include "BitmapFormat.h"
#include "BmpCodec.h"
#include "Picture.h"

namespace rova {

namespace {

QString text(const char* source) {
    return QCoreApplication::translate("PictureImageFile", source);
}

PictureLoad failed(Picture& picture, const QString& reason) {
    picture.clear();
    return {false, reason};
}

// The formats read through Qt's decoders, by their handlers' names. Every other format is left
// alone: BMP has the program's own reader, and no other decoder need see outside bytes.
constexpr const char* kImageFormats[] = {"png", "jpeg", "gif"};

// Decoders hold 4 bytes a pixel: the most a picture within kMaxPixelBytes at 3 bytes a pixel
// needs, in the megabytes the reader counts.
constexpr int kDecoderLimitMiB = static_cast<int>((kMaxPixelBytes / 3 * 4) >> 20);

// Why an image of this size may not become a picture; empty when it may.
QString sizeRefusal(int width, int height) {
    if (width < 1 || height < 1) {
        return text("its size cannot be read");
    }
    if (width > kMaxLoadedSide || height > kMaxLoadedSide) {
        return text("it is %1 × %2 pixels, more than %3 pixels a side")
            .arg(width)
            .arg(height)
            .arg(kMaxLoadedSide);
    }
    if (rowStride(24, width) * height > kMaxPixelBytes) {
        return text("it is %1 × %2 pixels, more than a picture can hold").arg(width).arg(height);
    }
    return {};
}

}  // namespace

PictureLoad pictureFromImage(const QImage& image, Picture& picture) {
    if (image.isNull()) {
        return failed(picture, text("there is no image"));
    }
    if (const QString refusal = sizeRefusal(image.width(), image.height()); !refusal.isEmpty()) {
        return failed(picture, refusal);
    }
    // Premultiplied colours are the image drawn over black.
    const QImage colours = image.convertToFormat(
        image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    Picture converted;
    if (colours.isNull() || !converted.create(image.width(), image.height(), false, 24, {}, 0)) {
        return failed(picture, text("there is not enough memory"));
    }
    for (int y = 0; y < converted.height(); ++y) {
        const auto* source = reinterpret_cast<const QRgb*>(colours.constScanLine(y));
        std::uint8_t* bytes = converted.row(y).data();
        for (int x = 0; x < converted.width(); ++x) {
            bytes[3 * x] = static_cast<std::uint8_t>(qBlue(source[x]));
            bytes[3 * x + 1] = static_cast<std::uint8_t>(qGreen(source[x]));
            bytes[3 * x + 2] = static_cast<std::uint8_t>(qRed(source[x]));
        }
    }
    if (!picture.moveFrom(converted)) {
        return failed(picture, text("there is not enough memory"));
    }
    return {true, {}};
}

PictureLoad readCheckedImage(QIODevice& device, Picture& picture) {
    const qint64 start = device.pos();
    for (const char* format : kImageFormats) {
        if (!device.seek(start)) {
            break;
        }
        QImageReader reader(&device, format);
        // Only the named format's decoder looks at the bytes.
        reader.setAutoDetectImageFormat(false);
        if (!reader.canRead()) {
            continue;
        }
        // The size comes from the header alone; nothing is decoded before it is checked.
        const QSize size = reader.size();
        if (const QString refusal = sizeRefusal(size.width(), size.height()); !refusal.isEmpty()) {
            return failed(picture, refusal);
        }
        reader.setAllocationLimit(kDecoderLimitMiB);
        QImage image;
        if (!reader.read(&image)) {
            return failed(picture, reader.errorString());
        }
        return pictureFromImage(image, picture);
    }
    return failed(picture, text("it is not a BMP, PNG, JPEG or GIF picture"));
}

PictureLoad loadPictureFile(Picture& picture, const QString& path) {
    const auto failure = [&path](const QString& reason) {
        return PictureLoad{false, text("Cannot load \"%1\": %2.").arg(path, reason)};
    };
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        picture.clear();
        return failure(text("the file cannot be opened"));
    }
    if (QFileInfo(path).suffix().compare(u"bmp", Qt::CaseInsensitive) == 0) {
        file.close();
        if (!loadBmpFile(picture, path, true)) {
            return failure(text("it is not a bitmap the program can read"));
        }
        return {true, {}};
    }
    const PictureLoad read = readCheckedImage(file, picture);
    return read ? read : failure(read.message);
}

}  // namespace rova
