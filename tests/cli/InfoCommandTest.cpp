#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "CommandFile.h"
#include "InfoCommand.h"
#include "QtGuiApplicationTest.h"

namespace rova {
namespace {

// Text files are rendered to be read: fonts need the application.
class CliInfo : public test::QtGuiApplicationTest {};

struct NoPrompt final : UserPrompt {
    void showWarning(const QString& message) override { ADD_FAILURE() << message.toStdString(); }
};

QString writeSequence(const QTemporaryDir& dir) {
    NodeList<Command> commands;
    auto first = std::make_unique<Command>();
    first->setName("Hello", false);
    first->parameters().nextCommandAfter = 2.5;
    first->parameters().commandFlags |= CommandFlags::DeathAfterEnabled;
    first->parameters().deathAfter = 4.0;
    first->parameters().deathType = 1;
    commands.append(std::move(first));
    auto second = std::make_unique<Command>();
    second->setKeyword(CommandKeyword(Keyword::KillAll));
    commands.append(std::move(second));
    const QString path = dir.filePath("two.rova");
    NoPrompt prompt;
    EXPECT_EQ(writeCommands(commands, path, prompt), FileResult::Ok);
    return path;
}

struct CliRun {
    int status;
    QString output;
    QString errors;
};

CliRun info(const QString& path) {
    QString out;
    QString err;
    QTextStream output(&out);
    QTextStream errors(&err);
    const int status = runInfo(path, output, errors);
    output.flush();
    errors.flush();
    return {status, out, err};
}

TEST_F(CliInfo, PrintsTheFiveCellsOfEachCommandTabSeparated) {
    QTemporaryDir dir;
    const QString path = writeSequence(dir);
    const CliRun run = info(path);
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(run.errors.isEmpty());
    const QStringList lines = run.output.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    const QStringList cells = lines[0].split('\t');
    ASSERT_EQ(cells.size(), 5);
    EXPECT_EQ(cells[0], "Hello");
    EXPECT_EQ(cells[1], "new solo player");
    EXPECT_EQ(cells[3], "decimate - fast");
    EXPECT_EQ(lines[1].split('\t').size(), 5);
    EXPECT_EQ(lines[1].split('\t')[1], "kill all players");
}

TEST_F(CliInfo, TextFilesAreListedAsTheOneCommandTheyPlayAs) {
    QTemporaryDir dir;
    const struct {
        const char* name;
        QByteArray bytes;
    } files[] = {{"note.txt", "Hello there\n"},
                 {"note.rtf", R"({\rtf1\ansi{\fonttbl{\f0 Arial;}}\f0 Hello there\par})"}};
    for (const auto& [name, bytes] : files) {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        const CliRun run = info(file.fileName());
        EXPECT_EQ(run.status, 0) << name;
        EXPECT_TRUE(run.errors.isEmpty()) << run.errors.toStdString();
        const QStringList lines = run.output.split('\n', Qt::SkipEmptyParts);
        ASSERT_EQ(lines.size(), 1) << name;
        const QStringList cells = lines[0].split('\t');
        ASSERT_EQ(cells.size(), 5);
        EXPECT_TRUE(cells[0].contains("Hello there")) << cells[0].toStdString();
    }
}

TEST_F(CliInfo, AFileThatCannotBeReadGivesTheReadersMessageAndStatusOne) {
    QTemporaryDir dir;
    const CliRun missing = info(dir.filePath("missing.rova"));
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.errors.trimmed(),
              QString("\"%1\" could not be opened.").arg(dir.filePath("missing.rova")));
    EXPECT_TRUE(missing.output.isEmpty());

    QFile junk(dir.filePath("junk.rova"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(300, 'x'));
    junk.close();
    const CliRun damaged = info(junk.fileName());
    EXPECT_EQ(damaged.status, 1);
    EXPECT_EQ(damaged.errors.trimmed(),
              QString("\"%1\" is not a valid Rova file.").arg(junk.fileName()));
}

TEST_F(CliInfo, TheToolListsTheOneFileGivenAfterInfo) {
    QProcess tool;
    QTemporaryDir dir;
    tool.start(ROVA_CLI_PATH, {"info", writeSequence(dir)});
    ASSERT_TRUE(tool.waitForFinished(10000));
    EXPECT_EQ(tool.exitCode(), 0);
    EXPECT_EQ(tool.readAllStandardOutput().count('\n'), 2);
}

}  // namespace
}  // namespace rova
