#include "CharacterFormat.h"

#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>
#include <cmath>
#include <optional>

namespace rova {

namespace {

constexpr double kTwipsPerPoint = 20.0;
// A pixel at 96 dots per inch, the size unit of text pasted from web pages.
constexpr double kTwipsPerPixel = 15.0;

void setEffect(CharacterFormat& format, std::uint32_t effect, bool on) {
    format.effects = on ? (format.effects | effect) : (format.effects & ~effect);
}

QString faceOf(const QTextCharFormat& format) {
    const QStringList families = format.fontFamilies().toStringList();
    if (!families.isEmpty() && !families.front().isEmpty()) {
        return families.front();
    }
    return format.stringProperty(QTextFormat::FontFamily);
}

// Clears from `common` the mask bits of the attributes in which `other` differs.
void narrowTo(CharacterFormat& common, const CharacterFormat& other) {
    common.mask &= ~(common.effects ^ other.effects);
    if (common.height != other.height) {
        common.mask &= ~CharacterFormat::kHeight;
    }
    if (common.colour != other.colour) {
        common.mask &= ~CharacterFormat::kColour;
    }
    if (common.face != other.face) {
        common.mask &= ~CharacterFormat::kFace;
    }
}

}  // namespace

int storableHeight(int twips) {
    const int steps =
        (std::clamp(twips, 0, CharacterFormat::kMaxHeight) + CharacterFormat::kHeightStep / 2) /
        CharacterFormat::kHeightStep;
    return std::max(steps * CharacterFormat::kHeightStep, CharacterFormat::kMinHeight);
}

QColor colourFromRef(ColourRef colour) {
    return QColor(redOf(colour), greenOf(colour), blueOf(colour));
}

ColourRef colourRefOf(const QColor& colour) {
    const QRgb rgb = colour.rgb();
    return colourRef(qRed(rgb), qGreen(rgb), qBlue(rgb));
}

CharacterFormat resolvedFormat(const QTextCharFormat& format, const CharacterFormat& defaults) {
    CharacterFormat result = defaults;
    result.mask = CharacterFormat::kAll;
    if (format.hasProperty(QTextFormat::FontWeight)) {
        setEffect(result, CharacterFormat::kBold, format.fontWeight() >= QFont::DemiBold);
    }
    if (format.hasProperty(QTextFormat::FontItalic)) {
        setEffect(result, CharacterFormat::kItalic, format.fontItalic());
    }
    if (format.hasProperty(QTextFormat::TextUnderlineStyle)) {
        setEffect(result, CharacterFormat::kUnderline,
                  format.underlineStyle() != QTextCharFormat::NoUnderline);
    } else if (format.hasProperty(QTextFormat::FontUnderline)) {
        setEffect(result, CharacterFormat::kUnderline,
                  format.boolProperty(QTextFormat::FontUnderline));
    }
    if (format.hasProperty(QTextFormat::FontPointSize)) {
        result.height = static_cast<int>(std::lround(format.fontPointSize() * kTwipsPerPoint));
    } else if (format.hasProperty(QTextFormat::FontPixelSize)) {
        result.height = static_cast<int>(
            std::lround(format.intProperty(QTextFormat::FontPixelSize) * kTwipsPerPixel));
    }
    if (format.hasProperty(QTextFormat::ForegroundBrush) &&
        format.foreground().style() != Qt::NoBrush) {
        result.colour = colourRefOf(format.foreground().color());
    }
    if (const QString face = faceOf(format); !face.isEmpty()) {
        result.face = face;
    }
    return result;
}

QTextCharFormat toTextCharFormat(const CharacterFormat& format) {
    QTextCharFormat result;
    if (format.mask & CharacterFormat::kBold) {
        result.setFontWeight((format.effects & CharacterFormat::kBold) ? QFont::Bold
                                                                       : QFont::Normal);
    }
    if (format.mask & CharacterFormat::kItalic) {
        result.setFontItalic((format.effects & CharacterFormat::kItalic) != 0);
    }
    if (format.mask & CharacterFormat::kUnderline) {
        result.setFontUnderline((format.effects & CharacterFormat::kUnderline) != 0);
    }
    if (format.mask & CharacterFormat::kHeight) {
        result.setFontPointSize(storableHeight(format.height) / kTwipsPerPoint);
    }
    if (format.mask & CharacterFormat::kColour) {
        result.setForeground(colourFromRef(format.colour));
    }
    if (format.mask & CharacterFormat::kFace) {
        result.setFontFamilies(QStringList{format.face});
    }
    return result;
}

QFont fontOf(const CharacterFormat& format) {
    QFont font;
    if (!format.face.isEmpty()) {
        font.setFamilies(QStringList{format.face});
    }
    font.setPointSizeF(storableHeight(format.height) / kTwipsPerPoint);
    font.setWeight((format.effects & CharacterFormat::kBold) ? QFont::Bold : QFont::Normal);
    font.setItalic((format.effects & CharacterFormat::kItalic) != 0);
    font.setUnderline((format.effects & CharacterFormat::kUnderline) != 0);
    return font;
}

CharacterFormat commonFormat(const QTextDocument& document, int first, int last,
                             const CharacterFormat& defaults) {
    std::optional<CharacterFormat> common;
    const QTextBlock firstBlock = document.findBlock(first);
    for (QTextBlock block = firstBlock; block.isValid() && block.position() < last;
         block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.position() >= last) {
                break;
            }
            if (fragment.position() + fragment.length() <= first) {
                continue;
            }
            const CharacterFormat format = resolvedFormat(fragment.charFormat(), defaults);
            if (common) {
                narrowTo(*common, format);
            } else {
                common = format;
            }
        }
    }
    return common ? *common : resolvedFormat(firstBlock.charFormat(), defaults);
}

}  // namespace rova
