#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "CliTestSupport.h"
#include "InfoCommand.h"
#include "QtGuiApplicationTest.h"

namespace rova {
namespace {

// Text files are rendered to be read: fonts need the application.
class CliInfo : public test::QtGuiApplicationTest {
  protected:
    struct Run {
        int status;
        QString output;
        QString errors;
    };
    static Run info(const QString& path) {
        QString out;
        QString err;
        QTextStream output(&out);
        QTextStream errors(&err);
        const int status = runInfo(path, output, errors);
        output.flush();
        errors.flush();
        return {status, out, err};
    }
    QString write(const char* name, const QByteArray& bytes) {
        return test::writeFile(dir.filePath(name), bytes);
    }

    QTemporaryDir dir;
};

TEST_F(CliInfo, TheToolPrintsTheFiveCellsOfEachCommandTabSeparated) {
    NodeList<Command> commands;
    Command& first = commands.append(std::make_unique<Command>());
    first.setName("Hello", false);
    first.parameters().nextCommandAfter = 2.5;
    first.parameters().commandFlags |= CommandFlags::DeathAfterEnabled;
    first.parameters().deathAfter = 4.0;
    first.parameters().deathType = 1;
    commands.append(test::plainCommand(Keyword::KillAll));
    const QString path = dir.filePath("two.rova");
    test::writeSequence(commands, path);

    const test::ToolRun run = test::runTool({"info", path});
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(run.errors.isEmpty());
    const QStringList lines = QString::fromUtf8(run.output).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    const QStringList cells = lines[0].split('\t');
    ASSERT_EQ(cells.size(), 5);
    EXPECT_EQ(cells[0], "Hello");
    EXPECT_EQ(cells[1], "new solo player");
    EXPECT_EQ(cells[3], "decimate - fast");
    ASSERT_EQ(lines[1].split('\t').size(), 5);
    EXPECT_EQ(lines[1].split('\t')[1], "kill all players");
}

TEST_F(CliInfo, TextFilesAreListedAsTheOneCommandTheyPlayAs) {
    for (const auto& [name, bytes] :
         {std::pair<const char*, QByteArray>{"note.txt", "Hello there\n"},
          {"note.rtf", R"({\rtf1\ansi{\fonttbl{\f0 Arial;}}\f0 Hello there\par})"}}) {
        const Run run = info(write(name, bytes));
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
    const Run missing = info(dir.filePath("missing.rova"));
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.errors.trimmed(),
              QString("\"%1\" could not be opened.").arg(dir.filePath("missing.rova")));
    EXPECT_TRUE(missing.output.isEmpty());
    const QString junk = write("junk.rova", QByteArray(300, 'x'));
    const Run damaged = info(junk);
    EXPECT_EQ(damaged.status, 1);
    EXPECT_EQ(damaged.errors.trimmed(), QString("\"%1\" is not a valid Rova file.").arg(junk));
}

}  // namespace
}  // namespace rova
