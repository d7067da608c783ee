#include "ContentPacking.h"

#include <algorithm>

namespace rova {

bool packLampPicture(const LampPixels& picture, LampRect rect, bool flip, PlayerContent& content) {
    content.release();
    rect.left = std::max(rect.left, 0);
    rect.top = std::max(rect.top, 0);
    rect.right = std::min(rect.right, picture.width);
    rect.bottom = std::min(rect.bottom, picture.height);
    if (rect.right <= rect.left || rect.bottom <= rect.top) {
        return true;
    }

    int rows = rect.bottom - rect.top;
    if (rows > kMaxContentRows) {
        rect.top += (rows - kMaxContentRows) / 2;
        rows = kMaxContentRows;
    }
    const int columns = rect.right - rect.left;
    const std::span<ContentColumn> packed =
        content.allocate(static_cast<std::uint32_t>(columns), static_cast<std::uint32_t>(rows));
    if (packed.empty()) {
        return false;
    }

    // Row by row, so that the picture is read in the order it is stored; every row shifts the
    // words one bit further up.
    for (int r = 0; r < rows; ++r) {
        const int y = flip ? rect.top + rows - 1 - r : rect.top + r;
        for (int c = 0; c < columns; ++c) {
            const std::uint32_t value = picture.at(rect.left + c, y);
            for (std::uint32_t plane = 0; plane < 3; ++plane) {
                packed[c][plane] = (packed[c][plane] << 1) | ((value >> plane) & 1u);
            }
        }
    }
    const int unusedBits = kMaxContentRows - rows;
    for (ContentColumn& column : packed) {
        for (std::uint32_t& word : column) {
            word <<= unusedBits;
        }
    }
    return true;
}

}  // namespace rova
