#include "CommandText.h"

#include <cmath>
#include <optional>

#include "NumberText.h"

namespace rova {

namespace {

// Numbers in the list look as the form's edit boxes show them: up to one decimal, no sign.
QString number(double value) {
    return QString::fromStdString(formatNumber(value, 0, 1, false));
}

}  // namespace

QStringList CommandText::columnHeadings() {
    return {tr("Name"), tr("Type"), tr("Death"), tr("Death Type"), tr("Next Command")};
}

QString CommandText::keywordItem(int index) {
    switch (index) {
        case 0:
            return tr("new solo player");
        case 1:
            return tr("new player");
        case 2:
            return tr("change top player");
        case 3:
            return tr("kill top player");
        case 4:
            return tr("kill all players");
        case 5:
            return tr("repeat marker");
        case 6:
            return tr("repeat");
        default:
            return {};
    }
}

QString CommandText::deathTypeItem(std::uint32_t deathType) {
    switch (deathType) {
        case 0:
            return tr("immediate");
        case 1:
            return tr("decimate - fast");
        case 2:
            return tr("decimate - slow");
        default:
            return {};
    }
}

QString CommandText::seconds(double value) {
    return tr("after %1 sec").arg(number(value));
}

CommandRow CommandText::row(const Command& command) {
    const PlayerParameters& parameters = command.parameters();
    const bool deathEnabled = parameters.hasCommandFlag(CommandFlags::DeathAfterEnabled);
    CommandRow row;
    row.name = QString::fromStdString(command.name());
    row.type = keywordItem(command.keyword().index());
    const std::optional<Keyword> keyword = command.keyword().known();
    if (!keyword) {
        return row;
    }
    switch (*keyword) {
        case Keyword::Solo:
        case Keyword::New:
            row.death = deathEnabled ? seconds(parameters.deathAfter) : tr("indefinite");
            row.deathType = deathTypeItem(parameters.deathType);
            row.nextCommand = seconds(parameters.nextCommandAfter);
            break;
        case Keyword::Repeat:
            // The repeat count is the death time taken as a whole number.
            row.death = deathEnabled ? tr("%1 times").arg(number(std::trunc(parameters.deathAfter)))
                                     : tr("infinite");
            row.nextCommand = seconds(parameters.nextCommandAfter);
            break;
        case Keyword::Change:
        case Keyword::Kill:
        case Keyword::KillAll:
            row.nextCommand = seconds(parameters.nextCommandAfter);
            break;
        case Keyword::Mark:
            break;
    }
    return row;
}

QString CommandText::runButtonStopped() {
    return tr("Run");
}

QString CommandText::runButtonRunning(std::uint32_t sequenceSeconds, std::uint32_t commandSeconds) {
    const QChar zero(u'0');
    return tr("sequence: %1:%2:%3\ncommand: %4:%5:%6")
        .arg(sequenceSeconds / 3600)
        .arg(sequenceSeconds / 60 % 60, 2, 10, zero)
        .arg(sequenceSeconds % 60, 2, 10, zero)
        .arg(commandSeconds / 3600)
        .arg(commandSeconds / 60 % 60, 2, 10, zero)
        .arg(commandSeconds % 60, 2, 10, zero);
}

}  // namespace rova
