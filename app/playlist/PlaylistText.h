#pragma once

#include <QCoreApplication>
#include <QString>

namespace rova {

// Every text the playlist and the pickup folder show, in one place.
class PlaylistText {
    Q_DECLARE_TR_FUNCTIONS(PlaylistText)

  public:
    static QString pickupFolderTitle();
    // The accessible name of the pickup folder dialog's path field.
    static QString pickupFolderPath();
    // The button that opens the folder chooser.
    static QString browse();
    // The question asked when a chosen pickup folder cannot be found.
    static QString unreachablePickupFolder(const QString& path);
};

}  // namespace rova
