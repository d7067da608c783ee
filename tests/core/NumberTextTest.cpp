#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "NumberText.h"

namespace rova {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

TEST(FormatNumberTest, RoundsHalfUpBetweenTheLeastAndMostDecimals) {
    // Whole numbers without a point, trailing zeros dropped, but the least decimals kept and
    // never more than the most.
    const struct {
        double value;
        int least, most;
        bool plus;
        const char* text;
    } cases[] = {
        {8.0, 0, 1, false, "8"},
        {-0.0, 0, 1, false, "0"},
        {2.625, 0, 2, false, "2.63"},
        {2.5, 0, 2, false, "2.5"},
        {-0.25, 0, 1, false, "-0.3"},
        {9.96, 0, 1, false, "10"},
        {0.05, 0, 1, false, "0.1"},
        {0.04, 0, 1, false, "0"},
        {2.5, 0, 0, false, "3"},
        {1234.5678, 0, 3, false, "1234.568"},
        {2.0, 2, 3, false, "2.00"},
        {2.1234, 2, 3, false, "2.123"},
        {2.0, 5, 1, false, "2.0"},
        {12.0, 0, 1, true, "+12"},
        {-3.5, 0, 1, true, "-3.5"},
        {kInfinity, 0, 1, false, "infinity"},
        {kInfinity, 0, 1, true, "+infinity"},
        {-kInfinity, 0, 1, true, "-infinity"},
        {std::nan(""), 0, 1, false, "infinity"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(formatNumber(c.value, c.least, c.most, c.plus), c.text)
            << c.value << " " << c.least << ".." << c.most;
    }
    EXPECT_EQ(formatNumber(1e20, 0, 2, false), "100000000000000000000");
    const std::string largest = formatNumber(-std::numeric_limits<double>::max(), 3, 3, false);
    EXPECT_EQ(largest.size(), 314u);  // sign, 309 digits, point and three decimals
    EXPECT_TRUE(largest.starts_with("-179769")) << largest;
    EXPECT_TRUE(largest.ends_with("858368.000")) << largest;
}

TEST(ParseNumberTest, ReadsTheLeadingNumberInSinglePrecision) {
    const struct {
        const char* text;
        float value;
    } cases[] = {
        {"3.5", 3.5f},   {"3.5abc", 3.5f}, {"  \t-2.25", -2.25f}, {"+4", 4.0f},
        {".5", 0.5f},    {"5.", 5.0f},     {"1e3", 1000.0f},      {"2E-1x", 0.2f},
        {"1e", 1.0f},    {"1e+", 1.0f},    {"3,5", 3.0f},         {"0.1", 0.1f},
        {"3e38", 3e38f}, {"1e-50", 0.0f},  {"0.00000e999", 0.0f}, {"16777217", 16777216.0f}};
    for (const auto& c : cases) {
        EXPECT_EQ(parseNumber(c.text), static_cast<double>(c.value)) << '"' << c.text << '"';
    }
    // A tiny negative number flushes to a negative zero.
    const auto negativeTiny = parseNumber("-0.000001e-45");
    ASSERT_TRUE(negativeTiny);
    EXPECT_EQ(*negativeTiny, 0.0);
    EXPECT_TRUE(std::signbit(*negativeTiny));
}

TEST(ParseNumberTest, RejectsTextWithoutANumberAndNumbersTooLargeForAFloat) {
    for (const char* text : {"", "   ", "abc", "-", ".", "- 3", "e5", "infinity", "-inf", "nan",
                             "1e39", "-123456789e40", "1e99999999999999999999"}) {
        EXPECT_FALSE(parseNumber(text)) << '"' << text << '"';
    }
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
