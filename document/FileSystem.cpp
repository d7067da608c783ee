#include "FileSystem.h"

#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>

#include "FilePaths.h"

namespace rova {

namespace {

bool hasWildcard(const QString& pattern) {
    return pattern.contains(u'*') || pattern.contains(u'?');
}

// The entries a search path names; see FileFinder.
QFileInfoList matchesOf(const QString& path) {
    const QString pattern = paths::fileName(path);
    if (!hasWildcard(pattern)) {
        const QFileInfo single(path);
        return single.exists() ? QFileInfoList{single} : QFileInfoList{};
    }
    const QString folder = paths::folder(path);
    // "*.*" is the habitual pattern for every entry, with or without a dot in its name.
    const QString filter = pattern == QStringLiteral("*.*") ? QStringLiteral("*") : pattern;
    return QDir(folder.isEmpty() ? QStringLiteral(".") : folder)
        .entryInfoList({filter},
                       QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                       QDir::Name);
}

}  // namespace

bool FileFinder::findFirst(const QString& path, bool wildcard) {
    close();
    QString searched = path;
    if (paths::endsWithSeparator(path)) {
        searched = wildcard ? path + QStringLiteral("*.*") : paths::removeSeparator(path);
        if (searched.isEmpty()) {
            searched = path;  // the root folder itself
        }
    }
    matches_ = matchesOf(searched);
    open_ = true;
    return takeNext();
}

bool FileFinder::findNext() {
    return open_ && takeNext();
}

void FileFinder::close() {
    matches_.clear();
    next_ = 0;
    open_ = false;
}

bool FileFinder::takeNext() {
    if (next_ >= matches_.size()) {
        close();
        return false;
    }
    const QFileInfo& info = matches_.at(next_++);
    entry_.isFolder = info.isDir();
    entry_.name = info.fileName().isEmpty() ? info.filePath() : info.fileName();
    if (entry_.isFolder) {
        entry_.name = paths::ensureSeparator(entry_.name);
    }
    entry_.size = entry_.isFolder ? 0 : info.size();
    entry_.modified = info.lastModified();
    return true;
}

bool exists(const QString& path) {
    if (path.isEmpty()) {
        return false;
    }
    return QFileInfo::exists(path.size() > 1 ? paths::removeSeparator(path) : path);
}

bool createFolder(const QString& path, bool withParents) {
    if (path.isEmpty()) {
        return false;
    }
    if (withParents) {
        const QString parent = paths::parentFolder(path);
        if (!parent.isEmpty() && parent != path && !exists(parent) && !createFolder(parent, true)) {
            return false;
        }
    }
    return ::mkdir(QFile::encodeName(path).constData(), 0777) == 0;
}

bool moveFile(const QString& source, const QString& target, bool replace) {
    if (replace) {
        if (std::rename(QFile::encodeName(source).constData(),
                        QFile::encodeName(target).constData()) == 0) {
            return true;
        }
        if (errno != EXDEV) {
            return false;
        }
        // On another file system the move becomes a copy, which cannot overwrite.
        QFile::remove(target);
    }
    // Refuses an existing target; copies and deletes across file systems.
    return QFile::rename(source, target);
}

bool deleteFile(const QString& path) {
    return QFile::remove(path);
}

}  // namespace rova
