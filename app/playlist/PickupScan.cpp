#include "PickupScan.h"

#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <algorithm>
#include <limits>

#include "FilePaths.h"

namespace rova {

namespace {

constexpr qint64 kNsPerSecond = 1'000'000'000;

const QStringList kDocumentExtensions{QStringLiteral(".txt"), QStringLiteral(".rtf"),
                                      QStringLiteral(".rova")};

std::int32_t secondsSince1970(qint64 ns) {
    constexpr qint64 kMin = std::numeric_limits<std::int32_t>::min();
    constexpr qint64 kMax = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::clamp(ns / kNsPerSecond, kMin, kMax));
}

}  // namespace

PickupScan::PickupScan(QString pickupFolder, QString pickedUpFolder)
    : pickupPath_(std::move(pickupFolder)),
      pickedUpFolder_(paths::ensureSeparator(pickedUpFolder)) {}

QString PickupScan::searchPattern() const {
    // Decided at each tick, so a folder made after the path was set is watched whole as well.
    if (!pickupPath_.isEmpty() && !paths::endsWithSeparator(pickupPath_) &&
        QFileInfo(pickupPath_).isDir()) {
        return pickupPath_ + paths::kSeparator;
    }
    return pickupPath_;
}

std::vector<DocumentListEntry> PickupScan::scan(std::uint32_t now) {
    const QString pattern = searchPattern();
    const QString sourceFolder = paths::folder(pattern);
    std::vector<DocumentListEntry> moved;
    for (const Settled& document : settledDocuments(pattern, sourceFolder)) {
        QDir().mkpath(pickedUpFolder_);
        const QString target = freeTarget(document.name);
        // Never replaces: a file that took the name meanwhile is kept, and the move waits for
        // the next tick.
        if (!QFile::rename(sourceFolder + document.name, target)) {
            break;
        }
        seen_.remove(document.name);
        insertSorted(moved, {target, now, secondsSince1970(document.modifiedNs), true});
    }
    return moved;
}

std::vector<PickupScan::Settled> PickupScan::settledDocuments(const QString& pattern,
                                                              const QString& sourceFolder) {
    QHash<QString, Signature> current;
    std::vector<Settled> settled;
    for (const QString& name : candidateNames(pattern, sourceFolder)) {
        const std::optional<Signature> signature = documentSignature(sourceFolder + name, name);
        if (!signature) {
            continue;
        }
        const auto previous = seen_.constFind(name);
        if (previous != seen_.constEnd() && *previous == *signature) {
            settled.push_back({name, signature->modifiedNs});
        }
        current.insert(name, *signature);
    }
    seen_ = std::move(current);

    const auto oldestFirst = [](const Settled& a, const Settled& b) {
        return a.modifiedNs != b.modifiedNs ? a.modifiedNs < b.modifiedNs : a.name < b.name;
    };
    const auto taken = std::min<std::size_t>(settled.size(), kMovesPerTick);
    std::partial_sort(settled.begin(), settled.begin() + taken, settled.end(), oldestFirst);
    settled.resize(taken);
    return settled;
}

QStringList PickupScan::candidateNames(const QString& pattern, const QString& sourceFolder) {
    if (pattern.isEmpty()) {
        return {};
    }
    QString filter = paths::fileName(pattern);
    // A folder's path lists every entry; "*.*" is the habitual pattern for every name, with or
    // without a dot.
    if (filter.isEmpty() || filter == QStringLiteral("*.*")) {
        filter = QStringLiteral("*");
    }
    return QDir(sourceFolder.isEmpty() ? QStringLiteral(".") : sourceFolder)
        .entryList({filter}, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                   QDir::Name);
}

std::optional<PickupScan::Signature> PickupScan::documentSignature(const QString& path,
                                                                   const QString& name) {
    if (name.startsWith(u'.') ||
        !kDocumentExtensions.contains(paths::extension(name), Qt::CaseInsensitive)) {
        return std::nullopt;
    }
    // One lstat per candidate, which does not follow links: a link is never a regular file.
    struct stat status {};
    if (::lstat(QFile::encodeName(path).constData(), &status) != 0 || !S_ISREG(status.st_mode) ||
        (status.st_mode & S_IWUSR) == 0) {
        return std::nullopt;
    }
    return Signature{status.st_size, status.st_mtim.tv_sec * kNsPerSecond + status.st_mtim.tv_nsec};
}

QString PickupScan::freeTarget(const QString& name) const {
    const QString extension = paths::extension(name);
    const QString stem = name.chopped(extension.size());
    QString target = pickedUpFolder_ + name;
    for (int n = 1; QFileInfo::exists(target); ++n) {
        target = pickedUpFolder_ + stem + u'.' + QString::number(n) + extension;
    }
    return target;
}

}  // namespace rova
