// The file dialog wrapper's filters and the checks it makes of a choice, with a scripted dialog.
#include <gtest/gtest.h>

#include "DocumentTestSupport.h"
#include "FilePrompt.h"
#include "ScriptedDialog.h"

namespace rova::test {
namespace {

const QString kBitmapFilter = QStringLiteral("Bitmap Files (*.bmp)|*.bmp|");
const QString kOpenFilter = QStringLiteral(
    "All Openable Files (*.rova, *.rtf, *.txt)|*.rova;*.rtf;*.txt|Rova Files (*.rova)|*.rova|"
    "Rich Text Files (*.rtf)|*.rtf|Text Files (*.txt)|*.txt|");

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
    const auto save = [&](const QString& initial) {
        return prompt.prompt(initial, FilePrompt::Mode::Save, QStringLiteral("Save Picture"));
    };

    dialog.choices = {FilePrompt::DialogResult{{QStringLiteral("/p/pic")}, 0}};
    EXPECT_EQ(save(QString()), QStringList{QStringLiteral("/p/pic.bmp")});
    dialog.choices = {FilePrompt::DialogResult{{QStringLiteral("/p/pic.BMP")}, 0}};
    EXPECT_EQ(save(QString()), QStringList{QStringLiteral("/p/pic.BMP")});

    // Another extension: OK shows the dialog again, Cancel ends without a file.
    dialog.choices = {FilePrompt::DialogResult{{QStringLiteral("/p/pic.gif")}, 0},
                      FilePrompt::DialogResult{{QStringLiteral("/p/pic.gif")}, 0}};
    questions.answers = {Answer::Ok, Answer::Cancel};
    EXPECT_EQ(save(QStringLiteral("/p/old.bmp")), std::nullopt);
    ASSERT_EQ(questions.questions.size(), 2u);
    EXPECT_EQ(questions.questions[0].message, QStringLiteral("Use .bmp?"));
    EXPECT_EQ(questions.questions[0].choices, Choices::OkCancel);
    EXPECT_EQ(dialog.requests.back().initialPath, QStringLiteral("/p/pic.gif"));
}

// The dialog itself adds the extension to a bare name before it asks about overwriting, so the
// question is asked about the file that will be written.
TEST(FilePrompt, SaveDialogsAreGivenTheDefaultSuffixOpenDialogsNot) {
    AnsweringPrompt questions;
    ScriptedDialog dialog;
    FilePrompt prompt(kBitmapFilter, false, QString(), questions, dialog.show());
    prompt.prompt(QString(), FilePrompt::Mode::Save, QString());
    prompt.prompt(QString(), FilePrompt::Mode::OpenExistingFile, QString());
    ASSERT_EQ(dialog.requests.size(), 2u);
    EXPECT_EQ(dialog.requests[0].defaultSuffix, QStringLiteral("bmp"));
    EXPECT_EQ(dialog.requests[1].defaultSuffix, QString());
}

TEST(FilePrompt, EmptyChoiceShowsTheDialogAgainAndCancelEnds) {
    AnsweringPrompt questions;
    ScriptedDialog dialog;
    FilePrompt prompt(kOpenFilter, false, QString(), questions, dialog.show());
    dialog.choices = {FilePrompt::DialogResult{{}, 0}, std::nullopt};
    EXPECT_EQ(prompt.prompt(QStringLiteral("/x/start.rtf"), FilePrompt::Mode::OpenMultiple,
                            QStringLiteral("Open")),
              std::nullopt);
    ASSERT_EQ(dialog.requests.size(), 2u);
    EXPECT_EQ(dialog.requests[0].initialFilter, 2);
    EXPECT_EQ(dialog.requests[0].title, QStringLiteral("Open"));
    EXPECT_EQ(dialog.requests[1].initialPath, QStringLiteral("/x/start.rtf"));
}

TEST(FilePrompt, SeveralFilesComeBackAsTheyWereChosenAndTheFilterIsRemembered) {
    AnsweringPrompt questions;
    ScriptedDialog dialog;
    FilePrompt prompt(kOpenFilter, false, QString(), questions, dialog.show());
    const QStringList chosen{QStringLiteral("/a/c|d.rova"), QStringLiteral("/a/a.rova")};
    dialog.choices = {FilePrompt::DialogResult{chosen, 1}};
    EXPECT_EQ(prompt.prompt(QString(), FilePrompt::Mode::OpenMultiple, QString()), chosen);
    // No extension to go by: the filter chosen last time.
    dialog.choices = {std::nullopt};
    EXPECT_EQ(prompt.prompt(QString(), FilePrompt::Mode::OpenMultiple, QString()), std::nullopt);
    EXPECT_EQ(dialog.requests.back().initialFilter, 1);
}

}  // namespace
}  // namespace rova::test
