// The file dialog wrapper's filters and the checks it makes of a choice, with a scripted dialog.
#include <gtest/gtest.h>

#include <deque>

#include "DocumentTestSupport.h"
#include "FilePrompt.h"

namespace rova::test {
namespace {

const QString kBitmapFilter = QStringLiteral("Bitmap Files (*.bmp)|*.bmp|");
const QString kOpenFilter = QStringLiteral(
    "All Openable Files (*.rova, *.rtf, *.txt)|*.rova;*.rtf;*.txt|Rova Files (*.rova)|*.rova|"
    "Rich Text Files (*.rtf)|*.rtf|Text Files (*.txt)|*.txt|");

// Plays the user: answers each dialog with the next scripted choice and remembers the requests.
struct ScriptedDialog {
    std::deque<std::optional<FilePrompt::DialogResult>> choices;
    std::vector<FilePrompt::DialogRequest> requests;

    FilePrompt::ShowDialog show() {
        return [this](const FilePrompt::DialogRequest& request) {
            requests.push_back(request);
            std::optional<FilePrompt::DialogResult> choice;
            if (!choices.empty()) {
                choice.swap(choices.front());
                choices.pop_front();
            }
            return choice;
        };
    }
};

TEST(FilePrompt, FiltersTakeTheirPatternsFromThePatternField) {
    EXPECT_EQ(FilePrompt::dialogFilters(kOpenFilter),
              (QStringList{QStringLiteral("All Openable Files (*.rova *.rtf *.txt)"),
                           QStringLiteral("Rova Files (*.rova)"),
                           QStringLiteral("Rich Text Files (*.rtf)"),
                           QStringLiteral("Text Files (*.txt)")}));
    EXPECT_EQ(FilePrompt::initialFilter(kOpenFilter, QStringLiteral(".rtf"), 0), 2);
    EXPECT_EQ(FilePrompt::initialFilter(kOpenFilter, QStringLiteral(".RTF"), 0), 2);
    EXPECT_EQ(FilePrompt::initialFilter(kOpenFilter, QStringLiteral(".bmp"), 3), 3);
    EXPECT_EQ(FilePrompt::initialFilter(QStringLiteral("Any (*.*)|*.*|Bitmaps|*.bmp|"),
                                        QStringLiteral(".gif"), 1),
              0);
}

TEST(FilePrompt, DefaultExtensionIsAppendedOrQuestioned) {
    AnsweringPrompt questions;
    ScriptedDialog dialog;
    FilePrompt prompt(kBitmapFilter, true, QStringLiteral("Use %1?"), questions, dialog.show());
    QString path;

    dialog.choices = {FilePrompt::DialogResult{{QStringLiteral("/p/pic")}, 0}};
    ASSERT_TRUE(prompt.prompt(path, FilePrompt::Mode::Save, QStringLiteral("Save Picture")));
    EXPECT_EQ(path, QStringLiteral("/p/pic.bmp"));

    dialog.choices = {FilePrompt::DialogResult{{QStringLiteral("/p/pic.BMP")}, 0}};
    ASSERT_TRUE(prompt.prompt(path, FilePrompt::Mode::Save, QString()));
    EXPECT_EQ(path, QStringLiteral("/p/pic.BMP"));

    // Another extension: OK shows the dialog again, Cancel ends without a file.
    dialog.choices = {FilePrompt::DialogResult{{QStringLiteral("/p/pic.gif")}, 0},
                      FilePrompt::DialogResult{{QStringLiteral("/p/pic.gif")}, 0}};
    questions.answers = {Answer::Ok, Answer::Cancel};
    path = QStringLiteral("/p/old.bmp");
    EXPECT_FALSE(prompt.prompt(path, FilePrompt::Mode::Save, QString()));
    EXPECT_EQ(path, QStringLiteral("/p/old.bmp"));
    ASSERT_EQ(questions.questions.size(), 2u);
    EXPECT_EQ(questions.questions[0].message, QStringLiteral("Use .bmp?"));
    EXPECT_EQ(questions.questions[0].choices, Choices::OkCancel);
}

TEST(FilePrompt, EmptyChoiceShowsTheDialogAgainAndCancelEnds) {
    AnsweringPrompt questions;
    ScriptedDialog dialog;
    FilePrompt prompt(kOpenFilter, false, QString(), questions, dialog.show());
    dialog.choices = {FilePrompt::DialogResult{{}, 0}, std::nullopt};
    QString path = QStringLiteral("/x/start.rtf");
    EXPECT_FALSE(prompt.prompt(path, FilePrompt::Mode::OpenMultiple, QStringLiteral("Open")));
    ASSERT_EQ(dialog.requests.size(), 2u);
    EXPECT_EQ(dialog.requests[0].initialFilter, 2);
    EXPECT_EQ(dialog.requests[0].title, QStringLiteral("Open"));
    EXPECT_EQ(path, QStringLiteral("/x/start.rtf"));
}

TEST(FilePrompt, SeveralFilesAreJoinedAndTheFilterIsRemembered) {
    AnsweringPrompt questions;
    ScriptedDialog dialog;
    FilePrompt prompt(kOpenFilter, false, QString(), questions, dialog.show());
    dialog.choices = {
        FilePrompt::DialogResult{{QStringLiteral("/a/c.rova"), QStringLiteral("/a/a.rova")}, 1}};
    QString path;
    ASSERT_TRUE(prompt.prompt(path, FilePrompt::Mode::OpenMultiple, QString()));
    EXPECT_EQ(path, QStringLiteral("/a/c.rova|/a/a.rova"));
    // No extension to go by: the filter chosen last time.
    dialog.choices = {std::nullopt};
    QString none;
    EXPECT_FALSE(prompt.prompt(none, FilePrompt::Mode::OpenMultiple, QString()));
    EXPECT_EQ(dialog.requests.back().initialFilter, 1);
}

}  // namespace
}  // namespace rova::test
