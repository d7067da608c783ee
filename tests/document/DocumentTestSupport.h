#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <deque>
#include <string>
#include <vector>

#include "AnsweringPrompt.h"
#include "UserPrompt.h"

namespace rova::test {

// Remembers every message instead of showing it.
class RecordingPrompt : public UserPrompt {
  public:
    void showWarning(const QString& message) override { messages.append(message); }
    QStringList messages;
};

// A fresh folder for one test, removed with it.
class TempFolder {
  public:
    TempFolder() { EXPECT_TRUE(dir_.isValid()); }
    QString path(const QString& name) const { return dir_.filePath(name); }
    QString root() const { return dir_.path(); }
    // The names in the folder, files and folders, sorted.
    QStringList entries() const {
        return QDir(dir_.path())
            .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
    }

  private:
    QTemporaryDir dir_;
};

// The names of the commands in a list, in order.
template <typename Commands>
std::vector<std::string> namesOf(const Commands& commands) {
    std::vector<std::string> names;
    for (const auto& command : commands) {
        names.push_back(command.name());
    }
    return names;
}

inline QByteArray readBytes(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

inline void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

}  // namespace rova::test
