#pragma once

#include <QFont>

#include <functional>
#include <optional>

#include "CharacterFormat.h"

class QWidget;

namespace rova {

class RichTextDocument;

// Shows a font dialog opened with `initial` over `parent` and returns the font chosen, its
// face, size, bold and italic as in `initial` where the user left them alone, or nothing when
// the dialog is cancelled.
using FontDialogRunner = std::function<std::optional<QFont>(const QFont& initial, QWidget* parent)>;

// The font the font dialog opens with for a selection of format `format`: the face, the point
// size, bold and italic that are uniform over the selection (named in its mask), everything
// else as in `fallback`.
QFont fontForSelection(const CharacterFormat& format, const QFont& fallback);

// The format the font dialog applies to a selection of format `before` when it was opened with
// `opened` and closed with `chosen`. It names only face, height, bold and italic, each only
// when the selection had it uniform or the dialog changed it; the dialog's underline,
// strike-out and colour never reach the text, since the dialog cannot leave them out. The
// height is `chosen`'s point size in whole twips.
CharacterFormat fontChoiceFormat(const CharacterFormat& before, const QFont& opened,
                                 const QFont& chosen);

// The "Font..." command: runs the font dialog (`run`, or when empty Qt's font dialog offering
// scalable fonts, titled "Font") on the selection of `text` and applies what fontChoiceFormat()
// gives in one undoable step. Cancel changes nothing. Returns whether anything was applied.
bool chooseFont(RichTextDocument& text, QWidget* parent, const FontDialogRunner& run = {});

}  // namespace rova
