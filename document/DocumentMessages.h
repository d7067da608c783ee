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
};

}  // namespace rova
