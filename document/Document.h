#pragma once

#include <QString>
#include <memory>
#include <optional>

#include "Command.h"
#include "NodeList.h"
#include "UserPrompt.h"

namespace rova {

// What the document needs from the windows around it. The main window implements it; tests
// fake it. The notifications arrive also while no window exists; there is then nothing to show.
class DocumentHost {
  public:
    virtual ~DocumentHost() = default;
    virtual bool windowExists() const = 0;  // false while the application is starting
    // Stops the running sequence and kills all players, each with its death type.
    virtual void stopSequenceAndKillPlayers() = 0;
    // The sequence form re-reads the list. With `keepCurrentIndex` its current command keeps
    // its index where that still exists (clamped to the last command); otherwise it starts at
    // the top.
    virtual void sequenceReplaced(bool keepCurrentIndex) = 0;
    // A ".txt"/".rtf" file becomes one command: the parameter form shows the text with the
    // preset "Scrolling - very long text" and the command is made from it (null when the file
    // can't be read).
    virtual std::unique_ptr<Command> commandFromTextFile(const QString& path) = 0;
    // The command at `index` was added to the list: the sequence form shows and selects it.
    virtual void commandAdded(int index) = 0;
    // Takes over edits in progress and checks the sequence before it is saved.
    virtual void prepareForSave() = 0;
    // A command made from the current parameters; null when none can be made.
    virtual std::unique_ptr<Command> commandFromParameters() = 0;
    virtual void showSequencePane() = 0;
    virtual void titleChanged() = 0;  // the window title shows title() again
    // Save As: the user picks a ".rova" path, starting from `proposed`; nothing when cancelled.
    virtual std::optional<QString> chooseSavePath(const QString& proposed) = 0;
    virtual void addRecentFile(const QString& path) = 0;  // opened, or saved under a new name
};

// The application's single document: one sequence of commands, the path it is read from and
// saved to, its title and its modified state. It serves every New and Open, and does what a
// document framework would around them: asks to save changes first, proposes names for Save
// As, keeps the title's " *" marker and feeds the recent-file list.
//
// Sequence files (".rova", in any case) are read and written whole; ".txt" and ".rtf" files
// become a sequence of one command made by the host. A failed open leaves an empty "Untitled"
// sequence; a failed save leaves the document as it was and the file on disk untouched.
//
// The demo document does not track modifications: it never counts as modified, so nothing asks
// to save it. Every New and Open, and saving it under a name of its own, turn tracking back on.
class Document {
  public:
    Document(QuestionPrompt& prompt, DocumentHost& host);

    NodeList<Command>& commands() { return commands_; }
    const NodeList<Command>& commands() const { return commands_; }
    const QString& pathName() const { return pathName_; }
    const QString& title() const { return title_; }
    bool isModified() const { return modified_; }
    // Stores the flag and updates the title; ignored while modifications are not tracked.
    void setModifiedFlag(bool modified);
    bool isDemo() const { return !trackingModifications_; }

    // -------- the commands of the File menu --------

    // File New: asks to save a modified document first; false on Cancel.
    bool newDocument();

    enum class OpenResult { Opened, AlreadyOpen, Failed, Cancelled };
    // Opens a file for the user. The path of the open document (compared exactly, after making
    // it absolute) gives AlreadyOpen without reading. Otherwise a modified document is offered
    // for saving first (Cancel gives Cancelled) before the file is read; on success the path
    // and title (the file name) are set and the file goes into the recent files. A failed open
    // leaves an empty "Untitled" sequence.
    OpenResult openFile(const QString& path);
    // Saves to the path name when it is an absolute ".rova" path; otherwise Save As.
    bool save();
    // Asks for a ".rova" path (appended to a name without an extension) and saves there.
    bool saveAs();
    // "Save changes to %1?" for a modified document, Yes saving it; true means go on.
    bool saveModified();
    bool canSave() const;    // modified, or no commands
    bool canRevert() const;  // a path name, and modified
    // Reads the file again, without asking.
    void revert();
    // The application asked to open the path of this document again: a modified document may
    // go back to its file.
    void confirmReopen();
    void markAsDemo();

  private:
    // Empties the document: no commands, no path, title "Untitled", not modified.
    bool onNewDocument();
    // Replaces the sequence by the file's content. On failure the sequence is empty and the
    // document counts as modified (the title is left alone). On success the caller refreshes
    // the sequence form.
    bool onOpenDocument(const QString& path);
    // Writes the sequence to `path` and clears the modified flag. An empty sequence asks the
    // no-commands question first; Cancel fails without writing.
    bool onSaveDocument(const QString& path);
    // Adds the " *" marker to the title while modified and removes it otherwise.
    void updateTitle();
    bool readTextFile(const QString& path);
    bool settleEmptySequence();
    void appendCommand(std::unique_ptr<Command> command);
    bool hasSavablePath() const;
    QString proposedSaveName() const;
    QString unmarkedTitle() const;
    void setPathName(const QString& path);
    void setTitle(const QString& title);

    QuestionPrompt& prompt_;
    DocumentHost& host_;
    NodeList<Command> commands_;
    QString pathName_;
    QString title_;
    bool modified_ = false;
    bool trackingModifications_ = true;
};

}  // namespace rova
