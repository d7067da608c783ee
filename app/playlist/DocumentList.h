#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <list>
#include <vector>

#include "AppFlags.h"
#include "Clock.h"
#include "DocumentListEntry.h"
#include "DocumentListHost.h"

namespace rova {

// The playlist: a rotating list of files whose head is the document on screen. Files the user
// opens are gathered as pending entries and then merged; when a run ends the list advances, so
// its files play one after another for ever, sorted or in random order, and single-play entries
// leave after they have played.
class DocumentList {
  public:
    // A uniform random number, from a generator seeded once by the application.
    using Random = std::function<std::uint32_t()>;

    DocumentList(DocumentListHost& host, AppFlags& flags, Clock& clock, Random random);

    // Opening files: beginOpen(), addPath() for each file, then endOpen().
    void beginOpen();
    void addPath(const QString& path);
    // Queues an entry among the pending ones: at a random place with RandomOrder, else sorted.
    void insertPending(DocumentListEntry entry);
    // Merges the pending entries after the most recently added entry and opens the head, unless
    // AdditiveOpen queued them behind a list that was already playing. True when a document
    // opened.
    bool endOpen();
    // Opens the head, unless it is the open document already. True when a document opened.
    bool openHead();
    // Puts every entry back by the rule of insertPending.
    void reshuffle();

    // Advances the list: called with `fromRun` when a run has passed its last command, without it
    // by the Next command. True when a document opened.
    bool next(bool fromRun);
    // Moves the last entry to the head and opens it.
    bool previous();
    void toggleSinglePlay();
    // Drops the head and opens the next entry; with one entry left, clears the list.
    bool remove();
    // Discards the head's file (to the trash where there is one), then removes the entry.
    bool deleteOpenFile();
    // Clears the list, replacing a document that came from it by a new one.
    void removeAll();
    // What New does to the list: empties it; the new document is not from the list.
    void clearForNew();
    // Queues picked-up entries after the current document and after earlier picked-up entries
    // that have not played yet. Nothing opens.
    void mergePickedUp(std::vector<DocumentListEntry> pickedUp);

    bool isCurrentFromList() const { return currentFromList_; }
    void setCurrentFromList(bool fromList) { currentFromList_ = fromList; }
    int count() const { return static_cast<int>(entries_.size()); }
    const std::list<DocumentListEntry>& entries() const { return entries_; }
    // The first entry; null when the list is empty.
    const DocumentListEntry* head() const;

    // Whether Previous and Next can do anything: not on an empty list, nor on one entry that is
    // the open document.
    bool canNavigate() const;
    bool headIsSinglePlay() const;
    // The open document's place in the playing order, counted from the entry added first: 0 when
    // it is not from the list.
    int currentPosition() const;

  private:
    using Entries = std::list<DocumentListEntry>;

    // Moves `node` from `source` into `target` by the rule of insertPending. Splicing keeps the
    // entry's identity, which reshuffling relies on.
    void insertByRule(Entries& target, Entries& source, Entries::iterator node);
    // The entry added most recently, and the one added first (the first of equal times). Ages
    // are measured back from now, so the wrapping of the clock does not disturb them.
    Entries::const_iterator latestAdded() const;
    Entries::const_iterator earliestAdded() const;

    DocumentListHost& host_;
    AppFlags& flags_;
    Clock& clock_;
    Random random_;
    Entries entries_;
    Entries pending_;
    bool currentFromList_ = false;
};

}  // namespace rova
