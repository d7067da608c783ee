// Reads the input as a PNG, JPEG or GIF picture through the checked reader of the picture
// editor's Load; a picture that is read must be a 24-bit picture within the loading limits,
// and is then checked and edited like every loaded bitmap.
#include <QBuffer>
#include <QByteArray>
#include <QtGlobal>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "PictureChecks.h"
#include "PictureImageFile.h"

// The decoders' complaints about broken inputs would cost more time than the decoding.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::ReadOnly)) {
        std::abort();
    }
    rova::Picture picture;
    const rova::PictureLoad read = rova::readCheckedImage(buffer, picture);
    if (!read) {
        if (picture.hasPixels() || read.message.isEmpty()) {
            std::abort();
        }
        return 0;
    }
    if (picture.bitCount() != 24 || picture.width() > rova::kMaxLoadedSide ||
        picture.height() > rova::kMaxLoadedSide ||
        static_cast<std::int64_t>(picture.header().imageSize) > rova::kMaxPixelBytes) {
        std::abort();
    }
    rova::fuzz::exercise(picture);
    return 0;
}
