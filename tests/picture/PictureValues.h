#pragma once

#include <gtest/gtest.h>

#include <QRgb>

#include <cstdint>
#include <vector>

#include "Picture.h"

namespace rova::test {

// Reading and writing pictures pixel by pixel, for the picture and edit tests.

// Stored values, row by row from the top.
using Rows = std::vector<std::vector<std::uint32_t>>;

inline Rows valuesOf(const Picture& picture) {
    Rows rows(static_cast<std::size_t>(picture.height()));
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            rows[static_cast<std::size_t>(y)].push_back(picture.pixelValue(x, y));
        }
    }
    return rows;
}

// A lamp picture holding the given rows of lamp indices.
inline void makeLamp(Picture& picture, const Rows& rows) {
    ASSERT_TRUE(
        picture.createLamp(static_cast<int>(rows[0].size()), static_cast<int>(rows.size())));
    for (std::size_t y = 0; y < rows.size(); ++y) {
        for (std::size_t x = 0; x < rows[y].size(); ++x) {
            picture.row(static_cast<int>(y))[x] = static_cast<std::uint8_t>(rows[y][x]);
        }
    }
}

// A 24-bit picture holding the given rows of colours, stored blue, green, red.
inline void makeRgb(Picture& picture, const std::vector<std::vector<QRgb>>& rows, bool topDown) {
    ASSERT_TRUE(picture.create(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()),
                               topDown, 24, {}, 0));
    for (std::size_t y = 0; y < rows.size(); ++y) {
        for (std::size_t x = 0; x < rows[y].size(); ++x) {
            std::uint8_t* bytes = picture.row(static_cast<int>(y)).data() + 3 * x;
            bytes[0] = static_cast<std::uint8_t>(qBlue(rows[y][x]));
            bytes[1] = static_cast<std::uint8_t>(qGreen(rows[y][x]));
            bytes[2] = static_cast<std::uint8_t>(qRed(rows[y][x]));
        }
    }
}

}  // namespace rova::test
