#include "Document.h"

#include "CommandFile.h"
#include "DocumentMessages.h"
#include "FilePaths.h"
#include "FilePromptRules.h"

namespace rova {

namespace {

const QString kSequenceExtension = QStringLiteral(".rova");
const QString kModifiedMarker = QStringLiteral(" *");

// The extension of the file name: a dot in a folder's name does not count.
QString extensionOf(const QString& path) {
    return paths::extension(paths::fileName(path));
}

bool isSequenceFile(const QString& path) {
    return extensionOf(path).compare(kSequenceExtension, Qt::CaseInsensitive) == 0;
}

bool isTextFile(const QString& path) {
    const QString extension = extensionOf(path);
    return extension.compare(u".txt", Qt::CaseInsensitive) == 0 ||
           extension.compare(u".rtf", Qt::CaseInsensitive) == 0;
}

}  // namespace

Document::Document(QuestionPrompt& prompt, DocumentHost& host)
    : prompt_(prompt), host_(host), title_(DocumentMessages::untitled()) {}

void Document::setModifiedFlag(bool modified) {
    if (!trackingModifications_) {
        return;
    }
    modified_ = modified;
    updateTitle();
}

bool Document::newDocument() {
    if (!saveModified()) {
        return false;
    }
    onNewDocument();
    host_.sequenceReplaced(false);
    return true;
}

Document::OpenResult Document::openFile(const QString& path) {
    const QString fullPath = paths::qualify(path);
    if (!pathName_.isEmpty() && fullPath == pathName_) {
        return OpenResult::AlreadyOpen;
    }
    if (!saveModified()) {
        return OpenResult::Cancelled;
    }
    modified_ = false;  // the changes were saved or given up
    if (!onOpenDocument(fullPath)) {
        // The old sequence is gone with the failed read: start afresh.
        onNewDocument();
        return OpenResult::Failed;
    }
    setPathName(fullPath);
    host_.sequenceReplaced(false);
    return OpenResult::Opened;
}

bool Document::save() {
    // Only a sequence file is written over: a text file keeps its text, and the demo's name is
    // no file at all.
    return hasSavablePath() ? onSaveDocument(pathName_) : saveAs();
}

bool Document::saveAs() {
    const std::optional<QString> chosen = host_.chooseSavePath(proposedSaveName());
    if (!chosen) {
        return false;
    }
    const QString path = withDefaultExtension(*chosen, kSequenceExtension).value_or(*chosen);
    if (!onSaveDocument(path)) {
        return false;
    }
    setPathName(path);
    // A demo saved under a name of its own has become the user's sequence: its changes count.
    trackingModifications_ = true;
    return true;
}

bool Document::saveModified() {
    if (!isModified()) {
        return true;
    }
    const QString name = pathName_.isEmpty() ? unmarkedTitle() : pathName_;
    switch (prompt_.ask(DocumentMessages::saveChangesQuestion(name), Choices::YesNoCancel)) {
        case Answer::Yes:
            return save();
        case Answer::No:
            return true;
        default:
            return false;
    }
}

bool Document::canSave() const {
    return isModified() || commands_.empty();
}

bool Document::canRevert() const {
    return !pathName_.isEmpty() && isModified();
}

void Document::revert() {
    if (!onOpenDocument(pathName_)) {
        return;
    }
    host_.sequenceReplaced(true);
    setModifiedFlag(false);
    host_.showSequencePane();
}

void Document::confirmReopen() {
    if (isModified() &&
        prompt_.ask(DocumentMessages::reopenQuestion(pathName_), Choices::YesNo) == Answer::Yes) {
        revert();
        return;
    }
    if (!commands_.empty()) {
        host_.showSequencePane();
    }
}

void Document::markAsDemo() {
    // Whatever state the document had, the demo never counts as modified.
    modified_ = false;
    updateTitle();
    trackingModifications_ = false;
    pathName_ = DocumentMessages::demoPathName();
}

bool Document::onNewDocument() {
    pathName_.clear();
    modified_ = false;
    setTitle(DocumentMessages::untitled());
    if (host_.windowExists()) {
        host_.stopSequenceAndKillPlayers();
    }
    commands_.clear();
    trackingModifications_ = true;
    return true;
}

bool Document::onOpenDocument(const QString& path) {
    if (host_.windowExists()) {
        host_.stopSequenceAndKillPlayers();
    }
    commands_.clear();
    trackingModifications_ = true;

    bool opened = false;
    if (isSequenceFile(path)) {
        opened = replaceFromFile(commands_, path, prompt_) == FileResult::Ok;
    } else if (isTextFile(path) && host_.windowExists()) {
        // Before the window exists there is no parameter form to make the command with.
        opened = readTextFile(path);
    }
    if (opened) {
        return true;
    }
    // A reader may have kept the commands before its failure: none of them stays.
    commands_.clear();
    host_.sequenceReplaced(false);
    modified_ = true;
    return false;
}

bool Document::onSaveDocument(const QString& path) {
    host_.prepareForSave();
    if (commands_.empty() && !settleEmptySequence()) {
        return false;
    }
    if (writeCommands(commands_, path, prompt_) != FileResult::Ok) {
        return false;
    }
    setModifiedFlag(false);
    return true;
}

void Document::updateTitle() {
    const QString unmarked = unmarkedTitle();
    setTitle(modified_ ? unmarked + kModifiedMarker : unmarked);
}

bool Document::readTextFile(const QString& path) {
    std::unique_ptr<Command> command = host_.commandFromTextFile(path);
    if (!command) {
        return false;
    }
    appendCommand(std::move(command));
    return true;
}

// Asks whether an empty sequence gets a command before it is saved; false when the save is
// to stop.
bool Document::settleEmptySequence() {
    switch (prompt_.ask(DocumentMessages::noCommandsQuestion(), Choices::YesNoCancel)) {
        case Answer::Yes: {
            std::unique_ptr<Command> command = host_.commandFromParameters();
            if (!command) {
                return false;
            }
            appendCommand(std::move(command));
            setModifiedFlag(true);
            return true;
        }
        case Answer::No:
            return true;
        default:
            return false;
    }
}

void Document::appendCommand(std::unique_ptr<Command> command) {
    commands_.append(std::move(command));
    host_.commandAdded(static_cast<int>(commands_.size() - 1));
}

bool Document::hasSavablePath() const {
    return paths::rootLength(pathName_) > 0 && isSequenceFile(pathName_);
}

// The path name with a sequence file's extension, or for an untitled document its title.
QString Document::proposedSaveName() const {
    if (pathName_.isEmpty()) {
        return unmarkedTitle() + kSequenceExtension;
    }
    return pathName_.chopped(extensionOf(pathName_).size()) + kSequenceExtension;
}

QString Document::unmarkedTitle() const {
    return title_.endsWith(kModifiedMarker) ? title_.chopped(kModifiedMarker.size()) : title_;
}

void Document::setPathName(const QString& path) {
    pathName_ = path;
    setTitle(paths::fileName(path));
    host_.addRecentFile(path);
}

void Document::setTitle(const QString& title) {
    if (title == title_) {
        return;
    }
    title_ = title;
    host_.titleChanged();
}

}  // namespace rova
