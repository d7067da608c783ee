#include "RecentFileList.h"

#include <QFileInfo>

#include "SettingsStore.h"

namespace rova {

namespace {

// Entry i (from 0) is kept under "File<i+1>".
QString keyOf(int index) {
    return QStringLiteral("File%1").arg(index + 1);
}

QString withHomeAsTilde(const QString& path, const QString& homeFolder) {
    if (!homeFolder.isEmpty() && homeFolder != u'/' && path.startsWith(homeFolder) &&
        path.size() > homeFolder.size() && path[homeFolder.size()] == u'/') {
        return u'~' + path.mid(homeFolder.size());
    }
    return path;
}

}  // namespace

QStringList RecentFileList::displayNames(const QStringList& paths, const QString& homeFolder) {
    QStringList names;
    for (const QString& path : paths) {
        names.append(QFileInfo(path).fileName());
    }
    QStringList shown;
    for (qsizetype i = 0; i < paths.size(); ++i) {
        shown.append(names.count(names[i]) > 1 ? withHomeAsTilde(paths[i], homeFolder) : names[i]);
    }
    return shown;
}

void RecentFileList::add(const QString& path) {
    if (path.isEmpty()) {
        return;
    }
    entries_.removeAll(path);
    entries_.prepend(path);
    if (entries_.size() > kMaxEntries) {
        entries_.resize(kMaxEntries);
    }
}

void RecentFileList::remove(const QString& path) {
    entries_.removeAll(path);
}

void RecentFileList::load(const SettingsStore& settings) {
    entries_.clear();
    for (int i = 0; i < kMaxEntries; ++i) {
        const QString path = settings.readString(kSection, keyOf(i)).value_or(QString());
        if (!path.isEmpty() && !entries_.contains(path)) {
            entries_.append(path);
        }
    }
}

void RecentFileList::save(SettingsStore& settings) const {
    for (int i = 0; i < kMaxEntries; ++i) {
        settings.writeString(kSection, keyOf(i),
                             i < entries_.size() ? std::optional(entries_[i]) : std::nullopt);
    }
}

}  // namespace rova
