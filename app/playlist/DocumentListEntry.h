#pragma once

#include <QString>
#include <algorithm>
#include <cstdint>
#include <utility>

namespace rova {

// One file of the playlist.
struct DocumentListEntry {
    // The file's full path.
    QString path;
    // The millisecond clock when the entry was made.
    std::uint32_t timeAdded = 0;
    // 0 for files the user opened; for picked-up files their last-write time in seconds since 1970.
    std::int32_t orderKey = 0;
    // The entry leaves the list after it has played once.
    bool singlePlay = false;
};

// Orders a new entry against an existing one: negative when `existing` sorts first. An existing
// entry with an order key is compared by key; one without by path, ignoring case.
int compareEntries(const DocumentListEntry& existing, const DocumentListEntry& added);

// Where `added` goes in sorted entries: before the first entry that does not sort before it, so a
// new entry precedes existing ones that compare equal.
template <typename Entries>
typename Entries::iterator sortedPosition(Entries& entries, const DocumentListEntry& added) {
    return std::find_if(entries.begin(), entries.end(), [&](const DocumentListEntry& existing) {
        return compareEntries(existing, added) >= 0;
    });
}

template <typename Entries>
void insertSorted(Entries& entries, DocumentListEntry added) {
    const auto position = sortedPosition(entries, added);
    entries.insert(position, std::move(added));
}

}  // namespace rova
