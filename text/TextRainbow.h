#pragma once

#include <QList>
#include <QString>

#include <span>

#include "ColourRef.h"

namespace rova {

class RichTextDocument;
class SettingsStore;

// Rainbow text: the selected text coloured with a repeating cycle of colours, one colour per
// visible character or one per word.
//
// A character is visible when its 8-bit code, taken as a signed byte, is above 32: codes 33 to
// 127. Blanks, control characters, paragraph breaks and every character above 127 (accented
// letters included) count as blanks: they keep their colour, use up no colour and separate
// words.

inline constexpr int kMaxRainbowColours = 32;

struct RainbowSettings {
    static inline const QString kCycleKey = QStringLiteral("TextRainbow");
    static inline const QString kWordsKey = QStringLiteral("TextRainbowWords");

    // 0 to kMaxRainbowColours colours.
    QList<ColourRef> cycle;
    // One colour per word instead of one per character.
    bool words = false;

    friend bool operator==(const RainbowSettings&, const RainbowSettings&) = default;
};

// The cycle of a stored text: up to 32 decimal numbers, each after optional blanks and with an
// optional sign, read until the first text that is not a number. Numbers outside 0..0xFFFFFF are
// read but left out.
QList<ColourRef> parseRainbowCycle(const QString& text);
// The stored text of a cycle: the numbers in decimal, separated by single blanks.
QString rainbowCycleText(std::span<const ColourRef> cycle);

// The settings as stored in the section "Settings"; red, green, blue and one colour per
// character when nothing is stored.
RainbowSettings loadRainbowSettings(const SettingsStore& store);
// Stores the settings, at most 32 colours; a value equal to the stored one is not written again.
void saveRainbowSettings(SettingsStore& store, const RainbowSettings& settings);

// Colours the selection of `text` (limited to the text) with the cycle, starting with its first
// colour: per character each visible character takes the next colour; per word each word, with
// the blanks that follow it, takes the next colour. Only the colour of the characters changes.
// The selection is restored afterwards. Nothing changes when the cycle is empty.
void applyRainbow(RichTextDocument& text, std::span<const ColourRef> cycle, bool words);

}  // namespace rova
