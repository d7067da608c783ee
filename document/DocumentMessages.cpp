#include "DocumentMessages.h"

namespace rova {

QString DocumentMessages::readFailure(FileResult result, const QString& path) {
    switch (result) {
        case FileResult::Ok:
            return {};
        case FileResult::OutOfMemory:
            return tr("There is not enough memory to open \"%1\"").arg(path);
        case FileResult::OpenFailed:
            return tr("\"%1\" could not be opened.").arg(path);
        case FileResult::BadFormat:
            return tr("\"%1\" is not a valid Rova file.").arg(path);
        default:
            return tr("\"%1\" could not be read.").arg(path);
    }
}

QString DocumentMessages::writeFailure(FileResult result, const QString& path) {
    switch (result) {
        case FileResult::Ok:
            return {};
        case FileResult::CreateFailed:
            return tr("\"%1\" could not be created.").arg(path);
        default:
            return tr("\"%1\" could not be written.").arg(path);
    }
}

QString DocumentMessages::untitled() {
    return tr("Untitled");
}

QString DocumentMessages::demoPathName() {
    return tr("DemoVariation.rova");
}

QString DocumentMessages::saveChangesQuestion(const QString& name) {
    return tr("Save changes to %1?").arg(name);
}

QString DocumentMessages::noCommandsQuestion() {
    return tr(
        "The current document has no commands.  Would you like to create a command from "
        "the current parameters before saving?  (say \"yes\")");
}

QString DocumentMessages::reopenQuestion(const QString& path) {
    return tr("Would you like to re-open \"%1\", discarding the changes you've made?").arg(path);
}

}  // namespace rova
