// Writes the input to a temporary ".bmp" file and loads it, with and without pixels; a picture
// that loads is saved, loaded again and compared, then edited.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

#include "PictureChecks.h"

namespace {

QTemporaryDir& scratch() {
    static QTemporaryDir dir(QDir::tempPath() + "/rova-fuzz-picture-XXXXXX");
    return dir;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString input = scratch().filePath("input.bmp");
    {
        QFile file(input);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) !=
                static_cast<qint64>(size)) {
            std::abort();
        }
    }
    rova::Picture picture;
    if (rova::loadBmpFile(picture, input, false) && picture.hasPixels()) {
        std::abort();
    }
    if (!rova::loadBmpFile(picture, input, true)) {
        return 0;
    }
    if (picture.header().imageSize <= rova::fuzz::kExerciseLimit) {
        const QString output = scratch().filePath("output.bmp");
        rova::Picture saved;
        if (!rova::saveBmpFile(picture, output) || !rova::loadBmpFile(saved, output, true)) {
            std::abort();
        }
        // Saving turns a top-down picture bottom-up; compare the same way up.
        rova::Picture bottomUp;
        if (!rova::loadPackedBitmap(bottomUp, rova::clipboardBitmap(picture), true) ||
            !rova::fuzz::samePicture(bottomUp, saved)) {
            std::abort();
        }
    }
    rova::fuzz::exercise(picture);
    return 0;
}
