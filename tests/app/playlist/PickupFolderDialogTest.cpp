#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include "AnsweringPrompt.h"
#include "NamedWidget.h"
#include "PickupFolderDialog.h"
#include "QtApplicationTest.h"

namespace rova {
namespace {

using test::AnsweringPrompt;

// A folder that exists ends with the separator, a file that exists does not; a path not found is
// taken only when the user says so.
TEST(AcceptPickupFolder, TakesWhatExistsAndAsksAboutTheRest) {
    QTemporaryDir root;
    ASSERT_TRUE(QFile(root.filePath("plain.txt")).open(QIODevice::WriteOnly));
    const QString missing = root.filePath("not/there");
    AnsweringPrompt prompt;
    prompt.answers = {Answer::No, Answer::Yes, Answer::Yes};
    const std::pair<QString, std::optional<QString>> cases[] = {
        {root.path(), root.path() + "/"},
        {root.path() + "/", root.path() + "/"},
        {"/", "/"},
        {root.filePath("plain.txt"), root.filePath("plain.txt")},
        {missing, std::nullopt},
        {missing, missing + "/"},
        {"", ""},
    };
    for (const auto& [typed, accepted] : cases) {
        EXPECT_EQ(acceptPickupFolder(typed, prompt), accepted) << typed.toStdString();
    }
    ASSERT_EQ(prompt.questions.size(), 3u);
    EXPECT_EQ(prompt.questions[0].choices, Choices::YesNo);
    EXPECT_EQ(prompt.questions[0].message,
              "The path, \"" + missing +
                  "/\" does not correspond to a folder currently reachable in the file system.  Do "
                  "you want to choose it anyway?");
}

class PickupFolderDialogTest : public test::QtApplicationTest {};

// A pattern starts the folder chooser in its folder, a folder in itself.
TEST_F(PickupFolderDialogTest, BrowseFillsTheEditAndOkClosesOnlyOnAnAcceptedPath) {
    QTemporaryDir root;
    ASSERT_TRUE(QDir(root.path()).mkdir("chosen"));
    AnsweringPrompt prompt;
    QStringList startFolders;
    QString choice;  // nothing: the user cancelled the chooser
    PickupFolderDialog dialog("/srv/in/*.txt", prompt, nullptr, [&](QWidget*, const QString& at) {
        startFolders.append(at);
        return choice;
    });
    auto* edit = test::named<QLineEdit>(dialog, "Pickup folder path");
    auto* browse = test::named<QPushButton>(dialog, "Browse...");
    auto* buttons = dialog.findChild<QDialogButtonBox*>();
    ASSERT_TRUE(edit && browse && buttons);
    dialog.show();
    browse->click();
    EXPECT_EQ(edit->text(), "/srv/in/*.txt");
    edit->setText(root.filePath("missing"));
    prompt.answers = {Answer::No};
    buttons->button(QDialogButtonBox::Ok)->click();
    EXPECT_TRUE(dialog.isVisible()) << "No keeps the dialog open";
    edit->setText(root.path());
    choice = root.filePath("chosen");
    browse->click();
    EXPECT_EQ(edit->text(), root.filePath("chosen/"));
    EXPECT_EQ(startFolders, QStringList({"/srv/in/", root.path()}));
    buttons->button(QDialogButtonBox::Ok)->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.folder(), root.filePath("chosen/"));
    EXPECT_EQ(prompt.questions.size(), 1u);
}

}  // namespace
}  // namespace rova
