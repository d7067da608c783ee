#include "EditCommands.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTextEdit>

#include "QtApplicationTest.h"

namespace rova {
namespace {

constexpr EditCommand kAll[] = {EditCommand::Undo, EditCommand::Cut, EditCommand::Copy,
                                EditCommand::Paste, EditCommand::SelectAll};

// A rich-edit control that accepts only pictures from the clipboard.
class PictureOnlyEdit final : public QTextEdit {
  protected:
    bool canInsertFromMimeData(const QMimeData* source) const override {
        return source->hasImage();
    }
};

class EditCommandsTest : public test::QtApplicationTest {
  protected:
    void SetUp() override { clipboard()->clear(); }
    static QClipboard* clipboard() { return QGuiApplication::clipboard(); }
};

TEST_F(EditCommandsTest, WithoutAFocusedTextFieldOnlySelectAllIsEnabledAndDoesNothing) {
    clipboard()->setText("on the clipboard");
    QPushButton button("OK");
    for (QWidget* focused : {static_cast<QWidget*>(nullptr), static_cast<QWidget*>(&button)}) {
        EXPECT_FALSE(enabled(EditCommand::Undo, focused));
        EXPECT_FALSE(enabled(EditCommand::Cut, focused));
        EXPECT_FALSE(enabled(EditCommand::Copy, focused));
        EXPECT_FALSE(enabled(EditCommand::Paste, focused));
        EXPECT_TRUE(enabled(EditCommand::SelectAll, focused));
        for (const EditCommand command : kAll) {
            perform(command, focused);
        }
    }
    EXPECT_EQ(button.text(), "OK");
    EXPECT_EQ(clipboard()->text(), "on the clipboard");
}

TEST_F(EditCommandsTest, AnEmptyEditFieldCanOnlyBePastedIntoWhenTextIsOnTheClipboard) {
    QLineEdit edit;
    for (const EditCommand command : kAll) {
        EXPECT_FALSE(enabled(command, &edit)) << static_cast<int>(command);
    }

    clipboard()->setText("pasted");
    EXPECT_TRUE(enabled(EditCommand::Paste, &edit));
    EXPECT_FALSE(enabled(EditCommand::SelectAll, &edit));
    perform(EditCommand::Paste, &edit);
    EXPECT_EQ(edit.text(), "pasted");

    QMimeData* image = new QMimeData;
    image->setImageData(QImage(4, 4, QImage::Format_RGB32));
    clipboard()->setMimeData(image);
    EXPECT_FALSE(enabled(EditCommand::Paste, &edit));
}

TEST_F(EditCommandsTest, AnEditFieldWithTextFollowsItsSelectionAndUndoHistory) {
    QLineEdit edit;
    edit.insert("typed");
    EXPECT_TRUE(enabled(EditCommand::Undo, &edit));
    EXPECT_TRUE(enabled(EditCommand::SelectAll, &edit));
    EXPECT_FALSE(enabled(EditCommand::Cut, &edit));
    EXPECT_FALSE(enabled(EditCommand::Copy, &edit));

    perform(EditCommand::SelectAll, &edit);
    EXPECT_EQ(edit.selectedText(), "typed");
    EXPECT_EQ(edit.cursorPosition(), 5);
    EXPECT_TRUE(enabled(EditCommand::Copy, &edit));
    ASSERT_TRUE(enabled(EditCommand::Cut, &edit));
    perform(EditCommand::Cut, &edit);
    EXPECT_EQ(edit.text(), "");
    EXPECT_EQ(clipboard()->text(), "typed");

    perform(EditCommand::Undo, &edit);
    EXPECT_EQ(edit.text(), "typed");
}

TEST_F(EditCommandsTest, AReadOnlyEditFieldCanBeCopiedButNotChanged) {
    clipboard()->setText("pasted");
    QLineEdit edit("shown");
    edit.setReadOnly(true);
    edit.selectAll();
    EXPECT_TRUE(enabled(EditCommand::Copy, &edit));
    EXPECT_TRUE(enabled(EditCommand::SelectAll, &edit));
    EXPECT_FALSE(enabled(EditCommand::Cut, &edit));
    EXPECT_FALSE(enabled(EditCommand::Paste, &edit));
    perform(EditCommand::Cut, &edit);
    perform(EditCommand::Paste, &edit);
    EXPECT_EQ(edit.text(), "shown");
    perform(EditCommand::Copy, &edit);
    EXPECT_EQ(clipboard()->text(), "shown");
}

TEST_F(EditCommandsTest, ARichEditControlFollowsItsSelectionUndoHistoryAndText) {
    QTextEdit edit;
    for (const EditCommand command : kAll) {
        EXPECT_FALSE(enabled(command, &edit)) << static_cast<int>(command);
    }

    edit.textCursor().insertText("rich text");
    EXPECT_TRUE(enabled(EditCommand::Undo, &edit));
    EXPECT_TRUE(enabled(EditCommand::SelectAll, &edit));
    EXPECT_FALSE(enabled(EditCommand::Cut, &edit));

    perform(EditCommand::SelectAll, &edit);
    EXPECT_EQ(edit.textCursor().selectedText(), "rich text");
    EXPECT_TRUE(enabled(EditCommand::Copy, &edit));
    perform(EditCommand::Copy, &edit);
    EXPECT_EQ(clipboard()->text(), "rich text");
    ASSERT_TRUE(enabled(EditCommand::Cut, &edit));
    perform(EditCommand::Cut, &edit);
    EXPECT_TRUE(edit.document()->isEmpty());

    perform(EditCommand::Undo, &edit);
    EXPECT_EQ(edit.toPlainText(), "rich text");
}

TEST_F(EditCommandsTest, PasteIntoARichEditControlFollowsTheControlsJudgement) {
    QTextEdit plain;
    PictureOnlyEdit pictures;
    EXPECT_FALSE(enabled(EditCommand::Paste, &plain));

    clipboard()->setText("words");
    EXPECT_TRUE(enabled(EditCommand::Paste, &plain));
    EXPECT_FALSE(enabled(EditCommand::Paste, &pictures));
    perform(EditCommand::Paste, &plain);
    EXPECT_EQ(plain.toPlainText(), "words");

    QMimeData* image = new QMimeData;
    image->setImageData(QImage(4, 4, QImage::Format_RGB32));
    clipboard()->setMimeData(image);
    EXPECT_TRUE(enabled(EditCommand::Paste, &pictures));

    plain.setReadOnly(true);
    clipboard()->setText("words");
    EXPECT_FALSE(enabled(EditCommand::Paste, &plain));
}

}  // namespace
}  // namespace rova
