#include "EditCommands.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTextEdit>
#include <array>

#include "QtApplicationTest.h"

namespace rova {
namespace {

constexpr EditCommand kAll[] = {EditCommand::Undo, EditCommand::Cut, EditCommand::Copy,
                                EditCommand::Paste, EditCommand::SelectAll};

class EditCommandsTest : public test::QtApplicationTest {
  protected:
    void SetUp() override { clipboard()->setText("on the clipboard"); }
    static QClipboard* clipboard() { return QGuiApplication::clipboard(); }
};

TEST_F(EditCommandsTest, CommandsAreEnabledByWhatTheFocusedControlCanDo) {
    QPushButton button("OK");
    QLineEdit empty;
    QLineEdit typed;
    typed.insert("typed");
    QLineEdit readOnly("shown");
    readOnly.setReadOnly(true);
    readOnly.selectAll();
    QTextEdit richEmpty;
    QTextEdit rich;
    rich.textCursor().insertText("rich text");
    rich.selectAll();
    QTextEdit richReadOnly;
    richReadOnly.setReadOnly(true);
    const struct {
        const char* name;
        QWidget* focused;
        std::array<bool, 5> enabled;  // Undo, Cut, Copy, Paste, Select All
    } cases[] = {
        {"a button", &button, {false, false, false, false, true}},
        {"an empty edit field", &empty, {false, false, false, true, false}},
        {"typed text", &typed, {true, false, false, true, true}},
        {"a read-only field, selected", &readOnly, {false, false, true, false, true}},
        {"an empty rich edit", &richEmpty, {false, false, false, true, false}},
        {"rich text, selected", &rich, {true, true, true, true, true}},
        {"a read-only rich edit", &richReadOnly, {false, false, false, false, false}},
    };
    for (const auto& c : cases) {
        for (std::size_t i = 0; i < std::size(kAll); ++i) {
            EXPECT_EQ(enabled(kAll[i], c.focused), c.enabled[i]) << c.name << ", command " << i;
        }
    }
    auto* picture = new QMimeData;
    picture->setImageData(QImage(4, 4, QImage::Format_RGB32));
    clipboard()->setMimeData(picture);
    EXPECT_FALSE(enabled(EditCommand::Paste, &empty));
    EXPECT_FALSE(enabled(EditCommand::Paste, &richEmpty));
}

// Enabled commands act on the focused field; Cut and Paste leave a read-only field alone.
TEST_F(EditCommandsTest, CommandsActOnTheFocusedFieldOnlyWhenEnabled) {
    QLineEdit readOnly("shown");
    readOnly.setReadOnly(true);
    readOnly.selectAll();
    perform(EditCommand::Cut, &readOnly);
    perform(EditCommand::Paste, &readOnly);
    EXPECT_EQ(readOnly.text(), "shown");
    perform(EditCommand::Copy, &readOnly);
    EXPECT_EQ(clipboard()->text(), "shown");
    QTextEdit rich;
    perform(EditCommand::Paste, &rich);
    perform(EditCommand::SelectAll, &rich);
    clipboard()->clear();
    perform(EditCommand::Cut, &rich);
    EXPECT_EQ(clipboard()->text(), "shown");
    perform(EditCommand::Undo, &rich);
    EXPECT_EQ(rich.toPlainText(), "shown");
}

}  // namespace
}  // namespace rova
