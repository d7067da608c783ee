#include "TextFormatting.h"

#include <cstdint>

#include "RichTextDocument.h"

namespace rova {

namespace {

constexpr int kTwipsPerPoint = 20;

// Applies `height` twips when it is positive.
bool applyHeight(RichTextDocument& text, std::int64_t height) {
    if (height <= 0) {
        return false;
    }
    CharacterFormat format;
    format.mask = CharacterFormat::kHeight;
    format.height = height > CharacterFormat::kMaxHeight ? CharacterFormat::kMaxHeight
                                                         : static_cast<int>(height);
    text.setSelectionFormat(format);
    return true;
}

}  // namespace

void toggleEffect(RichTextDocument& text, std::uint32_t effect) {
    CharacterFormat format = text.selectionFormat();
    format.effects ^= effect;
    format.mask = effect;
    text.setSelectionFormat(format);
}

bool setPointSize(RichTextDocument& text, int points) {
    return applyHeight(text, std::int64_t{points} * kTwipsPerPoint);
}

bool stepPointSize(RichTextDocument& text, int step) {
    return applyHeight(
        text, std::int64_t{text.selectionFormat().height} + std::int64_t{step} * kTwipsPerPoint);
}

void setTextColour(RichTextDocument& text, ColourRef colour) {
    CharacterFormat format = text.selectionFormat();
    format.mask = CharacterFormat::kColour;
    format.colour = colour;
    text.setSelectionFormat(format);
}

bool effectChecked(const CharacterFormat& format, std::uint32_t effect) {
    return (format.mask & effect) != 0 && (format.effects & effect) != 0;
}

bool pointSizeChecked(const CharacterFormat& format, int points) {
    return (format.mask & CharacterFormat::kHeight) != 0 &&
           (format.height + kTwipsPerPoint / 2) / kTwipsPerPoint == points;
}

bool colourChecked(const CharacterFormat& format, ColourRef colour) {
    return (format.mask & CharacterFormat::kColour) != 0 && format.colour == colour;
}

}  // namespace rova
