#include "PlayerContent.h"

#include <algorithm>
#include <new>

namespace rova {

std::span<ContentColumn> PlayerContent::allocate(std::uint32_t columns, std::uint32_t rows) {
    std::unique_ptr<ContentColumn[]> array(new (std::nothrow) ContentColumn[columns]());
    if (!array) {
        return {};
    }
    data_ = std::move(array);
    columnCount_ = columns;
    rowCount_ = rows;
    return {data_.get(), columnCount_};
}

void PlayerContent::release() {
    data_.reset();
    columnCount_ = 0;
    rowCount_ = 0;
}

bool PlayerContent::copyFrom(const PlayerContent& source) {
    if (&source == this) {
        return true;
    }
    release();
    if (source.empty()) {
        return true;
    }
    const std::span<ContentColumn> target = allocate(source.columnCount_, source.rowCount_);
    if (target.empty()) {
        return false;
    }
    std::copy(source.columns().begin(), source.columns().end(), target.begin());
    return true;
}

}  // namespace rova
