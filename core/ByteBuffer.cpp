#include "ByteBuffer.h"

#include <algorithm>
#include <cassert>
#include <cstring>
#include <limits>
#include <new>

namespace rova {

namespace {

// The capacity that holds `count` bytes, or 0 when rounding up would overflow.
std::size_t roundedCapacity(std::size_t count) {
    if (count > std::numeric_limits<std::size_t>::max() - (ByteBuffer::kGranule - 1)) {
        return 0;
    }
    return (count + ByteBuffer::kGranule - 1) / ByteBuffer::kGranule * ByteBuffer::kGranule;
}

}  // namespace

bool ByteBuffer::resize(std::size_t count) {
    if (count == 0) {
        clear();
        return true;
    }
    const std::size_t capacity = roundedCapacity(count);
    if (capacity == 0) {
        return false;
    }
    if (capacity != capacity_) {
        std::unique_ptr<std::uint8_t[]> storage(new (std::nothrow) std::uint8_t[capacity]());
        if (!storage) {
            return false;
        }
        if (size_ > 0) {
            std::memcpy(storage.get(), data_.get(), std::min(size_, count));
        }
        data_ = std::move(storage);
        capacity_ = capacity;
    } else if (count < size_) {
        std::memset(data_.get() + count, 0, size_ - count);
    }
    size_ = count;
    return true;
}

bool ByteBuffer::append(std::span<const std::uint8_t> bytes) {
    if (bytes.empty()) {
        return true;
    }
    const std::size_t start = size_;
    if (bytes.size() > std::numeric_limits<std::size_t>::max() - start ||
        !resize(start + bytes.size())) {
        return false;
    }
    std::memcpy(data_.get() + start, bytes.data(), bytes.size());
    return true;
}

bool ByteBuffer::copyFrom(const ByteBuffer& source) {
    if (this == &source) {
        return true;
    }
    ByteBuffer copy;
    if (!copy.append(source.bytes())) {
        return false;
    }
    *this = std::move(copy);
    return true;
}

void ByteBuffer::clear() {
    data_.reset();
    size_ = 0;
    capacity_ = 0;
}

std::span<const std::uint8_t> ByteBuffer::storage(std::size_t count) const {
    assert(count <= capacity_);
    return {data_.get(), count};
}

}  // namespace rova
