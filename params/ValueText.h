#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace rova {

// The edit field of a slider-and-edit pair, as far as the data sees it. A value reaches the
// data only through the field's text, so the data holds what the field shows: the value rounded
// to the field's decimals and read back in single precision.
//
// The field remembers the value it last took over (its current value, 0 at first). Every
// change of its text, whether typed or written by the program, is read back and handed to the
// data only when the number differs from that current value.
class ValueText {
  public:
    ValueText(int decimals, bool plusSign) : decimals_(decimals), plusSign_(plusSign) {}

    // The program shows `value`: its text is written and read back as if typed, and the number
    // to take over into the data, if any, is returned. Afterwards the current value is `value`
    // itself, unrounded, so showing it again hands the rounded number over again.
    std::optional<double> show(double value);
    // The user changed the text: the number it starts with, when that differs from the current
    // value; that number becomes the current value.
    std::optional<double> edited(std::string_view text);

    // The text the field holds.
    const std::string& text() const { return text_; }
    double currentValue() const { return current_; }

  private:
    int decimals_;
    bool plusSign_;
    std::string text_;
    double current_ = 0.0;
};

}  // namespace rova
