#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QTextCharFormat>

#include <cstdint>

#include "ColourRef.h"

class QTextDocument;

namespace rova {

// The character attributes the text control works with: the effects bold, italic and
// underline, the height in twips (1/20 point), the text colour as 0x00BBGGRR and the face name.
//
// `mask` names the attributes a format carries. A format read from a selection names those that
// are the same over the whole selection (the others hold the values of its first character); a
// format applied to a selection changes only the attributes it names.
struct CharacterFormat {
    // Bits of `mask`; the three effect bits are also the bits of `effects`.
    static constexpr std::uint32_t kBold = 0x1;
    static constexpr std::uint32_t kItalic = 0x2;
    static constexpr std::uint32_t kUnderline = 0x4;
    static constexpr std::uint32_t kHeight = 0x100;
    static constexpr std::uint32_t kColour = 0x200;
    static constexpr std::uint32_t kFace = 0x400;
    static constexpr std::uint32_t kEffects = kBold | kItalic | kUnderline;
    static constexpr std::uint32_t kAll = kEffects | kHeight | kColour | kFace;

    // Heights are held in half points, the finest size RTF can carry, so that a size survives
    // streaming out and back in; from half a point to 1638 points.
    static constexpr int kHeightStep = 10;
    static constexpr int kMinHeight = 10;
    static constexpr int kMaxHeight = 32760;

    std::uint32_t mask = 0;
    std::uint32_t effects = 0;
    int height = 0;
    ColourRef colour = 0;
    QString face;

    friend bool operator==(const CharacterFormat&, const CharacterFormat&) = default;
};

// `twips` rounded to the nearest half point and brought into the range of heights.
int storableHeight(int twips);

QColor colourFromRef(ColourRef colour);
ColourRef colourRefOf(const QColor& colour);

// The full format (every attribute named) of text that carries `format`: what the format sets,
// and for everything it leaves open the attribute of `defaults`, which must be full.
CharacterFormat resolvedFormat(const QTextCharFormat& format, const CharacterFormat& defaults);

// A character format that sets exactly the attributes named in `format.mask`, for merging into
// text; the height as storableHeight() makes it.
QTextCharFormat toTextCharFormat(const CharacterFormat& format);

// The font of a full format.
QFont fontOf(const CharacterFormat& format);

// The format of the characters of `document` from position `first` up to `last` (exclusive),
// paragraph breaks not counted, with the attributes that are the same over all of them in its
// mask. When the range holds no character, the full format of the paragraph at `first`.
CharacterFormat commonFormat(const QTextDocument& document, int first, int last,
                             const CharacterFormat& defaults);

}  // namespace rova
