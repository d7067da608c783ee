#include "ValueText.h"

#include "NumberText.h"

namespace rova {

std::optional<double> ValueText::show(double value) {
    const std::optional<double> taken = edited(formatNumber(value, 0, decimals_, plusSign_));
    current_ = value;
    return taken;
}

std::optional<double> ValueText::edited(std::string_view text) {
    text_ = text;
    const std::optional<double> number = parseNumber(text_);
    if (!number || *number == current_) {
        return std::nullopt;
    }
    current_ = *number;
    return number;
}

}  // namespace rova
