#pragma once

// Checks shared by the picture fuzzers: whatever a load accepts must hold together, and a
// picture written out must read back identically.
#include <algorithm>
#include <cstdlib>

#include "BmpCodec.h"
#include "Picture.h"
#include "PictureEdits.h"

namespace rova::fuzz {

// Pictures above this many pixel bytes are loaded but not exercised further, so that the fuzzer
// spends its time on the reader rather than on copying large blocks of zeros.
inline constexpr std::uint32_t kExerciseLimit = 1 << 16;

inline bool samePicture(const Picture& a, const Picture& b) {
    if (a.header() != b.header() || !std::equal(a.colourTable().begin(), a.colourTable().end(),
                                                b.colourTable().begin(), b.colourTable().end())) {
        return false;
    }
    for (int y = 0; y < a.height(); ++y) {
        if (!std::ranges::equal(a.row(y), b.row(y))) {
            return false;
        }
    }
    return true;
}

// Checks a picture that loaded with pixels, then runs the whole-picture edits over it.
inline void exercise(Picture& picture) {
    const BitmapInfoHeader& header = picture.header();
    if (!picture.hasPixels() || header.compression != kUncompressed ||
        static_cast<std::int64_t>(header.imageSize) != picture.stride() * picture.height()) {
        std::abort();
    }
    if (header.imageSize > kExerciseLimit) {
        return;
    }
    std::vector<std::uint8_t> packed;
    Picture again;
    if (!writePackedBitmap(picture, packed) || !loadPackedBitmap(again, packed, true) ||
        !samePicture(picture, again)) {
        std::abort();
    }
    const std::optional<QRect> bounds = contentBounds(picture);
    if (bounds && !QRect(0, 0, picture.width(), picture.height()).contains(*bounds)) {
        std::abort();
    }
    if (clipboardBitmap(picture).empty() || !invertPicture(picture)) {
        std::abort();
    }
}

}  // namespace rova::fuzz
