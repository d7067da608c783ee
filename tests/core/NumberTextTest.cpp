#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "NumberText.h"

namespace rova {
namespace {

TEST(FormatNumberTest, ShowsWholeNumbersWithoutAPoint) {
    EXPECT_EQ(formatNumber(8.0, 0, 1, false), "8");
    EXPECT_EQ(formatNumber(720.0, 0, 1, false), "720");
    EXPECT_EQ(formatNumber(0.0, 0, 1, false), "0");
    EXPECT_EQ(formatNumber(-0.0, 0, 1, false), "0");
    EXPECT_EQ(formatNumber(1e20, 0, 2, false), "100000000000000000000");
}

TEST(FormatNumberTest, RoundsHalfUpToTheMostDecimalsAndDropsTrailingZeros) {
    EXPECT_EQ(formatNumber(2.625, 0, 2, false), "2.63");
    EXPECT_EQ(formatNumber(2.5, 0, 2, false), "2.5");
    EXPECT_EQ(formatNumber(-0.25, 0, 1, false), "-0.3");
    EXPECT_EQ(formatNumber(0.15, 0, 1, false), "0.2");
    EXPECT_EQ(formatNumber(9.96, 0, 1, false), "10");
    EXPECT_EQ(formatNumber(2.04, 0, 1, false), "2");
    EXPECT_EQ(formatNumber(0.05, 0, 1, false), "0.1");
    EXPECT_EQ(formatNumber(0.04, 0, 1, false), "0");
    EXPECT_EQ(formatNumber(2.5, 0, 0, false), "3");
    EXPECT_EQ(formatNumber(1234.5678, 0, 3, false), "1234.568");
}

TEST(FormatNumberTest, KeepsTheLeastDecimalsAsked) {
    EXPECT_EQ(formatNumber(2.0, 2, 3, false), "2.00");
    EXPECT_EQ(formatNumber(2.5, 2, 3, false), "2.50");
    EXPECT_EQ(formatNumber(2.1234, 2, 3, false), "2.123");
    EXPECT_EQ(formatNumber(2.0, 5, 1, false), "2.0");  // never more than the most
}

TEST(FormatNumberTest, WritesSignsAndInfinity) {
    constexpr double infinity = std::numeric_limits<double>::infinity();
    EXPECT_EQ(formatNumber(12.0, 0, 1, true), "+12");
    EXPECT_EQ(formatNumber(0.0, 0, 1, true), "+0");
    EXPECT_EQ(formatNumber(-3.5, 0, 1, true), "-3.5");
    EXPECT_EQ(formatNumber(infinity, 0, 1, false), "infinity");
    EXPECT_EQ(formatNumber(infinity, 0, 1, true), "+infinity");
    EXPECT_EQ(formatNumber(-infinity, 0, 1, true), "-infinity");
    EXPECT_EQ(formatNumber(std::nan(""), 0, 1, false), "infinity");
}

TEST(FormatNumberTest, HandlesTheLargestValues) {
    const double largest = std::numeric_limits<double>::max();
    const std::string text = formatNumber(largest, 0, 2, false);
    EXPECT_EQ(text.size(), 309u);
    EXPECT_EQ(text.substr(0, 6), "179769");
    const std::string negative = formatNumber(-largest, 3, 3, false);
    EXPECT_TRUE(negative.starts_with("-179769")) << negative;
    EXPECT_TRUE(negative.ends_with("858368.000")) << negative;
}

TEST(ParseNumberTest, ReadsTheLeadingNumberAndIgnoresTheRest) {
    EXPECT_EQ(parseNumber("3.5"), 3.5);
    EXPECT_EQ(parseNumber("3.5abc"), 3.5);
    EXPECT_EQ(parseNumber("  \t-2.25"), -2.25);
    EXPECT_EQ(parseNumber("+4"), 4.0);
    EXPECT_EQ(parseNumber(".5"), 0.5);
    EXPECT_EQ(parseNumber("5."), 5.0);
    EXPECT_EQ(parseNumber("1e3"), 1000.0);
    EXPECT_EQ(parseNumber("2E-1x"), static_cast<double>(0.2f));
    EXPECT_EQ(parseNumber("1e"), 1.0);
    EXPECT_EQ(parseNumber("1e+"), 1.0);
    EXPECT_EQ(parseNumber("3,5"), 3.0);
}

TEST(ParseNumberTest, ReadsInSinglePrecision) {
    EXPECT_EQ(parseNumber("0.1"), static_cast<double>(0.1f));
    EXPECT_NE(parseNumber("0.1"), 0.1);
    EXPECT_EQ(parseNumber("16777217"), 16777216.0);
}

TEST(ParseNumberTest, RejectsTextWithoutANumber) {
    EXPECT_FALSE(parseNumber(""));
    EXPECT_FALSE(parseNumber("   "));
    EXPECT_FALSE(parseNumber("abc"));
    EXPECT_FALSE(parseNumber("-"));
    EXPECT_FALSE(parseNumber("."));
    EXPECT_FALSE(parseNumber("- 3"));
    EXPECT_FALSE(parseNumber("e5"));
    EXPECT_FALSE(parseNumber("infinity"));
    EXPECT_FALSE(parseNumber("-inf"));
    EXPECT_FALSE(parseNumber("nan"));
}

TEST(ParseNumberTest, RejectsNumbersTooLargeAndFlushesTinyOnesToZero) {
    EXPECT_FALSE(parseNumber("1e39"));
    EXPECT_FALSE(parseNumber("-123456789e40"));
    EXPECT_FALSE(parseNumber("1e99999999999999999999"));
    EXPECT_EQ(parseNumber("1e-50"), 0.0);
    const auto negativeTiny = parseNumber("-0.000001e-45");
    ASSERT_TRUE(negativeTiny);
    EXPECT_EQ(*negativeTiny, 0.0);
    EXPECT_TRUE(std::signbit(*negativeTiny));
    EXPECT_EQ(parseNumber("0.00000e999"), 0.0);
    EXPECT_EQ(parseNumber("3e38"), static_cast<double>(3e38f));
}

TEST(NumberTextTest, ShownValuesReadBackAsShown) {
    for (double value : {0.0, 0.3, 2.5, 12.7, -7.1, 29.9, 359.5}) {
        const auto read = parseNumber(formatNumber(value, 0, 1, false));
        ASSERT_TRUE(read) << value;
        EXPECT_EQ(*read, static_cast<double>(static_cast<float>(value)));
    }
}

}  // namespace
}  // namespace rova
