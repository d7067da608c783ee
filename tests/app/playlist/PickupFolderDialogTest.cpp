#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <deque>

#include "AnsweringPrompt.h"
#include "NamedWidget.h"
#include "PickupFolderDialog.h"
#include "QtApplicationTest.h"

namespace rova {
namespace {

using test::AnsweringPrompt;
using test::AskedQuestion;

// The messages of the questions asked, in order; each was a Yes/No question.
QStringList askedMessages(const AnsweringPrompt& prompt) {
    QStringList messages;
    for (const AskedQuestion& question : prompt.questions) {
        EXPECT_EQ(question.choices, Choices::YesNo);
        messages.append(question.message);
    }
    return messages;
}

QString unreachable(const QString& path) {
    return "The path, \"" + path +
           "\" does not correspond to a folder currently reachable in the file system.  Do you "
           "want to choose it anyway?";
}

TEST(AcceptPickupFolder, AFolderThatExistsEndsWithTheSeparator) {
    QTemporaryDir root;
    AnsweringPrompt prompt;
    EXPECT_EQ(acceptPickupFolder(root.path(), prompt), root.path() + "/");
    EXPECT_EQ(acceptPickupFolder(root.path() + "/", prompt), root.path() + "/");
    EXPECT_EQ(acceptPickupFolder("/", prompt), "/");

    QFile file(root.filePath("plain.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    EXPECT_EQ(acceptPickupFolder(root.filePath("plain.txt"), prompt), root.filePath("plain.txt"))
        << "a file that exists is taken without the separator";
    EXPECT_TRUE(prompt.questions.empty());
}

TEST(AcceptPickupFolder, APathNotFoundIsTakenOnlyWhenTheUserSaysSo) {
    QTemporaryDir root;
    const QString missing = root.filePath("not/there");
    AnsweringPrompt prompt;
    prompt.answers = {Answer::No, Answer::Yes, Answer::Yes};
    EXPECT_EQ(acceptPickupFolder(missing, prompt), std::nullopt);
    EXPECT_EQ(acceptPickupFolder(missing, prompt), missing + "/");
    EXPECT_EQ(acceptPickupFolder("", prompt), "");
    EXPECT_EQ(askedMessages(prompt), QStringList({unreachable(missing + "/"),
                                                  unreachable(missing + "/"), unreachable("")}));
    EXPECT_TRUE(prompt.messages.isEmpty());
}

class PickupFolderDialogTest : public test::QtApplicationTest {};

TEST_F(PickupFolderDialogTest, OkClosesOnlyOnAnAcceptedPath) {
    QTemporaryDir root;
    AnsweringPrompt prompt;
    PickupFolderDialog dialog("/srv/pickup/", prompt);
    EXPECT_EQ(dialog.windowTitle(), "Choose Pickup Folder Path");
    auto* edit = dialog.findChild<QLineEdit*>();
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->text(), "/srv/pickup/");
    auto* buttons = dialog.findChild<QDialogButtonBox*>();
    ASSERT_NE(buttons, nullptr);
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    ASSERT_NE(ok, nullptr);
    ASSERT_NE(buttons->button(QDialogButtonBox::Cancel), nullptr);

    dialog.show();
    edit->setText(root.filePath("missing"));
    prompt.answers = {Answer::No};
    ok->click();
    EXPECT_TRUE(dialog.isVisible()) << "No keeps the dialog open";
    EXPECT_EQ(prompt.questions.size(), 1u);
    EXPECT_TRUE(dialog.folder().isEmpty());

    edit->setText(root.path());
    ok->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.folder(), root.path() + "/");
}

TEST_F(PickupFolderDialogTest, CancelChoosesNothing) {
    AnsweringPrompt prompt;
    PickupFolderDialog dialog("/srv/pickup/", prompt);
    dialog.show();
    dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_TRUE(dialog.folder().isEmpty());
    EXPECT_TRUE(prompt.questions.empty());
}

TEST_F(PickupFolderDialogTest, BrowsePutsTheChosenFolderInTheEdit) {
    QTemporaryDir root;
    ASSERT_TRUE(QDir(root.path()).mkdir("chosen"));
    AnsweringPrompt prompt;
    QWidget* chooserParent = nullptr;
    QStringList startFolders;
    QString choice;
    PickupFolderDialog dialog("/srv/in/*.txt", prompt, nullptr,
                              [&](QWidget* parent, const QString& startFolder) {
                                  chooserParent = parent;
                                  startFolders.append(startFolder);
                                  return choice;
                              });
    auto* edit = test::named<QLineEdit>(dialog, "Pickup folder path");
    auto* browse = test::named<QPushButton>(dialog, "Browse...");
    ASSERT_NE(edit, nullptr);
    ASSERT_NE(browse, nullptr);
    EXPECT_EQ(browse->text(), "Browse...");
    dialog.show();

    browse->click();  // the chooser is cancelled: it returns nothing
    EXPECT_EQ(chooserParent, &dialog);
    EXPECT_EQ(edit->text(), "/srv/in/*.txt");

    edit->setText(root.path());
    choice = root.filePath("chosen");
    browse->click();
    EXPECT_EQ(edit->text(), root.filePath("chosen/"));
    EXPECT_EQ(startFolders, QStringList({"/srv/in/", root.path()}))
        << "a pattern starts the chooser in its folder, a folder in itself";

    dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.folder(), root.filePath("chosen/"));
    EXPECT_TRUE(prompt.questions.empty());
}

}  // namespace
}  // namespace rova
