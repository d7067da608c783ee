#pragma once

class QWidget;

namespace rova {

// The Edit menu commands that act on the text field with the keyboard focus: a QLineEdit (an
// edit control) or a QTextEdit (a rich-edit control, as the project's RichTextControl is).
enum class EditCommand { Undo, Cut, Copy, Paste, SelectAll };

// Whether the command can act on `focused`, the widget with the keyboard focus (or none):
//  - Undo: the field has something to undo;
//  - Cut, Copy: the selection is not empty;
//  - Paste: an edit control takes any text on the clipboard, a rich-edit control judges the
//    clipboard's contents itself;
//  - Select All: the text is not empty.
// A read-only field can be neither cut nor pasted into. Without a focused text field only
// Select All is enabled, and it then does nothing.
bool enabled(EditCommand command, QWidget* focused);
// Whether `focused` is a text field the commands act on.
bool isTextField(const QWidget* focused);
// Carries the command out on `focused`; nothing happens when it is not a text field.
void perform(EditCommand command, QWidget* focused);

}  // namespace rova
