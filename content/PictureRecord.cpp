#include "PictureRecord.h"

#include <algorithm>
#include <array>
#include <vector>

#include "BmpCodec.h"
#include "Bytes.h"
#include "LittleEndian.h"
#include "Picture.h"

namespace rova {

namespace {

std::span<const std::uint8_t> bytesOf(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

}  // namespace

bool writePictureRecord(std::string_view fileName, const PictureState& state,
                        const Picture& picture, std::vector<std::uint8_t>& record) {
    record.clear();
    std::vector<std::uint8_t> bitmap;
    if (!writePackedBitmap(picture, bitmap)) {
        return false;
    }
    std::array<std::uint8_t, 1 + PictureState::kSize> separatorAndState{};
    le::storeU32(separatorAndState, 1, PictureState::kSize);
    le::storeU32(separatorAndState, 5, state.flags);
    le::storeU32(separatorAndState, 9, static_cast<std::uint32_t>(state.rows));
    if (!tryAppend(record, bytesOf(fileName)) || !tryAppend(record, separatorAndState) ||
        !tryAppend(record, bitmap)) {
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
    const std::size_t blockSize = le::loadU32(block, 0);
    const std::size_t readable =
        std::min({blockSize, std::size_t{PictureState::kSize}, block.size()});
    if (readable >= 8) {
        result.state.flags = le::loadU32(block, 4);
    }
    if (readable >= 12) {
        result.state.rows = static_cast<std::int32_t>(le::loadU32(block, 8));
    }
    if (blockSize <= block.size()) {
        result.bitmap = block.subspan(blockSize);
    }
    return result;
}

}  // namespace rova
