#include "InfoCommand.h"

#include "CliArguments.h"
#include "CommandText.h"
#include "HeadlessPlayback.h"
#include "StreamPrompt.h"

namespace rova {

int runInfo(const QString& path, QTextStream& output, QTextStream& errors) {
    // Opened as the other commands open it, so a text file is the one command it plays as.
    StreamPrompt prompt(errors);
    const PlaybackOptions defaults;
    HeadlessPlayback playback(defaults.framesPerSecond, defaults.seed, prompt);
    if (!playback.open(path)) {
        return 1;
    }
    for (const Command& command : playback.commands()) {
        const CommandRow row = CommandText::row(command);
        output << row.name << '\t' << row.type << '\t' << row.death << '\t' << row.deathType << '\t'
               << row.nextCommand << '\n';
    }
    return 0;
}

}  // namespace rova
