#include "FontChoice.h"

#include <QCoreApplication>
#include <QFontDialog>

#include <cmath>

#include "RichTextDocument.h"

namespace rova {

namespace {

constexpr double kTwipsPerPoint = 20.0;

// Bold as the text reads it back: demibold and heavier.
bool isBold(const QFont& font) {
    return font.weight() >= QFont::DemiBold;
}

// The point size in whole twips; 0 for a font sized in pixels.
int twipsOf(const QFont& font) {
    const double points = font.pointSizeF();
    return points > 0 ? static_cast<int>(std::lround(points * kTwipsPerPoint)) : 0;
}

// Qt's font dialog, offering scalable fonts. The dialog can show only what its lists hold: a
// face that is not installed shows as a substitute (often losing bold), a half-point size as a
// whole one. Whatever the user left as the dialog first showed it comes back as in `initial`,
// so that only the user's own changes differ from it.
std::optional<QFont> runFontDialog(const QFont& initial, QWidget* parent) {
    QFontDialog dialog(initial, parent);
    dialog.setOptions(QFontDialog::ScalableFonts);
    dialog.setWindowTitle(QCoreApplication::translate("rova::FontChoice", "Font"));
    const QFont shown = dialog.currentFont();
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    QFont chosen = dialog.selectedFont();
    if (chosen.family() == shown.family()) {
        chosen.setFamilies(initial.families());
    }
    if (twipsOf(chosen) == twipsOf(shown) && initial.pointSizeF() > 0) {
        chosen.setPointSizeF(initial.pointSizeF());
    }
    if (isBold(chosen) == isBold(shown)) {
        chosen.setWeight(initial.weight());
    }
    if (chosen.italic() == shown.italic()) {
        chosen.setItalic(initial.italic());
    }
    return chosen;
}

}  // namespace

QFont fontForSelection(const CharacterFormat& format, const QFont& fallback) {
    QFont font = fallback;
    if ((format.mask & CharacterFormat::kFace) && !format.face.isEmpty()) {
        font.setFamilies(QStringList{format.face});
    }
    if ((format.mask & CharacterFormat::kHeight) && format.height > 0) {
        font.setPointSizeF(format.height / kTwipsPerPoint);
    }
    if (format.mask & CharacterFormat::kBold) {
        font.setWeight((format.effects & CharacterFormat::kBold) ? QFont::Bold : QFont::Normal);
    }
    if (format.mask & CharacterFormat::kItalic) {
        font.setItalic((format.effects & CharacterFormat::kItalic) != 0);
    }
    return font;
}

CharacterFormat fontChoiceFormat(const CharacterFormat& before, const QFont& opened,
                                 const QFont& chosen) {
    CharacterFormat result;
    // An attribute is applied when the selection had it uniform (applying it again changes
    // nothing) or when the dialog changed it; an attribute the selection mixes and the dialog
    // only showed keeps its mixture.
    const auto applies = [&before](std::uint32_t bit, bool changed) {
        return (before.mask & bit) != 0 || changed;
    };

    const QString face = chosen.family();
    if (!face.isEmpty() && applies(CharacterFormat::kFace, face != opened.family())) {
        result.mask |= CharacterFormat::kFace;
        result.face = face;
    }
    const int height = twipsOf(chosen);
    if (height > 0 && applies(CharacterFormat::kHeight, height != twipsOf(opened))) {
        result.mask |= CharacterFormat::kHeight;
        result.height = height;
    }
    if (applies(CharacterFormat::kBold, isBold(chosen) != isBold(opened))) {
        result.mask |= CharacterFormat::kBold;
        if (isBold(chosen)) {
            result.effects |= CharacterFormat::kBold;
        }
    }
    if (applies(CharacterFormat::kItalic, chosen.italic() != opened.italic())) {
        result.mask |= CharacterFormat::kItalic;
        if (chosen.italic()) {
            result.effects |= CharacterFormat::kItalic;
        }
    }
    return result;
}

bool chooseFont(RichTextDocument& text, QWidget* parent, const FontDialogRunner& run) {
    const CharacterFormat before = text.selectionFormat();
    // The attributes the selection mixes show as those of its first character.
    const QFont opened = fontForSelection(before, fontOf(before));
    const std::optional<QFont> chosen = run ? run(opened, parent) : runFontDialog(opened, parent);
    if (!chosen) {
        return false;
    }
    const CharacterFormat format = fontChoiceFormat(before, opened, *chosen);
    if (format.mask == 0) {
        return false;
    }
    text.setSelectionFormat(format);
    return true;
}

}  // namespace rova
