#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace rova {

// The text of a value as the value controls show it: rounded half-up to `maxDecimals`
// decimals, trailing zeros dropped down to `minDecimals`, no decimal point for whole numbers
// (8, 720, 2.5, 2.63). A negative value gets "-", any other "+" when `plusSign` is set;
// a value that is not finite shows as "infinity" after its sign.
std::string formatNumber(double value, int minDecimals, int maxDecimals, bool plusSign);

// Reads the number at the start of `text` the way the value controls do: leading blanks are
// skipped, one decimal number (optional sign, digits with an optional point, optional
// exponent) is read in single precision and widened, and whatever follows is ignored. No
// number at the start, "infinity", "nan" and numbers too large for single precision give
// nothing; numbers too small for it give zero.
std::optional<double> parseNumber(std::string_view text);

}  // namespace rova
