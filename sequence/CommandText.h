#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

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

// Every text the sequence layer shows about commands, in one place.
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

  private:
    static QString seconds(double value);
};

}  // namespace rova
