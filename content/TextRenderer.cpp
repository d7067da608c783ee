#include "TextRenderer.h"

#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>
#include <cstdint>

#include "FormattedText.h"
#include "Picture.h"
#include "PictureDC.h"

namespace rova {

namespace {

constexpr int kTwipsPerPoint = FormattedText::kTwipsPerPoint;
constexpr std::uint8_t kPureWhite = 8;
constexpr std::uint8_t kLampWhite = 7;

// The text is laid out as wide as the widest band and as high as the band at full scale, in
// twips; the painter's scale then maps it onto the band.
constexpr int kLayoutWidth = kMaxBandColumns * kTwipsPerPoint;
constexpr int kLayoutHeight = kBandRows * kTwipsPerPoint;
const QRect kLayoutTwips(0, 0, kLayoutWidth, kLayoutHeight);

// The height in twips of the largest character of the text.
int largestCharacterHeight(const QTextDocument& text, const CharacterFormat& defaults) {
    int largest = defaults.height;
    for (QTextBlock block = text.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            largest =
                std::max(largest, resolvedFormat(it.fragment().charFormat(), defaults).height);
        }
    }
    return largest;
}

// The columns the band needs at numerator/denominator: the width of the laid-out text, plus the
// size of its largest character. The layout's width holds the ink of each line's last glyph, but
// a large glyph can lean out further than the smaller ones after it reach (an italic f leans
// out by an eighth of its size), and no glyph reaches past its advance by more than its size.
int bandColumns(int textTwips, int overhangTwips, int numerator, int denominator) {
    const std::int64_t twips = std::int64_t{textTwips} + overhangTwips;
    const std::int64_t twipsPerColumn = std::int64_t{kTwipsPerPoint} * denominator;
    const std::int64_t columns = (twips * numerator + twipsPerColumn - 1) / twipsPerColumn;
    return static_cast<int>(std::clamp<std::int64_t>(columns, 1, kMaxBandColumns));
}

bool fail(Picture& target) {
    target.clear();
    return false;
}

}  // namespace

bool renderText(Picture& target, const QTextDocument& text, const CharacterFormat& defaults,
                int numerator, int denominator) {
    if (numerator < 1 || denominator < 1) {
        return fail(target);
    }
    const FormattedText formatted(text, defaults, kLayoutTwips);
    const int columns = bandColumns(formatted.usedTwips().width(),
                                    largestCharacterHeight(text, defaults), numerator, denominator);

    // The band is drawn aside and handed over whole, so the target is told of it only once it
    // holds lamp colours.
    Picture band;
    PictureDC dc;
    if (!band.createLamp(columns, kBandRows, true) || !dc.open(band)) {
        return fail(target);
    }
    const qreal scale = static_cast<qreal>(numerator) / denominator;
    dc.painter().scale(scale, scale);
    const QRectF layoutPoints(QPointF(kLayoutTwips.topLeft()) / kTwipsPerPoint,
                              QSizeF(kLayoutTwips.size()) / kTwipsPerPoint);
    formatted.draw(dc.painter(), layoutPoints.topLeft(), layoutPoints);
    dc.release(false);
    band.replaceValue(kPureWhite, kLampWhite);
    return target.moveFrom(band);
}

}  // namespace rova
