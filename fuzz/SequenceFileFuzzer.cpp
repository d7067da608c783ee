// Reads the input as a sequence file, the way a document opens one. Whatever it holds, reading
// must end in one of the reader's results without crashing, hanging or allocating without
// bound. Whatever was read must then save, and the saved file must read back the same
// commands: the writer never produces a file its own reader rejects or reads differently.
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "CommandFile.h"

namespace {

class SilentPrompt final : public rova::UserPrompt {
  public:
    void showWarning(const QString&) override {}
};

// Files live in memory where possible: saving flushes to disk, which would slow every run.
QString scratchFolder() {
    static QTemporaryDir folder(QDir(QStringLiteral("/dev/shm")).exists()
                                    ? QStringLiteral("/dev/shm/rova-fuzz-XXXXXX")
                                    : QDir::tempPath() + "/rova-fuzz-XXXXXX");
    if (!folder.isValid()) {
        std::abort();
    }
    return folder.path();
}

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

bool sameCommand(const rova::Command& a, const rova::Command& b) {
    return a.keyword() == b.keyword() && a.parameters().toBytes() == b.parameters().toBytes() &&
           a.name() == b.name() && a.nameFollowsContent() == b.nameFollowsContent() &&
           a.contentKind() == b.contentKind() && a.content() == b.content();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const QString input = scratchFolder() + "/input.rova";
    static const QString saved = scratchFolder() + "/saved.rova";
    {
        QFile file(input);
        check(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        check(file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) ==
              static_cast<qint64>(size));
    }

    SilentPrompt prompt;
    rova::NodeList<rova::Command> commands;
    std::size_t count = 0;
    const rova::FileResult result = rova::readCommands(commands, 0, input, prompt, &count);
    check(count == commands.size());
    check(result == rova::FileResult::Ok || result == rova::FileResult::BadFormat);
    check(result == rova::FileResult::Ok || commands.empty());

    check(rova::writeCommands(commands, saved, prompt) == rova::FileResult::Ok);
    rova::NodeList<rova::Command> reread;
    check(rova::readCommands(reread, 0, saved, prompt) == rova::FileResult::Ok);
    check(reread.size() == commands.size());
    for (std::size_t i = 0; i < commands.size(); ++i) {
        check(sameCommand(*commands.at(i), *reread.at(i)));
    }
    return 0;
}
