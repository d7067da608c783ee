#include "Colour.h"

#include <limits>

namespace rova {

std::uint8_t NearestColour::indexOf(QRgb colour) {
    colour &= RGB_MASK;
    if (hasLast_ && colour == lastColour_) {
        return lastIndex_;
    }
    std::uint8_t best = 0;
    int bestDistance = std::numeric_limits<int>::max();
    for (std::size_t index = 0; index < table_.size() && index < 256; ++index) {
        const TableEntry& entry = table_[index];
        const int red = qRed(colour) - entry.red;
        const int green = qGreen(colour) - entry.green;
        const int blue = qBlue(colour) - entry.blue;
        const int distance = red * red + green * green + blue * blue;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = static_cast<std::uint8_t>(index);
        }
    }
    lastColour_ = colour;
    lastIndex_ = best;
    hasLast_ = true;
    return best;
}

}  // namespace rova
