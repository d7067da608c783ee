#include "PictureClipboard.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QPainter>

#include <cstdint>
#include <span>
#include <vector>

#include "BmpCodec.h"
#include "Picture.h"
#include "PictureImageFile.h"

namespace rova {

namespace {

// The image types whose bytes the checked reader takes, in the order they are preferred.
constexpr const char* kEncodedTypes[] = {"image/png", "image/gif", "image/jpeg"};

}  // namespace

PictureClipboard::PictureClipboard(QClipboard* clipboard)
    : clipboard_(clipboard != nullptr ? clipboard : QGuiApplication::clipboard()) {}

bool PictureClipboard::copy(const Picture& picture) const {
    const std::vector<std::uint8_t> block = clipboardBitmap(picture);
    if (block.empty()) {
        return false;
    }
    QImage image(picture.width(), picture.height(), QImage::Format_RGB32);
    if (image.isNull()) {
        return false;
    }
    {
        QPainter painter(&image);
        if (!picture.drawWhole(painter, image.rect())) {
            return false;
        }
    }
    auto* offer = new QMimeData;
    offer->setData(QString::fromLatin1(kBitmapType),
                   QByteArray(reinterpret_cast<const char*>(block.data()),
                              static_cast<qsizetype>(block.size())));
    offer->setImageData(image);
    clipboard_->setMimeData(offer);
    return true;
}

bool PictureClipboard::paste(Picture& target) const {
    const QMimeData* offer = clipboard_->mimeData();
    if (offer == nullptr) {
        return false;
    }
    const QString bitmapType = QString::fromLatin1(kBitmapType);
    if (offer->hasFormat(bitmapType)) {
        const QByteArray block = offer->data(bitmapType);
        const std::span<const std::uint8_t> bytes(
            reinterpret_cast<const std::uint8_t*>(block.constData()),
            static_cast<std::size_t>(block.size()));
        if (loadPackedBitmap(target, bytes, true)) {
            return true;
        }
    }
    // Other programs' pictures: their encoded bytes through the checked reader, else the image
    // the platform decoded.
    for (const char* type : kEncodedTypes) {
        if (offer->hasFormat(QString::fromLatin1(type))) {
            QByteArray bytes = offer->data(QString::fromLatin1(type));
            QBuffer buffer(&bytes);
            if (buffer.open(QIODevice::ReadOnly) && readCheckedImage(buffer, target)) {
                return true;
            }
        }
    }
    if (offer->hasImage()) {
        return pictureFromImage(qvariant_cast<QImage>(offer->imageData()), target).ok;
    }
    return false;
}

bool PictureClipboard::canPaste() const {
    const QMimeData* offer = clipboard_->mimeData();
    if (offer == nullptr) {
        return false;
    }
    if (offer->hasFormat(QString::fromLatin1(kBitmapType)) || offer->hasImage()) {
        return true;
    }
    for (const char* type : kEncodedTypes) {
        if (offer->hasFormat(QString::fromLatin1(type))) {
            return true;
        }
    }
    return false;
}

}  // namespace rova
