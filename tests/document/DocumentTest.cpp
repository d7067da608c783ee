#include <QDir>
#include <string>
#include <tuple>
#include <vector>

#include "CommandFile.h"
#include "Document.h"
#include "DocumentTestSupport.h"

namespace rova {
namespace {

using test::namesOf;
using test::readBytes;
using test::writeBytes;
using Names = std::vector<std::string>;
// Path, title and whether the document counts as modified.
using State = std::tuple<QString, QString, bool>;

std::unique_ptr<Command> namedCommand(const std::string& name) {
    auto command = std::make_unique<Command>();
    command->setName(name, false);
    return command;
}

void writeSequence(const QString& path, const Names& names) {
    NodeList<Command> commands;
    for (const std::string& name : names) {
        commands.append(namedCommand(name));
    }
    test::RecordingPrompt prompt;
    ASSERT_EQ(writeCommands(commands, path, prompt), FileResult::Ok);
}

Names sequenceIn(const QString& path) {
    NodeList<Command> commands;
    test::RecordingPrompt prompt;
    EXPECT_EQ(readCommands(commands, 0, path, prompt), FileResult::Ok);
    return namesOf(commands);
}

// The windows around the document: records what the document asks of them.
class FakeHost : public DocumentHost {
  public:
    bool windowExists() const override { return window; }
    void stopSequenceAndKillPlayers() override { calls.append("stop"); }
    void sequenceReplaced(bool keepCurrentIndex) override {
        calls.append(keepCurrentIndex ? "replaced, index kept" : "replaced");
    }
    std::unique_ptr<Command> commandFromTextFile(const QString& path) override {
        calls.append("text " + path);
        return textReadable ? namedCommand("from text") : nullptr;
    }
    void commandAdded(int index) override { calls.append(QString("added %1").arg(index)); }
    void prepareForSave() override { calls.append("prepare"); }
    std::unique_ptr<Command> commandFromParameters() override {
        return namedCommand("from parameters");
    }
    void showSequencePane() override { calls.append("pane"); }
    void titleChanged() override { ++titleChanges; }
    std::optional<QString> chooseSavePath(const QString& proposed) override {
        proposedNames.append(proposed);
        return savePath;
    }
    void addRecentFile(const QString& path) override { recentFiles.append(path); }

    bool window = true;
    bool textReadable = true;
    std::optional<QString> savePath;
    QStringList calls;
    QStringList proposedNames;
    QStringList recentFiles;
    int titleChanges = 0;
};

class DocumentTest : public ::testing::Test {
  protected:
    // Writes a sequence file of the named commands and opens it.
    QString openSequence(const QString& name, const Names& names) {
        const QString path = folder_.path(name);
        writeSequence(path, names);
        EXPECT_EQ(document_.openFile(path), Document::OpenResult::Opened);
        return path;
    }
    // Changes the sequence as the sequence form would.
    void edit() {
        document_.commands().append(namedCommand("edit"));
        document_.setModifiedFlag(true);
    }
    Names names() const { return namesOf(document_.commands()); }
    State state() const {
        return {document_.pathName(), document_.title(), document_.isModified()};
    }
    void expectEmptyUntitled() const {
        EXPECT_TRUE(document_.commands().empty());
        EXPECT_EQ(state(), (State{"", "Untitled", false}));
        EXPECT_FALSE(document_.isDemo());
    }
    // The one question asked since the last call.
    void expectQuestion(const QString& message, Choices choices) {
        ASSERT_EQ(prompt_.questions.size(), 1u);
        EXPECT_EQ(prompt_.questions[0].message, message);
        EXPECT_EQ(prompt_.questions[0].choices, choices);
        prompt_.questions.clear();
    }

