#include "CommandListModel.h"

#include <QDataStream>
#include <QIODevice>
#include <QMimeData>
#include <algorithm>

#include "CommandText.h"
#include "KeywordIcons.h"

namespace rova {

namespace {

const QString kRowsMimeType = QStringLiteral("application/x-rova-command-rows");

QString cellText(const CommandRow& row, int column) {
    switch (column) {
        case CommandListModel::Name:
            return row.name;
        case CommandListModel::Type:
            return row.type;
        case CommandListModel::Death:
            return row.death;
        case CommandListModel::DeathType:
            return row.deathType;
        case CommandListModel::NextCommand:
            return row.nextCommand;
        default:
            return {};
    }
}

}  // namespace

CommandListModel::CommandListModel(NodeList<Command>& commands, QObject* parent)
    : QAbstractTableModel(parent), commands_(commands) {}

int CommandListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(commands_.size());
}

int CommandListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant CommandListModel::data(const QModelIndex& index, int role) const {
    const Command* command =
        index.isValid() ? commands_.at(static_cast<std::size_t>(index.row())) : nullptr;
    if (command == nullptr) {
        return {};
    }
    switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            return cellText(CommandText::row(*command), index.column());
        case Qt::DecorationRole:
            if (index.column() == Name) {
                return keywordIcon(command->keyword().index());
            }
            return {};
        case Qt::TextAlignmentRole:
            if (index.column() == NextCommand) {
                return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
            }
            return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
        default:
            return {};
    }
}

QVariant CommandListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal) {
        return {};
    }
    if (role == Qt::DisplayRole) {
        return CommandText::columnHeadings().value(section);
    }
    if (role == Qt::TextAlignmentRole && section == NextCommand) {
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    }
    return {};
}

Qt::ItemFlags CommandListModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::ItemIsDropEnabled;
    }
    // Rows take no drops themselves, so a drop lands between two rows.
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
    if (index.column() == Name) {
        flags |= Qt::ItemIsEditable;
    }
    return flags;
}

bool CommandListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    Command* command =
        index.isValid() ? commands_.at(static_cast<std::size_t>(index.row())) : nullptr;
    const QString text = value.toString();
    if (command == nullptr || role != Qt::EditRole || index.column() != Name || text.isEmpty()) {
        return false;
    }
    command->setName(text.toStdString(), false);
    rowChanged(index.row());
    emit renamed(index.row());
    return true;
}

Qt::DropActions CommandListModel::supportedDropActions() const {
    return Qt::MoveAction;
}

Qt::DropActions CommandListModel::supportedDragActions() const {
    return Qt::MoveAction;
}

QStringList CommandListModel::mimeTypes() const {
    return {kRowsMimeType};
}

QMimeData* CommandListModel::mimeData(const QModelIndexList& indexes) const {
    QList<int> rows;
    for (const QModelIndex& index : indexes) {
        if (index.isValid() && !rows.contains(index.row())) {
            rows.append(index.row());
        }
    }
    std::sort(rows.begin(), rows.end());
    QByteArray encoded;
    QDataStream stream(&encoded, QIODevice::WriteOnly);
    stream << rows;
    auto* mime = new QMimeData;
    mime->setData(kRowsMimeType, encoded);
    return mime;
}

bool CommandListModel::dropMimeData(const QMimeData* data, Qt::DropAction action, int row,
                                    int /*column*/, const QModelIndex& parent) {
    if (data == nullptr || action != Qt::MoveAction || !data->hasFormat(kRowsMimeType)) {
        return false;
    }
    QList<int> rows;
    QDataStream stream(data->data(kRowsMimeType));
    stream >> rows;
    // A drop onto a row puts the rows before it; a drop below the rows, after the last.
    const int destination = row >= 0 ? row : parent.isValid() ? parent.row() : rowCount();
    if (!rows.isEmpty()) {
        emit rowsDropped(rows, destination);
    }
    return false;
}

int CommandListModel::insert(int row, std::unique_ptr<Command> command) {
    const int at = std::clamp(row, 0, rowCount());
    beginInsertRows({}, at, at);
    commands_.insert(static_cast<std::size_t>(at), std::move(command));
    endInsertRows();
    return at;
}

void CommandListModel::remove(int row) {
    if (row < 0 || row >= rowCount()) {
        return;
    }
    beginRemoveRows({}, row, row);
    commands_.detachRun(static_cast<std::size_t>(row), 1);
    endRemoveRows();
}

void CommandListModel::reread() {
    beginResetModel();
    endResetModel();
}

void CommandListModel::rowChanged(int row) {
    if (row >= 0 && row < rowCount()) {
        emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
    }
}

}  // namespace rova
