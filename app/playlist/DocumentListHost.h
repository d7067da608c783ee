#pragma once

#include <QString>

namespace rova {

// What the playlist needs from the application that shows its documents.
class DocumentListHost {
  public:
    virtual ~DocumentListHost() = default;
    // Opens the file as the document on behalf of the list (with OpeningFromList set, so AutoRun
    // can start it) and lets the document confirm the re-open. True when a document came back.
    virtual bool openFromList(const QString& path) = 0;
    // The open document's path; empty when it has none.
    virtual QString openDocumentPath() const = 0;
    // Replaces the document by a new empty one on behalf of the list; the user may be asked to
    // save the old one first.
    virtual void newDocumentFromList() = 0;
};

}  // namespace rova
