#pragma once

#include <QCoreApplication>
#include <QString>

namespace rova {

// The messages and file dialog texts of the sequence form, in one place.
class SequenceFormText {
    Q_DECLARE_TR_FUNCTIONS(SequenceFormText)

  public:
    static QString backupFailed();
    static QString saveFailed();
    static QString createFailed();
    static QString insertTitle();
    // The filter of the "Insert..." dialog, as "Name (*.x)|*.x|" pairs.
    static QString sequenceFilter();
};

}  // namespace rova
