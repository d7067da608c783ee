#pragma once

#include <QDateTime>
#include <QFileInfoList>
#include <QString>

namespace rova {

// One entry found by a FileFinder.
struct FoundEntry {
    QString name;  // the entry's name; a folder's ends with "/"
    bool isFolder = false;
    qint64 size = 0;
    QDateTime modified;
};

// Walks the entries that match a path: a plain path names one entry, a last component with
// wildcards ("*" or "?") matches the entries of its folder, in name order. "." and ".." are
// never found.
class FileFinder {
  public:
    // Starts a search. A path that ends with "/" searches that folder's entries when
    // `wildcard` is set, and names the folder itself otherwise. Returns whether an entry was
    // found; entry() then holds it.
    bool findFirst(const QString& path, bool wildcard);
    // Moves to the next entry; at the end closes the search and returns false.
    bool findNext();
    void close();
    bool isOpen() const { return open_; }
    const FoundEntry& entry() const { return entry_; }

  private:
    bool takeNext();

    QFileInfoList matches_;
    qsizetype next_ = 0;
    bool open_ = false;
    FoundEntry entry_;
};

// Whether a file or folder is at `path` (a final "/" does not count). The path is taken
// literally: here "*" and "?" may be part of a name.
bool exists(const QString& path);
// Creates the folder; with `withParents`, first every missing folder above it. False for an
// empty path, or when the folder cannot be created (also when it exists already).
bool createFolder(const QString& path, bool withParents);
// Moves a file or folder, across file systems too. An existing target is replaced only when
// `replace` is set (atomically when both are on one file system).
bool moveFile(const QString& source, const QString& target, bool replace);
bool deleteFile(const QString& path);

}  // namespace rova
