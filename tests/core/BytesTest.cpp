#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <limits>
#include <vector>

#include "Bytes.h"

namespace rova {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(BytesTest, GrowsOrFailsLeavingTheBytesAsTheyWere) {
    const Bytes tail{7, 8};
    const struct {
        const char* what;
        Bytes before;
        std::function<bool(Bytes&)> grow;
        bool grown;
        Bytes after;
    } cases[] = {
        {"longer", {1, 2}, [](Bytes& b) { return tryResize(b, 4); }, true, {1, 2, 0, 0}},
        {"shorter", {1, 2, 3}, [](Bytes& b) { return tryResize(b, 1); }, true, {1}},
        {"larger than a vector holds",
         {1, 2},
         [](Bytes& b) { return tryResize(b, std::numeric_limits<std::size_t>::max()); },
         false,
         {1, 2}},
        {"appended", {1}, [&](Bytes& b) { return tryAppend(b, tail); }, true, {1, 7, 8}},
        {"appended to nothing", {}, [&](Bytes& b) { return tryAppend(b, tail); }, true, {7, 8}},
    };
    for (const auto& c : cases) {
        Bytes bytes = c.before;
        EXPECT_EQ(c.grow(bytes), c.grown) << c.what;
        EXPECT_EQ(bytes, c.after) << c.what;
    }
}

}  // namespace
}  // namespace rova
