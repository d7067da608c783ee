#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

#include "Command.h"
#include "NodeList.h"

class QMimeData;

namespace rova {

// The document's commands as a table: one row a command, five columns ("Name", "Type",
// "Death", "Death Type", "Next Command") with the command's row texts, the keyword's icon in the
// first column and the last column right-aligned. The model reads the document's list itself and
// keeps no copy of the rows: whoever changes the list goes through the model's edits, or tells
// it with rowChanged() and reread().
//
// The names can be edited in place: a typed name no longer follows the content. Rows can be
// dragged; a drop does not move anything itself but asks the form (rowsDropped()), which
// moves them as its Move buttons do.
class CommandListModel final : public QAbstractTableModel {
    Q_OBJECT

  public:
    enum Column { Name, Type, Death, DeathType, NextCommand, ColumnCount };

    explicit CommandListModel(NodeList<Command>& commands, QObject* parent = nullptr);

    NodeList<Command>& commands() { return commands_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // A non-empty text in the Name column renames the command; its name then stays as typed.
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    Qt::DropActions supportedDropActions() const override;
    Qt::DropActions supportedDragActions() const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    // Reports the dragged rows and the row they were dropped before (the row count: after the
    // last) through rowsDropped(), and returns false: the list itself is left to the form.
    bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                      const QModelIndex& parent) override;

    // -------- edits of the list --------

    // Puts the command at `row` (clamped to the end); returns its row.
    int insert(int row, std::unique_ptr<Command> command);
    // Destroys the command at `row`.
    void remove(int row);
    // Lets `edit` change the list in any way; every row is read again afterwards.
    template <typename Edit>
    void rewrite(Edit&& edit) {
        beginResetModel();
        edit(commands_);
        endResetModel();
    }
    // The list was replaced without the model (the document read a file): every row is read
    // again.
    void reread();
    // The command at `row` changed: its row is read again.
    void rowChanged(int row);

  signals:
    // The user renamed the command at `row`.
    void renamed(int row);
    // The user dropped the rows `rows` (ascending) before `destination`.
    void rowsDropped(const QList<int>& rows, int destination);

  private:
    NodeList<Command>& commands_;
};

}  // namespace rova
