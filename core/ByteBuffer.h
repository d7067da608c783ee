#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

namespace rova {

// A growable array of bytes (command contents, packed pictures, whole files). Storage comes in
// whole multiples of 16 bytes and is reallocated only when that rounded capacity changes, so
// small changes of the count cost nothing; a count of 0 frees it. The bytes between the count
// and the capacity are always zero, so a writer may pad a record from them.
//
// Every growing operation returns false and leaves the buffer as it was when the storage
// cannot be allocated.
class ByteBuffer {
  public:
    static constexpr std::size_t kGranule = 16;

    ByteBuffer() = default;
    ByteBuffer(ByteBuffer&&) noexcept = default;
    ByteBuffer& operator=(ByteBuffer&&) noexcept = default;
    ByteBuffer(const ByteBuffer&) = delete;
    ByteBuffer& operator=(const ByteBuffer&) = delete;

    // Sets the count; bytes kept from before stay, new bytes are zero.
    bool resize(std::size_t count);
    bool append(std::span<const std::uint8_t> bytes);
    // Replaces the contents with a copy of `source`.
    bool copyFrom(const ByteBuffer& source);
    void clear();

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    std::size_t capacity() const { return capacity_; }
    std::uint8_t* data() { return data_.get(); }
    const std::uint8_t* data() const { return data_.get(); }
    std::span<std::uint8_t> bytes() { return {data_.get(), size_}; }
    std::span<const std::uint8_t> bytes() const { return {data_.get(), size_}; }
    // The first `count` bytes of the storage, which may reach past size() up to capacity().
    std::span<const std::uint8_t> storage(std::size_t count) const;

  private:
    std::unique_ptr<std::uint8_t[]> data_;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

}  // namespace rova
