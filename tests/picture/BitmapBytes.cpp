#include "BitmapBytes.h"

namespace rova::test {

namespace {

void put(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

}  // namespace

std::vector<std::uint8_t> BitmapBytes::block() const {
    std::vector<std::uint8_t> out;
    put(out, headerSize, 4);
    put(out, static_cast<std::uint32_t>(width), 4);
    put(out, static_cast<std::uint32_t>(height), 4);
    put(out, planes, 2);
    put(out, bitCount, 2);
    put(out, compression, 4);
    put(out, imageSize, 4);
    put(out, static_cast<std::uint32_t>(resolution), 4);
    put(out, static_cast<std::uint32_t>(resolution), 4);
    put(out, coloursUsed, 4);
    put(out, coloursImportant, 4);
    for (std::uint32_t mask : masks) {
        put(out, mask, 4);
    }
    while (out.size() < headerSize) {
        out.push_back(0);
    }
    out.insert(out.end(), table.begin(), table.end());
    out.insert(out.end(), pixels.begin(), pixels.end());
    out.insert(out.end(), trailing.begin(), trailing.end());
    return out;
}

std::vector<std::uint8_t> BitmapBytes::file() const {
    const std::vector<std::uint8_t> body = block();
    const std::size_t pixelStart = body.size() - pixels.size() - trailing.size();
    std::vector<std::uint8_t> out = {'B', 'M'};
    put(out, static_cast<std::uint32_t>(14 + body.size()), 4);
    put(out, 0, 4);
    put(out, bitsOffset.value_or(static_cast<std::uint32_t>(14 + pixelStart)), 4);
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

std::vector<std::uint8_t> patternRows(int rows, int stride) {
    std::vector<std::uint8_t> out;
    for (int r = 0; r < rows; ++r) {
        for (int i = 0; i < stride; ++i) {
            out.push_back(static_cast<std::uint8_t>((r * 31 + i * 7 + 1) & 0xFF));
        }
    }
    return out;
}

}  // namespace rova::test
