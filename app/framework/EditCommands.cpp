#include "EditCommands.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMimeData>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

namespace rova {

namespace {

bool clipboardHasText() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data != nullptr && data->hasText();
}

// QLineEdit's cut() and paste() change a read-only field too, so the rules keep them from it.
bool editEnabled(EditCommand command, const QLineEdit& edit) {
    switch (command) {
        case EditCommand::Undo:
            return edit.isUndoAvailable();
        case EditCommand::Cut:
            return edit.hasSelectedText() && !edit.isReadOnly();
        case EditCommand::Copy:
            return edit.hasSelectedText();
        case EditCommand::Paste:
            return clipboardHasText() && !edit.isReadOnly();
        case EditCommand::SelectAll:
            return !edit.text().isEmpty();
    }
    return false;
}

// Line edits and rich-text edits take the same requests.
template <typename Edit>
void performOn(EditCommand command, Edit& edit) {
    switch (command) {
        case EditCommand::Undo:
            edit.undo();
            break;
        case EditCommand::Cut:
            edit.cut();
            break;
        case EditCommand::Copy:
            edit.copy();
            break;
        case EditCommand::Paste:
            edit.paste();
            break;
        case EditCommand::SelectAll:
            // A line edit leaves the caret at the end, which scrolls it into view.
            edit.selectAll();
            break;
    }
}

bool richEditEnabled(EditCommand command, const QTextEdit& edit) {
    switch (command) {
        case EditCommand::Undo:
            return edit.document()->isUndoAvailable();
        case EditCommand::Cut:
        case EditCommand::Copy:
            return edit.textCursor().hasSelection();
        case EditCommand::Paste:
            return edit.canPaste();
        case EditCommand::SelectAll:
            return !edit.document()->isEmpty();
    }
    return false;
}

}  // namespace

bool enabled(EditCommand command, QWidget* focused) {
    if (const auto* edit = qobject_cast<QLineEdit*>(focused)) {
        return editEnabled(command, *edit);
    }
    if (const auto* richEdit = qobject_cast<QTextEdit*>(focused)) {
        return richEditEnabled(command, *richEdit);
    }
    return command == EditCommand::SelectAll;
}

bool isTextField(const QWidget* focused) {
    return qobject_cast<const QLineEdit*>(focused) != nullptr ||
           qobject_cast<const QTextEdit*>(focused) != nullptr;
}

void perform(EditCommand command, QWidget* focused) {
    // A command that is not enabled would act on nothing, or on a field that must not change.
    if (!enabled(command, focused)) {
        return;
    }
    if (auto* edit = qobject_cast<QLineEdit*>(focused)) {
        performOn(command, *edit);
    } else if (auto* richEdit = qobject_cast<QTextEdit*>(focused)) {
        performOn(command, *richEdit);
    }
}

}  // namespace rova
