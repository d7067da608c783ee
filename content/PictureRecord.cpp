#include "PictureRecord.h"

#include <algorithm>
#include <array>
#include <vector>

#include "Picture.h"

namespace rova {

namespace {

void putU32(std::uint32_t value, std::uint8_t* out) {
    for (int i = 0; i < 4; ++i) {
        out[i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

std::uint32_t getU32(std::span<const std::uint8_t> bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        value |= std::uint32_t{bytes[at + i]} << (8 * i);
    }
    return value;
}

std::span<const std::uint8_t> bytesOf(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

}  // namespace

bool writePictureRecord(std::string_view fileName, const PictureState& state,
                        const Picture& picture, ByteBuffer& record) {
    record.clear();
    std::vector<std::uint8_t> bitmap;
    if (!picture.writePacked(bitmap)) {
        return false;
    }
    std::array<std::uint8_t, 1 + PictureState::kSize> separatorAndState{};
    putU32(PictureState::kSize, &separatorAndState[1]);
    putU32(state.flags, &separatorAndState[5]);
    putU32(static_cast<std::uint32_t>(state.rows), &separatorAndState[9]);
    if (!record.append(bytesOf(fileName)) || !record.append(separatorAndState) ||
        !record.append(bitmap)) {
        record.clear();
        return false;
    }
    return true;
}

PictureRecord readPictureRecord(std::span<const std::uint8_t> record) {
    PictureRecord result;
    const auto nameEnd = std::find(record.begin(), record.end(), std::uint8_t{0});
    result.fileName.assign(record.begin(), nameEnd);
    if (nameEnd == record.end()) {
        return result;
    }
    const std::span<const std::uint8_t> block = record.subspan(result.fileName.size() + 1);
    if (block.size() < 4) {
        return result;
    }
    const std::size_t blockSize = getU32(block, 0);
    const std::size_t readable =
        std::min({blockSize, std::size_t{PictureState::kSize}, block.size()});
    if (readable >= 8) {
        result.state.flags = getU32(block, 4);
    }
    if (readable >= 12) {
        result.state.rows = static_cast<std::int32_t>(getU32(block, 8));
    }
    if (blockSize <= block.size()) {
        result.bitmap = block.subspan(blockSize);
    }
    return result;
}

}  // namespace rova
