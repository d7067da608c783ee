#pragma once

#include <QCoreApplication>
#include <QString>

#include "FileResult.h"

namespace rova {

// Every message the document layer shows, in one place. "%1" becomes the path exactly as the
// caller gave it.
class DocumentMessages {
    Q_DECLARE_TR_FUNCTIONS(DocumentMessages)

  public:
    // The message for a failed read of a whole sequence file; empty for Ok.
    static QString readFailure(FileResult result, const QString& path);
    // The message for a failed save of a whole sequence file; empty for Ok.
    static QString writeFailure(FileResult result, const QString& path);

    // The title of a document that has no file.
    static QString untitled();
    // The path name the demo sequence takes: it is no file to save to, so saving it asks for a
    // name and proposes this one.
    static QString demoPathName();
    // Asked before a modified document is replaced or closed; `name` is its path name, or its
    // title when it has none.
    static QString saveChangesQuestion(const QString& name);
    // Asked before an empty sequence is saved.
    static QString noCommandsQuestion();
    // Asked when the open, modified document is opened again.
    static QString reopenQuestion(const QString& path);
};

}  // namespace rova
