#include "SequenceFormText.h"

namespace rova {

QString SequenceFormText::backupFailed() {
    return tr("There is not enough memory to allocate a backup copy of this command.");
}

QString SequenceFormText::saveFailed() {
    return tr("There is not enough memory to save changes made to this command.");
}

QString SequenceFormText::createFailed() {
    return tr("There is not enough memory to create a new command.");
}

QString SequenceFormText::insertTitle() {
    return tr("Insert Commands from File");
}

QString SequenceFormText::sequenceFilter() {
    return tr("Rova Files (*.rova)|*.rova|");
}

}  // namespace rova
