#include "FilePromptRules.h"

#include "FilePaths.h"

namespace rova {

QString defaultExtensionOf(const QString& filter) {
    const qsizetype dot = filter.lastIndexOf(u'.');
    if (dot < 0) {
        return {};
    }
    const qsizetype bar = filter.indexOf(u'|', dot);
    return filter.mid(dot, bar < 0 ? -1 : bar - dot);
}

std::optional<QString> withDefaultExtension(const QString& path, const QString& extension) {
    // Only the file name counts: a dot in a folder's name is no extension.
    const QString present = paths::extension(paths::fileName(path));
    if (present.isEmpty()) {
        return path + extension;
    }
    if (present.compare(extension, Qt::CaseInsensitive) == 0) {
        return path;
    }
    return std::nullopt;
}

}  // namespace rova
