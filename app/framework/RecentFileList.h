#pragma once

#include <QString>
#include <QStringList>

namespace rova {

class SettingsStore;

// The most recently used files, newest first, at most nine. They are kept in the settings
// section "Recent File List" under the keys "File1" (the newest) to "File9".
class RecentFileList {
  public:
    static constexpr int kMaxEntries = 9;
    static inline const QString kSection = QStringLiteral("Recent File List");

    // Puts the path at the top; an equal path already listed moves there, and the oldest
    // entry drops off a full list. An empty path is ignored.
    void add(const QString& path);
    void remove(const QString& path);
    const QStringList& entries() const { return entries_; }

    // What the menu shows of each path: the file name, or, where another path has the same file
    // name, the whole path with `homeFolder` written as "~".
    static QStringList displayNames(const QStringList& paths, const QString& homeFolder);

    // Replaces the entries with the stored ones; empty values and repeats are skipped.
    void load(const SettingsStore& settings);
    // Stores the entries and removes the keys of the places they do not fill.
    void save(SettingsStore& settings) const;

  private:
    QStringList entries_;
};

}  // namespace rova
