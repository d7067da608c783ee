// Feeds the input to the packed-bitmap reader (the clipboard's and stored contents' form), with
// and without pixels; a picture that loads is written back, read again and edited.
#include <cstddef>
#include <cstdint>
#include <span>

#include "PictureChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> block(data, size);
    rova::Picture picture;
    if (rova::loadPackedBitmap(picture, block, false) && picture.hasPixels()) {
        std::abort();
    }
    if (rova::loadPackedBitmap(picture, block, true)) {
        rova::fuzz::exercise(picture);
    }
    return 0;
}
