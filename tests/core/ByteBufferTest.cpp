#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "ByteBuffer.h"

namespace rova {
namespace {

TEST(ByteBufferTest, ReallocatesOnlyWhenTheRoundedCapacityChanges) {
    ByteBuffer buffer;
    ASSERT_TRUE(buffer.resize(20));
    EXPECT_EQ(buffer.capacity(), 32u);
    const std::uint8_t* storage = buffer.data();

    ASSERT_TRUE(buffer.resize(17));
    EXPECT_EQ(buffer.data(), storage);
    EXPECT_EQ(buffer.size(), 17u);

    ASSERT_TRUE(buffer.resize(33));
    EXPECT_EQ(buffer.capacity(), 48u);
    EXPECT_NE(buffer.data(), storage);

    ASSERT_TRUE(buffer.resize(0));
    EXPECT_EQ(buffer.data(), nullptr);
    EXPECT_EQ(buffer.capacity(), 0u);
}

TEST(ByteBufferTest, KeepsBytesAcrossReallocationAndZeroesTheRest) {
    ByteBuffer buffer;
    ASSERT_TRUE(buffer.resize(20));
    std::fill_n(buffer.data(), 20, std::uint8_t{0xAB});

    ASSERT_TRUE(buffer.resize(17));
    const auto slack = buffer.storage(32);
    EXPECT_TRUE(std::all_of(slack.begin(), slack.begin() + 17, [](auto b) { return b == 0xAB; }));
    EXPECT_TRUE(std::all_of(slack.begin() + 17, slack.end(), [](auto b) { return b == 0; }));

    ASSERT_TRUE(buffer.resize(40));
    EXPECT_TRUE(std::all_of(buffer.data(), buffer.data() + 17, [](auto b) { return b == 0xAB; }));
    EXPECT_TRUE(std::all_of(buffer.data() + 17, buffer.data() + 48, [](auto b) { return b == 0; }));
}

TEST(ByteBufferTest, AppendsAndCopiesIndependently) {
    const std::vector<std::uint8_t> first{1, 2, 3};
    const std::vector<std::uint8_t> second(30, 9);
    ByteBuffer buffer;
    ASSERT_TRUE(buffer.append(first));
    ASSERT_TRUE(buffer.append(second));
    ASSERT_EQ(buffer.size(), 33u);
    EXPECT_EQ(buffer.data()[2], 3);
    EXPECT_EQ(buffer.data()[32], 9);

    ByteBuffer copy;
    ASSERT_TRUE(copy.copyFrom(buffer));
    buffer.data()[0] = 77;
    EXPECT_EQ(copy.data()[0], 1);
    EXPECT_TRUE(
        std::equal(copy.bytes().begin() + 1, copy.bytes().end(), buffer.bytes().begin() + 1));

    ByteBuffer empty;
    ASSERT_TRUE(copy.copyFrom(empty));
    EXPECT_TRUE(copy.empty());
    EXPECT_EQ(copy.data(), nullptr);
}

}  // namespace
}  // namespace rova
