#pragma once

// Shared helpers of the rova-cli tests: running the built tool and writing its input files.

#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QStringList>

#include <memory>
#include <string>

#include "Command.h"
#include "CommandFile.h"
#include "TestCommands.h"

namespace rova::test {

struct ToolRun {
    int status = -1;
    QByteArray output;
    QByteArray errors;
};

// Runs rova-cli with the arguments and waits for it to end.
inline ToolRun runTool(const QStringList& arguments) {
    QProcess tool;
    tool.start(ROVA_CLI_PATH, arguments);
    EXPECT_TRUE(tool.waitForFinished(60000)) << arguments.join(' ').toStdString();
    EXPECT_EQ(tool.exitStatus(), QProcess::NormalExit) << arguments.join(' ').toStdString();
    return {tool.exitCode(), tool.readAllStandardOutput(), tool.readAllStandardError()};
}

struct FailOnPrompt final : UserPrompt {
    void showWarning(const QString& message) override { ADD_FAILURE() << message.toStdString(); }
};

inline QByteArray readFile(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

// Writes `bytes` to the file at `path` and returns the path.
inline QString writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(bytes);
    return path;
}

inline void writeSequence(const NodeList<Command>& commands, const QString& path) {
    FailOnPrompt prompt;
    ASSERT_EQ(writeCommands(commands, path, prompt), FileResult::Ok);
}

}  // namespace rova::test
