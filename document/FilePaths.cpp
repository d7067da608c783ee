#include "FilePaths.h"

#include <QDir>
#include <QFileInfo>

namespace rova::paths {

QString extension(const QString& path) {
    const qsizetype dot = path.lastIndexOf(u'.');
    return dot < 0 ? QString() : path.mid(dot);
}

QString fileName(const QString& path) {
    return path.mid(path.lastIndexOf(kSeparator) + 1);
}

QString folder(const QString& path) {
    return path.left(path.lastIndexOf(kSeparator) + 1);
}

bool endsWithSeparator(const QString& path) {
    return path.endsWith(kSeparator);
}

QString ensureSeparator(const QString& path) {
    return path.isEmpty() || endsWithSeparator(path) ? path : path + kSeparator;
}

QString removeSeparator(const QString& path) {
    return endsWithSeparator(path) ? path.chopped(1) : path;
}

qsizetype rootLength(const QString& path) {
    return path.startsWith(kSeparator) ? 1 : 0;
}

QString qualify(const QString& name) {
    if (name.isEmpty()) {
        return {};
    }
    const QString full = QDir::cleanPath(QDir::current().absoluteFilePath(name));
    return QFileInfo(full).isDir() ? ensureSeparator(full) : full;
}

}  // namespace rova::paths