    test::TempFolder folder_;
    test::AnsweringPrompt prompt_;
    FakeHost host_;
    Document document_{prompt_, host_};
};

// Files that are no sequence, or text the host cannot read, fail silently; damaged or missing
// sequence files are reported. Either way the document is left empty and untitled, and the
// sequence form is told to show the empty list.
TEST_F(DocumentTest, FilesThatCannotBeOpenedLeaveAnEmptyUntitled) {
    ASSERT_TRUE(QDir(folder_.root()).mkdir("folder.rova"));
    const struct {
        const char* name;
        QByteArray bytes;  // null: no such file
        bool window, textReadable;
        const char* message;  // empty: none
    } cases[] = {
        {"picture.bmp", "ROVA", true, true, ""},
        {"README", "ROVA", true, true, ""},
        {"folder.rova/plain", "ROVA", true, true, ""},
        {"unreadable.txt", "ROVA", true, false, ""},  // the host cannot make a command of it
        // Text named on the command line, before the window exists.
        {"start.txt", "ROVA", false, true, ""},
        {"damaged.rova", "ROVX" + QByteArray(300, '\0'), true, true,
         "\"%1\" is not a valid Rova file."},
        {"missing.rova", QByteArray(), true, true, "\"%1\" could not be opened."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        openSequence("a.rova", {"one"});
        const QString path = folder_.path(c.name);
        if (!c.bytes.isNull()) {
            writeBytes(path, c.bytes);
        }
        host_.window = c.window;
        host_.textReadable = c.textReadable;
        host_.calls.clear();
        prompt_.messages.clear();
        EXPECT_EQ(document_.openFile(path), Document::OpenResult::Failed);
        expectEmptyUntitled();
        EXPECT_EQ(host_.calls.contains("text " + path), !c.textReadable);
        EXPECT_EQ(host_.calls.contains("stop"), c.window);
        EXPECT_TRUE(host_.calls.contains("replaced"));
        EXPECT_EQ(prompt_.messages.join(""), *c.message ? QString(c.message).arg(path) : "");
        host_.window = true;
    }
}

TEST_F(DocumentTest, OpensASequenceFileWhateverTheCaseOfItsExtensionButNotTheOpenPathAgain) {
    const QString path = openSequence("Show.ROVA", {"one", "two"});
    EXPECT_EQ(names(), (Names{"one", "two"}));
    EXPECT_EQ(state(), (State{path, "Show.ROVA", false}));
    EXPECT_EQ(host_.recentFiles, QStringList{path});
    EXPECT_EQ(host_.calls, (QStringList{"stop", "replaced"}));
    EXPECT_TRUE(prompt_.messages.isEmpty());

    document_.setModifiedFlag(true);
    writeSequence(path, {"changed on disk"});
    EXPECT_EQ(document_.openFile(path), Document::OpenResult::AlreadyOpen);
    // The same file named relative to the current folder is the open one too.
    const QString previousFolder = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(folder_.root()));
    EXPECT_EQ(document_.openFile("./Show.ROVA"), Document::OpenResult::AlreadyOpen);
    ASSERT_TRUE(QDir::setCurrent(previousFolder));
    EXPECT_EQ(names(), (Names{"one", "two"}));
    EXPECT_TRUE(document_.isModified());
    EXPECT_TRUE(prompt_.questions.empty());

    // Paths differing in case are different files.
    writeSequence(folder_.path("show.rova"), {"other"});
    prompt_.answers = {Answer::No};
    EXPECT_EQ(document_.openFile(folder_.path("show.rova")), Document::OpenResult::Opened);
    EXPECT_EQ(names(), Names{"other"});
}

TEST_F(DocumentTest, OpeningAnotherFileOffersToSaveTheChanges) {
    const QString first = openSequence("first.rova", {"one"});
    const QByteArray firstBytes = readBytes(first);
    const QString second = folder_.path("second.rova");
    writeSequence(second, {"two"});
    edit();

    prompt_.answers = {Answer::Cancel};
    EXPECT_EQ(document_.openFile(second), Document::OpenResult::Cancelled);
    expectQuestion("Save changes to " + first + "?", Choices::YesNoCancel);
    EXPECT_EQ(state(), (State{first, "first.rova *", true}));
    EXPECT_EQ(names(), (Names{"one", "edit"}));

    prompt_.answers = {Answer::No};
    EXPECT_EQ(document_.openFile(second), Document::OpenResult::Opened);
    EXPECT_EQ(readBytes(first), firstBytes);
    EXPECT_EQ(names(), Names{"two"});
    EXPECT_FALSE(document_.isModified());

    edit();
    prompt_.answers = {Answer::Yes};
    EXPECT_EQ(document_.openFile(first), Document::OpenResult::Opened);
    EXPECT_EQ(sequenceIn(second), (Names{"two", "edit"}));
    EXPECT_EQ(names(), Names{"one"});
    EXPECT_TRUE(host_.proposedNames.isEmpty());
}

TEST_F(DocumentTest, ReopenAndNewAskBeforeDiscardingTheChanges) {
    const QString path = openSequence("a.rova", {"one", "two"});
    host_.calls.clear();
    document_.confirmReopen();
    EXPECT_TRUE(prompt_.questions.empty());
    EXPECT_EQ(host_.calls, QStringList{"pane"});

    edit();
    host_.calls.clear();
    prompt_.answers = {Answer::No};
    document_.confirmReopen();
    expectQuestion(
        "Would you like to re-open \"" + path + "\", discarding the changes you've made?",
        Choices::YesNo);
    EXPECT_EQ(names(), (Names{"one", "two", "edit"}));
    EXPECT_TRUE(document_.isModified());
    EXPECT_EQ(host_.calls, QStringList{"pane"});

    host_.calls.clear();
    prompt_.answers = {Answer::Yes};
    document_.confirmReopen();
    EXPECT_EQ(names(), (Names{"one", "two"}));
    EXPECT_EQ(state(), (State{path, "a.rova", false}));
    EXPECT_EQ(host_.calls, (QStringList{"stop", "replaced, index kept", "pane"}));

    // Revert, when the file has gone, leaves the document empty and modified under its path;
    // the title is left alone.
    ASSERT_TRUE(QFile::remove(path));
    document_.revert();
    EXPECT_EQ(prompt_.messages, QStringList{"\"" + path + "\" could not be opened."});
    EXPECT_TRUE(document_.commands().empty());
    EXPECT_EQ(state(), (State{path, "a.rova", true}));

    // New offers to save the changes first; an empty document has no sequence to show.
    prompt_.answers = {Answer::Cancel};
    EXPECT_FALSE(document_.newDocument());
    EXPECT_EQ(document_.pathName(), path);
    host_.calls.clear();
    prompt_.answers = {Answer::No};
    EXPECT_TRUE(document_.newDocument());
    expectEmptyUntitled();
    EXPECT_EQ(host_.calls, (QStringList{"stop", "replaced"}));
    host_.calls.clear();
    document_.confirmReopen();
    EXPECT_TRUE(host_.calls.isEmpty());
}

TEST_F(DocumentTest, SavingAnEmptySequenceAsksForACommand) {
    host_.savePath = folder_.path("empty");
    const QString question =
        "The current document has no commands.  Would you like to create a command from the "
        "current parameters before saving?  (say \"yes\")";
    prompt_.answers = {Answer::Cancel};
    EXPECT_FALSE(document_.save());
    expectQuestion(question, Choices::YesNoCancel);
    EXPECT_TRUE(folder_.entries().isEmpty());
    expectEmptyUntitled();

    prompt_.answers = {Answer::No};
    EXPECT_TRUE(document_.save());
    const QString empty = folder_.path("empty.rova");
    EXPECT_EQ(readBytes(empty), QByteArray());
    EXPECT_EQ(state(), (State{empty, "empty.rova", false}));

    // Yes: the command is made from the parameters and saved with the sequence.
    host_.calls.clear();
    prompt_.answers = {Answer::Yes};
    EXPECT_TRUE(document_.save());
    EXPECT_EQ(sequenceIn(empty), Names{"from parameters"});
    EXPECT_EQ(names(), Names{"from parameters"});
    EXPECT_EQ(host_.calls, (QStringList{"prepare", "added 0"}));
    EXPECT_FALSE(document_.isModified());

    // Cancel keeps an existing file as it was.
    const QByteArray saved = readBytes(empty);
    document_.commands().clear();
    document_.setModifiedFlag(true);
    prompt_.answers = {Answer::Cancel};
    EXPECT_FALSE(document_.save());
    EXPECT_EQ(readBytes(empty), saved);
    EXPECT_TRUE(document_.isModified());
}

TEST_F(DocumentTest, TheDemoIsNeverModifiedUntilSavedUnderANameOfItsOwn) {
    openSequence("Demo.rova", {"one", "two"});
    edit();
    document_.markAsDemo();
    EXPECT_TRUE(document_.isDemo());
    EXPECT_EQ(state(), (State{"DemoVariation.rova", "Demo.rova", false}));
    document_.setModifiedFlag(true);
    EXPECT_EQ(state(), (State{"DemoVariation.rova", "Demo.rova", false}));
    EXPECT_FALSE(document_.canSave());
    EXPECT_FALSE(document_.canRevert());
    EXPECT_TRUE(document_.saveModified());
    EXPECT_TRUE(prompt_.questions.empty());

    // Saving asks for a name; saved under it, the sequence is the user's and changes count.
    host_.savePath = folder_.path("Mine");
    EXPECT_TRUE(document_.save());
    EXPECT_EQ(host_.proposedNames, QStringList{"DemoVariation.rova"});
    EXPECT_EQ(sequenceIn(folder_.path("Mine.rova")), (Names{"one", "two", "edit"}));
    EXPECT_FALSE(document_.isDemo());
    document_.setModifiedFlag(true);
    EXPECT_EQ(state(), (State{folder_.path("Mine.rova"), "Mine.rova *", true}));

    // New turns tracking back on too.
    document_.markAsDemo();
    EXPECT_TRUE(document_.newDocument());
    expectEmptyUntitled();
}

// Which failures keep the old file the file tests check; here the document keeps its state.
TEST_F(DocumentTest, AFailedSaveKeepsTheDocumentModifiedUnderItsPath) {
    const QString path = openSequence("a.rova", {"one", "two"});
    const int titleChanges = host_.titleChanges;
    document_.setModifiedFlag(true);
    document_.setModifiedFlag(true);
    EXPECT_EQ(host_.titleChanges, titleChanges + 1) << "the title is marked once";
    EXPECT_TRUE(document_.canRevert());
    writeBytes(folder_.path("blocker"), "a file, not a folder");
    const QString blocked = folder_.path("blocker/b.rova");
    host_.savePath = blocked;
    document_.commands().clear();  // the command made for an empty sequence keeps it modified
    prompt_.answers = {Answer::Yes};
    EXPECT_FALSE(document_.saveAs());
    EXPECT_EQ(prompt_.messages, QStringList{"\"" + blocked + "\" could not be created."});
    EXPECT_EQ(state(), (State{path, "a.rova *", true}));
    EXPECT_EQ(host_.recentFiles, QStringList{path});
}

TEST_F(DocumentTest, SaveModifiedSavesOnYesThroughSaveAsForAnUntitledDocument) {
    EXPECT_TRUE(document_.saveModified());
    EXPECT_TRUE(prompt_.questions.empty());

    edit();
    prompt_.answers = {Answer::Cancel};
    EXPECT_FALSE(document_.saveModified());
    expectQuestion("Save changes to Untitled?", Choices::YesNoCancel);
    prompt_.answers = {Answer::No};
    EXPECT_TRUE(document_.saveModified());
    EXPECT_TRUE(folder_.entries().isEmpty());
    EXPECT_TRUE(document_.isModified());

    // Cancelling Save As stops.
    prompt_.answers = {Answer::Yes};
    EXPECT_FALSE(document_.saveModified());
    EXPECT_EQ(host_.proposedNames, QStringList{"Untitled.rova"});

    host_.savePath = folder_.path("kept.rova");
    prompt_.answers = {Answer::Yes};
    EXPECT_TRUE(document_.saveModified());
    EXPECT_EQ(sequenceIn(folder_.path("kept.rova")), Names{"edit"});
    EXPECT_FALSE(document_.isModified());
    EXPECT_EQ(host_.recentFiles, QStringList{folder_.path("kept.rova")});
}

// The host makes the one command of a text file; saving it writes a sequence file beside it.
TEST_F(DocumentTest, ATextFileOpensAsOneCommandAndIsSavedAsASequenceFileOfItsOwn) {
    QString text;
    for (const QString name : {"notes.txt", "Letter.RTF"}) {
        text = folder_.path(name);
        writeBytes(text, "hello");
        host_.calls.clear();
        ASSERT_EQ(document_.openFile(text), Document::OpenResult::Opened);
        EXPECT_EQ(names(), Names{"from text"});
        EXPECT_EQ(host_.calls, (QStringList{"stop", "text " + text, "added 0", "replaced"}));
        EXPECT_EQ(state(), (State{text, name, false}));
    }
    document_.setModifiedFlag(true);
    const QString saved = folder_.path("Letter.rova");
    host_.savePath = folder_.path("Letter");
    EXPECT_TRUE(document_.save());
    EXPECT_EQ(host_.proposedNames, QStringList{saved});
    EXPECT_EQ(readBytes(text), "hello");
    EXPECT_EQ(sequenceIn(saved), Names{"from text"});
    EXPECT_EQ(state(), (State{saved, "Letter.rova", false}));

    // From now on Save writes the sequence file without asking.
    edit();
    EXPECT_TRUE(document_.save());
    EXPECT_EQ(host_.proposedNames.size(), 1);
    EXPECT_EQ(sequenceIn(saved), (Names{"from text", "edit"}));
    EXPECT_EQ(document_.title(), "Letter.rova") << "saving clears the modified marker";

    // A chosen name keeps an extension of its own.
    host_.savePath = folder_.path("Upper.ROVA");
    EXPECT_TRUE(document_.saveAs());
    EXPECT_EQ(document_.pathName(), folder_.path("Upper.ROVA"));
    EXPECT_EQ(host_.proposedNames.last(), saved);
}

}  // namespace
}  // namespace rova
