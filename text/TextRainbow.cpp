#include "TextRainbow.h"

#include <QByteArray>
#include <QStringList>
#include <QTextCursor>

#include <algorithm>
#include <array>
#include <cstdint>

#include "CharacterFormat.h"
#include "RichTextDocument.h"
#include "SettingsStore.h"

namespace rova {

namespace {

constexpr ColourRef kLargestColour = 0xFFFFFF;
// Numbers read past this only have to stay out of range: they stop growing.
constexpr std::int64_t kSaturated = std::int64_t{1} << 40;

bool isBlankChar(QChar ch) {
    return ch == u' ' || ch == u'\t' || ch == u'\n' || ch == u'\r' || ch == u'\v' || ch == u'\f';
}

bool isVisible(char byte) {
    return static_cast<signed char>(byte) > 32;
}

void colourRange(QTextCursor& edit, int first, int last, ColourRef colour) {
    edit.setPosition(first);
    edit.setPosition(last, QTextCursor::KeepAnchor);
    CharacterFormat format;
    format.mask = CharacterFormat::kColour;
    format.colour = colour;
    edit.mergeCharFormat(toTextCharFormat(format));
}

}  // namespace

QList<ColourRef> parseRainbowCycle(const QString& text) {
    QList<ColourRef> cycle;
    qsizetype pos = 0;
    for (int count = 0; count < kMaxRainbowColours; ++count) {
        while (pos < text.size() && isBlankChar(text[pos])) {
            ++pos;
        }
        bool negative = false;
        if (pos < text.size() && (text[pos] == u'+' || text[pos] == u'-')) {
            negative = text[pos] == u'-';
            ++pos;
        }
        const qsizetype firstDigit = pos;
        std::int64_t value = 0;
        while (pos < text.size() && text[pos] >= u'0' && text[pos] <= u'9') {
            if (value < kSaturated) {
                value = value * 10 + (text[pos].unicode() - u'0');
            }
            ++pos;
        }
        if (pos == firstDigit) {
            break;
        }
        const std::int64_t number = negative ? -value : value;
        if (number >= 0 && number <= kLargestColour) {
            cycle.append(static_cast<ColourRef>(number));
        }
    }
    return cycle;
}

QString rainbowCycleText(std::span<const ColourRef> cycle) {
    QStringList numbers;
    for (const ColourRef colour : cycle) {
        numbers.append(QString::number(colour));
    }
    return numbers.join(u' ');
}

RainbowSettings loadRainbowSettings(const SettingsStore& store) {
    // Red, green, blue.
    static constexpr std::array<ColourRef, 3> kDefaultCycle{0x0000FF, 0x00FF00, 0xFF0000};
    QString stored;
    store.getSettingString(stored, RainbowSettings::kCycleKey, rainbowCycleText(kDefaultCycle));
    return {parseRainbowCycle(stored), store.getSettingInt(RainbowSettings::kWordsKey, 0) != 0};
}

void saveRainbowSettings(SettingsStore& store, const RainbowSettings& settings) {
    const std::span<const ColourRef> cycle(settings.cycle);
    store.setSettingString(
        RainbowSettings::kCycleKey,
        rainbowCycleText(cycle.first(std::min<std::size_t>(cycle.size(), kMaxRainbowColours))));
    store.setSettingInt(RainbowSettings::kWordsKey, settings.words ? 1 : 0);
}

void applyRainbow(RichTextDocument& text, std::span<const ColourRef> cycle, bool words) {
    if (cycle.empty()) {
        return;
    }
    const QTextCursor saved = text.cursor();
    const int start = saved.selectionStart();
    const int end = std::min(saved.selectionEnd(), text.textLength());
    // One 8-bit character per position, paragraph breaks included.
    text.setSelection(start, end);
    const QByteArray chars = text.selectedText();
    const auto visibleAt = [&](int position) {
        const qsizetype offset = position - start;
        return offset < chars.size() && isVisible(chars[offset]);
    };

    // The colouring is one edit, undone as a whole.
    QTextCursor edit(&text.document());
    edit.beginEditBlock();
    std::size_t index = 0;
    const auto nextColour = [&] {
        const ColourRef colour = cycle[index];
        index = (index + 1) % cycle.size();
        return colour;
    };
    if (!words) {
        for (int position = start; position < end; ++position) {
            if (visibleAt(position)) {
                colourRange(edit, position, position + 1, nextColour());
            }
        }
    } else {
        int position = start;
        while (position < end) {
            // A word runs from its first visible character through the blanks after it, up to
            // the next visible character.
            int wordStart = -1;
            bool blankAfterWord = false;
            int scan = position;
            for (; scan < end; ++scan) {
                const bool visible = visibleAt(scan);
                if (wordStart < 0) {
                    if (visible) {
                        wordStart = scan;
                    }
                } else if (!visible) {
                    blankAfterWord = true;
                } else if (blankAfterWord) {
                    break;
                }
            }
            if (wordStart >= 0) {
                colourRange(edit, wordStart, scan, nextColour());
            }
            position = scan;
        }
    }
    edit.endEditBlock();
    text.setSelection(saved.anchor(), saved.position());
}

}  // namespace rova
