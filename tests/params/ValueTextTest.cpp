#include <gtest/gtest.h>

#include <optional>

#include "ValueText.h"

namespace rova {
namespace {

TEST(ValueTextTest, ShownValuesAreRoundedToOneDecimalAndReadInSinglePrecision) {
    ValueText field(1, false);
    EXPECT_EQ(field.show(90.04), std::optional<double>(90.0));
    EXPECT_EQ(field.text(), "90");
    EXPECT_EQ(field.show(140.26), std::optional<double>(static_cast<double>(140.3f)));
    EXPECT_EQ(field.text(), "140.3");
    EXPECT_NE(static_cast<double>(140.3f), 140.3);
}

TEST(ValueTextTest, OnlyANumberOtherThanTheCurrentValueIsHandedOver) {
    ValueText field(1, false);
    EXPECT_EQ(field.show(90.0), std::optional<double>(90.0));
    // "90" gives the current value again: the data keeps its own, unrounded value.
    EXPECT_EQ(field.show(90.02), std::nullopt);
    EXPECT_EQ(field.currentValue(), 90.02);
    // Now the current value is the unrounded one, so the same text hands the rounded one over.
    EXPECT_EQ(field.show(90.02), std::optional<double>(90.0));
    EXPECT_EQ(field.show(0.0), std::optional<double>(0.0));
}

TEST(ValueTextTest, TypedTextHandsOverTheNumberItStartsWith) {
    ValueText field(1, false);
    EXPECT_EQ(field.edited("3.5abc"), std::optional<double>(3.5));
    EXPECT_EQ(field.currentValue(), 3.5);
    EXPECT_EQ(field.edited("abc"), std::nullopt);
    EXPECT_EQ(field.text(), "abc");
    EXPECT_EQ(field.currentValue(), 3.5);
    EXPECT_EQ(field.edited("  3.5"), std::nullopt);
    // Typed text is not rounded to the shown decimals, only read in single precision.
    EXPECT_EQ(field.edited("2.25"), std::optional<double>(2.25));
    EXPECT_EQ(field.edited("0.1"), std::optional<double>(static_cast<double>(0.1f)));
}

TEST(ValueTextTest, PlusSignIsOnlyInTheText) {
    ValueText field(1, true);
    EXPECT_EQ(field.show(12.0), std::optional<double>(12.0));
    EXPECT_EQ(field.text(), "+12");
    EXPECT_EQ(field.show(-0.25), std::optional<double>(static_cast<double>(-0.3f)));
    EXPECT_EQ(field.text(), "-0.3");
}

}  // namespace
}  // namespace rova
