#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace rova {

// Growing a byte vector (command contents, packed pictures, whole files) without exceptions:
// each returns false, with the vector left as it was, when the storage cannot be allocated or
// the size would pass what a vector can hold.

// Sets the size; bytes kept from before stay, new bytes are zero.
bool tryResize(std::vector<std::uint8_t>& bytes, std::size_t count);
// Appends a copy of `tail`, which must not lie in `bytes`.
bool tryAppend(std::vector<std::uint8_t>& bytes, std::span<const std::uint8_t> tail);

}  // namespace rova
