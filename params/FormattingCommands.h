#pragma once

#include <optional>

#include "FourCC.h"

namespace rova {

class PictureEditorModel;
class RichTextDocument;

// The formatting commands of the main window's Text and Edit menus and toolbar, by the
// identifiers of their actions. They format the parameter form's content: the selection of the
// rich text, or the rows and pen colour of the picture editor.
enum class FormattingCommand : int {
    Bold = 32789,
    Italic = 32790,
    Underline = 32791,
    Font = 32793,
    Rainbow = 32870,
    DecreasePointsize = 32799,
    IncreasePointsize = 32798,
    Size7Points = 32800,  // up to Size16Points, n points at Size7Points + n - 7
    Size16Points = 32809,
    ColourBlack = 32817,  // then Red, Green, Blue, Cyan, Magenta, Yellow, White
    ColourWhite = 32824,
};

// The formatting command of an action identifier, if it is one.
std::optional<FormattingCommand> formattingCommand(int id);

struct FormattingCommandState {
    bool enabled = false;
    bool checked = false;
    friend bool operator==(const FormattingCommandState&, const FormattingCommandState&) = default;
};

// What the commands work on: the content kind of the parameter form ("RICH", "PICT" or
// "NONE") and the two editors.
struct FormattingTarget {
    FourCC contentKind;
    RichTextDocument& text;
    PictureEditorModel& picture;
};

// Whether the command is enabled and ticked for the content:
//  - Bold, Italic, Underline: text only; ticked when the style is uniform and set.
//  - Font, Rainbow: enabled for text only, never ticked.
//  - Decrease and Increase Pointsize: enabled for text and pictures.
//  - n-Point: text, ticked when the size is uniform and rounds to n points; picture, ticked
//    when the editor has n rows.
//  - the colours: picture, ticked when the pen has the colour; text (Black excepted, as black
//    text stays dark on the lamps), ticked when the colour is uniform and the command's.
// Everything is disabled when there is no content.
FormattingCommandState formattingCommandState(FormattingCommand command,
                                              const FormattingTarget& target);

// Performs the command on the content: on text it formats the selection (TextFormatting.h); on
// a picture a size command sets the rows (n-Point to n, the steps by one, only while the result
// stays above 0) and a colour command the pen colour; nothing else changes a picture. Font and
// Rainbow open dialogs, which the form showing the text does: they do nothing here. With no
// content nothing happens. Returns whether the command was carried out here.
bool performFormattingCommand(FormattingCommand command, const FormattingTarget& target);

}  // namespace rova
