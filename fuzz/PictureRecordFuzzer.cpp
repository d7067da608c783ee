// Feeds the input to the reader of picture contents ("PICT": file name, display state, packed
// bitmap) as sequence files carry them. A record whose bitmap loads is written back and must read
// back with the same name, state and picture.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "PictureChecks.h"
#include "PictureRecord.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const rova::PictureRecord record = rova::readPictureRecord(std::span(data, size));
    if (record.bitmap.data() != nullptr &&
        (record.bitmap.data() < data ||
         record.bitmap.data() + record.bitmap.size() > data + size)) {
        std::abort();
    }
    rova::Picture picture;
    if (!rova::loadPackedBitmap(picture, record.bitmap, true) ||
        picture.header().imageSize > rova::fuzz::kExerciseLimit) {
        return 0;
    }
    std::vector<std::uint8_t> written;
    if (!rova::writePictureRecord(record.fileName, record.state, picture, written)) {
        std::abort();
    }
    const rova::PictureRecord reread = rova::readPictureRecord(written);
    rova::Picture again;
    if (reread.fileName != record.fileName || !(reread.state == record.state) ||
        !rova::loadPackedBitmap(again, reread.bitmap, true) ||
        !rova::fuzz::samePicture(picture, again)) {
        std::abort();
    }
    return 0;
}
