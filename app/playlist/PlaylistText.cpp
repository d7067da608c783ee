#include "PlaylistText.h"

namespace rova {

QString PlaylistText::pickupFolderTitle() {
    return tr("Choose Pickup Folder Path");
}

QString PlaylistText::pickupFolderPath() {
    return tr("Pickup folder path");
}

QString PlaylistText::browse() {
    return tr("Browse...");
}

QString PlaylistText::unreachablePickupFolder(const QString& path) {
    return tr("The path, \"%1\" does not correspond to a folder currently reachable in the file "
              "system.  Do you want to choose it anyway?")
        .arg(path);
}

}  // namespace rova
