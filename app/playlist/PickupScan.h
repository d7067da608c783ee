#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <vector>

#include "DocumentListEntry.h"

namespace rova {

// Takes documents dropped into the pickup folder: each tick moves the files that have settled
// into the picked-up folder and returns them as single-play entries, oldest first.
//
// A file is taken only when its size and modification time are the same as at the previous
// tick, so a file still being written waits; a file seen for the first time therefore always
// waits one tick. Each tick moves at most kMovesPerTick files, the oldest first, so a folder of
// thousands of files is drained over many ticks without blocking the user interface.
class PickupScan {
  public:
    static constexpr int kMovesPerTick = 16;

    // `pickupFolder` names the folder to watch whole, with or without a final "/"; a path that
    // is not a folder is a search pattern (such as "/in/*.txt"). An empty path watches nothing.
    PickupScan(QString pickupFolder, QString pickedUpFolder);

    // One tick: moves the settled documents and returns their entries, made at `now`. A file
    // that cannot be moved stays and ends the tick; the entries moved before it are returned.
    std::vector<DocumentListEntry> scan(std::uint32_t now);

  private:
    struct Signature {
        qint64 size = 0;
        qint64 modifiedNs = 0;  // since 1970
        bool operator==(const Signature&) const = default;
    };
    struct Settled {
        QString name;
        qint64 modifiedNs = 0;
    };

    // The search of this tick: the pickup path, or every entry of the folder it names.
    QString searchPattern() const;
    // Lists the documents `pattern` finds in `sourceFolder`, remembers them for the next tick and
    // returns those that have not changed since the last one, oldest first.
    std::vector<Settled> settledDocuments(const QString& pattern, const QString& sourceFolder);
    // The names of the entries `pattern` matches in `sourceFolder`, in name order.
    static QStringList candidateNames(const QString& pattern, const QString& sourceFolder);
    // The size and modification time of a pickup document; nothing for any other entry. A
    // pickup document is a visible, regular ".txt", ".rtf" or ".rova" file (any letter case)
    // whose owner may write it: the owner's write bit is what marks a file read-only here, for
    // every user alike. Links, folders, devices, pipes and sockets are left alone.
    static std::optional<Signature> documentSignature(const QString& path, const QString& name);
    // A name in the picked-up folder that nothing has yet: name.ext, name.1.ext, name.2.ext, …
    QString freeTarget(const QString& name) const;

    QString pickupPath_;
    QString pickedUpFolder_;
    // The documents of the previous tick, by name.
    QHash<QString, Signature> seen_;
};

}  // namespace rova
