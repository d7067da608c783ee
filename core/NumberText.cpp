#include "NumberText.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>

namespace rova {

namespace {

// More decimals than a double holds digits would show only noise.
constexpr int kMostDecimals = 17;
// From here on every double is a whole number, and adding one half would round to even.
constexpr double kWholeFrom = 4503599627370496.0;  // 2^52

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isBlank(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// The digits of a whole, finite, non-negative double, exactly.
std::string wholeDigits(double whole) {
    std::array<char, 320> digits;
    const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), whole,
                                   std::chars_format::fixed, 0)
                         .ptr;
    return std::string(digits.data(), end);
}

// The span of a decimal number at the start of `text`: digits with at most one point and at
// least one digit, then an exponent when one with digits follows.
struct NumberToken {
    std::size_t length = 0;   // 0: no number
    std::size_t pointAt = 0;  // digits before the point (all digits when there is none)
    std::size_t mantissaEnd = 0;
    long exponent = 0;  // saturated far beyond any float's range
};

NumberToken scanNumber(std::string_view text) {
    NumberToken token;
    std::size_t i = 0;
    std::size_t digits = 0;
    while (i < text.size() && isDigit(text[i])) {
        ++i;
        ++digits;
    }
    token.pointAt = digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0) {
        return token;
    }
    token.mantissaEnd = i;
    token.length = i;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        const bool negative = j < text.size() && text[j] == '-';
        if (j < text.size() && (text[j] == '-' || text[j] == '+')) {
            ++j;
        }
        if (j < text.size() && isDigit(text[j])) {
            long exponent = 0;
            for (; j < text.size() && isDigit(text[j]); ++j) {
                exponent = std::min(exponent * 10 + (text[j] - '0'), 100000L);
            }
            token.exponent = negative ? -exponent : exponent;
            token.length = j;
        }
    }
    return token;
}

// Whether a number that single precision cannot hold is too large rather than too small:
// its first significant digit stands at or above the units.
bool isTooLarge(std::string_view text, const NumberToken& token) {
    long digitIndex = 0;
    for (std::size_t i = 0; i < token.mantissaEnd; ++i) {
        if (text[i] == '.') {
            continue;
        }
        if (text[i] != '0') {
            return static_cast<long>(token.pointAt) - 1 - digitIndex + token.exponent >= 0;
        }
        ++digitIndex;
    }
    return false;
}

}  // namespace

std::string formatNumber(double value, int minDecimals, int maxDecimals, bool plusSign) {
    std::string text;
    if (value < 0) {
        text = "-";
        value = -value;
    } else if (plusSign) {
        text = "+";
    }
    if (!std::isfinite(value)) {
        return text + "infinity";
    }
    maxDecimals = std::clamp(maxDecimals, 0, kMostDecimals);
    minDecimals = std::clamp(minDecimals, 0, maxDecimals);

    // Scale so that the last decimal shown is the units digit, round half-up there, and write
    // the digits of that whole number with the point put back in.
    std::size_t decimals = static_cast<std::size_t>(maxDecimals);
    double scaled = value * std::pow(10.0, maxDecimals);
    if (!std::isfinite(scaled)) {
        // Too large for decimals to exist at all.
        scaled = value;
        decimals = 0;
    }
    if (scaled < kWholeFrom) {
        scaled = std::floor(scaled + 0.5);
    }
    std::string digits = wholeDigits(scaled);
    if (digits.size() <= decimals) {
        digits.insert(0, decimals + 1 - digits.size(), '0');
    }
    std::string fraction = digits.substr(digits.size() - decimals);
    digits.resize(digits.size() - decimals);
    const auto kept = static_cast<std::size_t>(minDecimals);
    while (fraction.size() > kept && fraction.back() == '0') {
        fraction.pop_back();
    }
    fraction.resize(std::max(fraction.size(), kept), '0');

    text += digits;
    if (!fraction.empty()) {
        text += '.';
        text += fraction;
    }
    return text;
}

std::optional<double> parseNumber(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    const NumberToken token = scanNumber(text);
    if (token.length == 0) {
        return std::nullopt;
    }
    float number = 0.0f;
    const auto [end, error] = std::from_chars(text.data(), text.data() + token.length, number);
    if (error == std::errc::result_out_of_range) {
        if (isTooLarge(text, token)) {
            return std::nullopt;
        }
        number = 0.0f;
    } else if (error != std::errc{} || end != text.data() + token.length) {
        return std::nullopt;
    }
    const double widened = static_cast<double>(number);
    return negative ? -widened : widened;
}

}  // namespace rova
