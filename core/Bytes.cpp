#include "Bytes.h"

#include <new>
#include <stdexcept>

namespace rova {

bool tryResize(std::vector<std::uint8_t>& bytes, std::size_t count) {
    try {
        bytes.resize(count);
    } catch (const std::bad_alloc&) {
        return false;
    } catch (const std::length_error&) {
        return false;
    }
    return true;
}

bool tryAppend(std::vector<std::uint8_t>& bytes, std::span<const std::uint8_t> tail) {
    try {
        bytes.insert(bytes.end(), tail.begin(), tail.end());
    } catch (const std::bad_alloc&) {
        return false;
    } catch (const std::length_error&) {
        return false;
    }
    return true;
}

}  // namespace rova
