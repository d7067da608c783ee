#include "DocumentList.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <algorithm>
#include <iterator>

#include "FilePaths.h"

namespace rova {

namespace {

// Whether the two paths name the same file: their absolute, clean forms match exactly, since the
// file system tells names apart by letter case. An empty path names no file.
bool sameFile(const QString& a, const QString& b) {
    return !a.isEmpty() && !b.isEmpty() && paths::qualify(a) == paths::qualify(b);
}

// Sends the file to the desktop's trash; where no trash can take it (none for its volume, or
// none can be made) the file is deleted outright. Failures are left alone.
void discardFile(const QString& path) {
    // The user's trash lives in the data folder, which a fresh account may not have yet.
    QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    if (!QFile::moveToTrash(path)) {
        QFile::remove(path);
    }
}

}  // namespace

DocumentList::DocumentList(DocumentListHost& host, AppFlags& flags, Clock& clock, Random random)
    : host_(host), flags_(flags), clock_(clock), random_(std::move(random)) {}

void DocumentList::beginOpen() {
    if (!flags_.has(AppFlag::AdditiveOpen)) {
        entries_.clear();
    }
}

void DocumentList::addPath(const QString& path) {
    insertPending({path, clock_.nowMs(), 0, false});
}

void DocumentList::insertPending(DocumentListEntry entry) {
    Entries single{std::move(entry)};
    insertByRule(pending_, single, single.begin());
}

bool DocumentList::endOpen() {
    if (pending_.empty()) {
        return false;
    }
    const bool wasEmpty = entries_.empty();
    const auto position = wasEmpty ? entries_.end() : std::next(latestAdded());
    entries_.splice(position, pending_);
    if (flags_.has(AppFlag::AdditiveOpen) && !wasEmpty) {
        return false;
    }
    return openHead();
}

bool DocumentList::openHead() {
    if (entries_.empty() || sameFile(entries_.front().path, host_.openDocumentPath())) {
        return false;
    }
    currentFromList_ = true;
    return host_.openFromList(entries_.front().path);
}

void DocumentList::reshuffle() {
    Entries taken;
    taken.swap(entries_);
    while (!taken.empty()) {
        insertByRule(entries_, taken, taken.begin());
    }
}

bool DocumentList::next(bool fromRun) {
    if (entries_.size() <= 1) {
        return !entries_.empty() && !currentFromList_ && openHead();
    }
    if (fromRun && flags_.has(AppFlag::RandomOrder) && latestAdded() == entries_.begin()) {
        // The newest entry has come round again: a new random order starts, with another head.
        if (entries_.front().singlePlay) {
            entries_.pop_front();
            reshuffle();
        } else {
            const DocumentListEntry* played = &entries_.front();
            do {
                reshuffle();
            } while (&entries_.front() == played);
        }
        return openHead();
    }
    if (entries_.front().singlePlay) {
        entries_.pop_front();
    } else {
        entries_.splice(entries_.end(), entries_, entries_.begin());
    }
    return openHead();
}

bool DocumentList::previous() {
    if (entries_.empty()) {
        return false;
    }
    entries_.splice(entries_.begin(), entries_, std::prev(entries_.end()));
    return openHead();
}

void DocumentList::toggleSinglePlay() {
    if (!entries_.empty()) {
        entries_.front().singlePlay = !entries_.front().singlePlay;
    }
}

bool DocumentList::remove() {
    if (entries_.size() <= 1) {
        removeAll();
        return false;
    }
    entries_.pop_front();
    return openHead();
}

bool DocumentList::deleteOpenFile() {
    if (!entries_.empty()) {
        discardFile(entries_.front().path);
    }
    return remove();
}

void DocumentList::removeAll() {
    if (currentFromList_) {
        host_.newDocumentFromList();
        currentFromList_ = false;
    }
    entries_.clear();
}

void DocumentList::clearForNew() {
    entries_.clear();
    currentFromList_ = false;
}

void DocumentList::mergePickedUp(std::vector<DocumentListEntry> pickedUp) {
    auto position = entries_.begin();
    if (currentFromList_ && position != entries_.end()) {
        ++position;
    }
    while (position != entries_.end() && position->orderKey != 0) {
        ++position;
    }
    entries_.insert(position, std::make_move_iterator(pickedUp.begin()),
                    std::make_move_iterator(pickedUp.end()));
}

const DocumentListEntry* DocumentList::head() const {
    return entries_.empty() ? nullptr : &entries_.front();
}

bool DocumentList::canNavigate() const {
    return entries_.size() > 1 || (entries_.size() == 1 && !currentFromList_);
}

bool DocumentList::headIsSinglePlay() const {
    return !entries_.empty() && entries_.front().singlePlay;
}

int DocumentList::currentPosition() const {
    if (!currentFromList_ || entries_.empty()) {
        return 0;
    }
    const auto first = std::distance(entries_.begin(), earliestAdded());
    return first > 0 ? count() - static_cast<int>(first) + 1 : 1;
}

void DocumentList::insertByRule(Entries& target, Entries& source, Entries::iterator node) {
    Entries::iterator position;
    if (flags_.has(AppFlag::RandomOrder)) {
        position = std::next(target.begin(), random_() % (target.size() + 1));
    } else {
        position = sortedPosition(target, *node);
    }
    target.splice(position, source, node);
}

DocumentList::Entries::const_iterator DocumentList::latestAdded() const {
    const std::uint32_t now = clock_.nowMs();
    return std::min_element(entries_.begin(), entries_.end(), [now](const auto& a, const auto& b) {
        return now - a.timeAdded < now - b.timeAdded;
    });
}

DocumentList::Entries::const_iterator DocumentList::earliestAdded() const {
    const std::uint32_t now = clock_.nowMs();
    return std::min_element(entries_.begin(), entries_.end(), [now](const auto& a, const auto& b) {
        return now - a.timeAdded > now - b.timeAdded;
    });
}

}  // namespace rova
