#pragma once

#include <QRgb>

#include <array>
#include <cstdint>
#include <span>

#include "ColourRef.h"

namespace rova {

// One colour-table entry as a bitmap stores it: blue, green, red, reserved.
struct TableEntry {
    std::uint8_t blue = 0;
    std::uint8_t green = 0;
    std::uint8_t red = 0;
    std::uint8_t reserved = 0;

    friend bool operator==(const TableEntry&, const TableEntry&) = default;
};

inline QRgb rgbOf(TableEntry entry) {
    return qRgb(entry.red, entry.green, entry.blue);
}
inline QRgb rgbOf(ColourRef colour) {
    return qRgb(redOf(colour), greenOf(colour), blueOf(colour));
}

// The lamp colour of a colour index: bit 0 blue, bit 1 green, bit 2 red, each full or off.
constexpr TableEntry lampEntry(unsigned index) {
    return {static_cast<std::uint8_t>(index & 1 ? 255 : 0),
            static_cast<std::uint8_t>(index & 2 ? 255 : 0),
            static_cast<std::uint8_t>(index & 4 ? 255 : 0), 0};
}

// The lamp colour table: the index is the lamp's colour bits.
inline constexpr std::array<TableEntry, 8> kLampTable = [] {
    std::array<TableEntry, 8> table{};
    for (unsigned i = 0; i < table.size(); ++i) {
        table[i] = lampEntry(i);
    }
    return table;
}();

// The table used while text is rendered: entry 7 is the text colour White (224, 224, 224) and
// entry 8 pure white, so the two land on different indices until the renderer folds 8 into 7.
inline constexpr std::array<TableEntry, 9> kTextLampTable = [] {
    std::array<TableEntry, 9> table{};
    for (unsigned i = 0; i < kLampTable.size(); ++i) {
        table[i] = kLampTable[i];
    }
    table[7] = {224, 224, 224, 0};
    table[8] = lampEntry(7);
    return table;
}();

// Maps a colour to the nearest entry of a colour table: the smallest sum of squared red, green
// and blue differences, the lowest index on a tie. This is the one step by which a drawn or
// averaged colour becomes a table index. It remembers its last answer, since drawn pictures come
// in runs of one colour.
class NearestColour {
  public:
    // The table must outlive the mapper. An empty table maps everything to index 0.
    explicit NearestColour(std::span<const TableEntry> table) : table_(table) {}

    std::uint8_t indexOf(QRgb colour);

  private:
    std::span<const TableEntry> table_;
    QRgb lastColour_ = 0;
    std::uint8_t lastIndex_ = 0;
    bool hasLast_ = false;
};

}  // namespace rova
