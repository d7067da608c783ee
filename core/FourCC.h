#pragma once

#include <cstdint>
#include <span>

#include "LittleEndian.h"

namespace rova {

// A four-character code (file magic, command keyword, content kind) held as the 32-bit value
// whose little-endian bytes spell it, so that codes compare as integers. Any four bytes are a
// valid code: values read from a file are kept as they are.
class FourCC {
  public:
    constexpr FourCC() = default;
    constexpr explicit FourCC(std::uint32_t value) : value_(value) {}
    // From a four-letter literal such as "ROVA".
    consteval explicit FourCC(const char (&text)[5])
        : value_(byte(text[0]) | byte(text[1]) << 8 | byte(text[2]) << 16 | byte(text[3]) << 24) {}

    static constexpr FourCC fromBytes(std::span<const std::uint8_t, 4> bytes) {
        return FourCC(le::loadU32(bytes, 0));
    }
    constexpr void toBytes(std::span<std::uint8_t, 4> bytes) const {
        le::storeU32(bytes, 0, value_);
    }

    constexpr std::uint32_t value() const { return value_; }
    friend constexpr bool operator==(FourCC, FourCC) = default;

  private:
    static constexpr std::uint32_t byte(char c) { return static_cast<unsigned char>(c); }

    std::uint32_t value_ = 0;
};

}  // namespace rova
