#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <cstdint>

#include "Command.h"

namespace rova {

// The cells of a command's row in the sequence list.
struct CommandRow {
    QString name;
    QString type;
    QString death;
    QString deathType;
    QString nextCommand;
};

// Every text the sequence layer shows, in one place.
class CommandText {
    Q_DECLARE_TR_FUNCTIONS(CommandText)

  public:
    // "Name", "Type", "Death", "Death Type", "Next Command".
    static QStringList columnHeadings();
    // The "Command Type" item of a keyword index (0 to 6); empty for any other index.
    static QString keywordItem(int index);
    // "immediate", "decimate - fast", "decimate - slow"; empty for any other death type.
    static QString deathTypeItem(std::uint32_t deathType);
    static CommandRow row(const Command& command);
    // The "Run" button's caption while no sequence runs.
    static QString runButtonStopped();
    // The button's two-line timer while a sequence runs: "sequence: H:MM:SS" over
    // "command: H:MM:SS"; hours are not limited to two digits.
    static QString runButtonRunning(std::uint32_t sequenceSeconds, std::uint32_t commandSeconds);

  private:
    static QString seconds(double value);
};

}  // namespace rova
