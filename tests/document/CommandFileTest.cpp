#include <signal.h>
#include <sys/resource.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "CommandFile.h"
#include "DocumentTestSupport.h"

namespace rova {
namespace {

using test::readBytes;
using test::RecordingPrompt;
using test::TempFolder;
using test::writeBytes;

void appendLe(QByteArray& bytes, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i) {
        bytes.append(static_cast<char>(value >> (8 * i)));
    }
}

// A record put together byte by byte, for layouts the writer never produces.
struct RawRecord {
    QByteArray magic = "ROVA";
    std::uint32_t headerLength = 192;
    std::uint32_t nameBlock = 4;
    std::uint32_t nameFollows = 1;
    std::uint32_t contentBlock = 0;
    QByteArray contentKind = "NONE";
    QByteArray keyword = "SOLO";
    PlayerParameters parameters;
    QByteArray name = QByteArray(4, '\0');  // the whole name block
    QByteArray content;                     // the whole content block

    QByteArray bytes() const {
        QByteArray header = magic;
        appendLe(header, headerLength, 4);
        appendLe(header, nameBlock, 2);
        appendLe(header, nameFollows, 2);
        appendLe(header, contentBlock, 4);
        header += contentKind;
        header += keyword;
        const auto record = parameters.toBytes();
        header.append(reinterpret_cast<const char*>(record.data()), record.size());
        return header.left(std::min<std::uint32_t>(headerLength, 192)) + name + content;
    }
};

// A record of the given name block text (padded with NULs to `block` bytes).
RawRecord namedRecord(const char* name, std::uint32_t block) {
    RawRecord record;
    record.nameBlock = block;
    record.name = QByteArray(name);
    record.name.resize(block, '\0');
    return record;
}

std::vector<std::uint8_t> bufferOf(std::string_view bytes) {
    return {bytes.begin(), bytes.end()};
}

std::string textOf(const std::vector<std::uint8_t>& buffer) {
    return std::string(reinterpret_cast<const char*>(buffer.data()), buffer.size());
}

std::unique_ptr<Command> textCommand(const std::string& plain, Keyword keyword = Keyword::Solo) {
    auto command = std::make_unique<Command>();
    command->setKeyword(keyword);
    command->assignContent(content_kind::Rich, bufferOf(plain + '\0' + "{\\rtf1 " + plain + "}"));
    return command;
}

std::vector<std::string> namesOf(const NodeList<Command>& list) {
    std::vector<std::string> names;
    for (const Command& command : list) {
        names.push_back(command.name());
    }
    return names;
}

class CommandFileTest : public ::testing::Test {
  protected:
    // Reads `bytes` as a sequence file into a fresh list.
    FileResult readRaw(const QByteArray& bytes) {
        writeBytes(path_, bytes);
        list_.clear();
        return readCommands(list_, 0, path_, prompt_);
    }
    FileResult save(const NodeList<Command>& list) { return writeCommands(list, path_, prompt_); }
    FileResult load() {
        list_.clear();
        return readCommands(list_, 0, path_, prompt_);
    }
    QString message(const char* text) const { return QString(text).arg(path_); }

    TempFolder folder_;
    QString path_ = folder_.path("sequence.rova");
    RecordingPrompt prompt_;
    NodeList<Command> list_;
};

TEST_F(CommandFileTest, AnEmptySequenceIsAnEmptyFile) {
    ASSERT_EQ(save(NodeList<Command>{}), FileResult::Ok);
    EXPECT_EQ(QFileInfo(path_).size(), 0);

    std::size_t count = 99;
    EXPECT_EQ(readCommands(list_, 0, path_, prompt_, &count), FileResult::Ok);
    EXPECT_EQ(count, 0u);
    EXPECT_TRUE(list_.empty());
    EXPECT_TRUE(prompt_.messages.isEmpty());
}

TEST_F(CommandFileTest, WritesTheRecordLayoutByteForByte) {
    NodeList<Command> list;
    Command& command = list.append(std::make_unique<Command>());
    command.setKeyword(Keyword::New);
    command.parameters().origin = 45.0;
    command.parameters().deathType = 2;
    command.parameters().playerFlags = PlayerFlags::Flip;
    command.assignContent(content_kind::Rich, bufferOf("hello"));
    command.setName("abc", false);
    ASSERT_EQ(save(list), FileResult::Ok);

    RawRecord expected = namedRecord("abc", 4);
    expected.nameFollows = 0;
    expected.contentBlock = 8;
    expected.contentKind = "RICH";
    expected.keyword = "NEW ";
    expected.parameters = command.parameters();
    expected.content = QByteArray("hello\0\0\0", 8);
    EXPECT_EQ(readBytes(path_), expected.bytes());
}

TEST_F(CommandFileTest, RoundTripsEveryStoredField) {
    NodeList<Command> list;
    list.append(textCommand("First"));
    Command& change = list.append(textCommand("Second", Keyword::Change));
    change.parameters().width = -120.5;
    change.parameters().heightAdjustment = -3;
    change.setName("Typed name", false);
    Command& repeat = list.append(std::make_unique<Command>());
    repeat.setKeyword(Keyword::Repeat);
    repeat.parameters().deathAfter = 4.0;
    Command& odd = list.append(std::make_unique<Command>());
    odd.restoreKeyword(CommandKeyword(FourCC("ABCD")));
    odd.restoreContent(FourCC("XYZW"), bufferOf("kept as is"));
    odd.packedContent().allocate(4, 16);
    odd.setRepeatCounter(9);
    ASSERT_EQ(save(list), FileResult::Ok);

    ASSERT_EQ(load(), FileResult::Ok);
    ASSERT_EQ(list_.size(), list.size());
    for (std::size_t i = 0; i < list.size(); ++i) {
        SCOPED_TRACE(i);
        const Command& written = *list.at(i);
        const Command& read = *list_.at(i);
        EXPECT_EQ(read.keyword(), written.keyword());
        EXPECT_EQ(read.parameters().toBytes(), written.parameters().toBytes());
        EXPECT_EQ(read.name(), written.name());
        EXPECT_EQ(read.nameFollowsContent(), written.nameFollowsContent());
        EXPECT_EQ(read.contentKind(), written.contentKind());
        // Contents come back padded to a multiple of 4 with zeros.
        std::string content = textOf(written.content());
        content.resize((content.size() + 3) / 4 * 4, '\0');
        EXPECT_EQ(textOf(read.content()), content);
        EXPECT_TRUE(read.packedContent().empty());
        EXPECT_EQ(read.repeatCounter(), 0u);
    }
    EXPECT_TRUE(prompt_.messages.isEmpty());
}

TEST_F(CommandFileTest, NameBlocksHoldTheNameAndANulInStepsOfFour) {
    const std::string longName(300, 'n');
    // Names are UTF-8: a cut at 255 bytes moves back to the start of a split character.
    const std::string accented = std::string(254, 'a') + "\xC3\xA9";
    struct Case {
        std::string name;
        std::uint16_t block;
        std::string readBack;
    };
    const std::vector<Case> cases = {
        {"", 4, ""},
        {"abc", 4, "abc"},
        {"abcd", 8, "abcd"},
        {std::string(255, 'x'), 256, std::string(255, 'x')},
        {longName, 256, longName.substr(0, 255)},
        {accented, 256, accented.substr(0, 254)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name.size());
        NodeList<Command> list;
        list.append(std::make_unique<Command>()).setName(c.name, false);
        ASSERT_EQ(save(list), FileResult::Ok);
        const QByteArray bytes = readBytes(path_);
        ASSERT_EQ(bytes.size(), 192 + c.block);
        EXPECT_EQ(static_cast<std::uint8_t>(bytes[8]) | static_cast<std::uint8_t>(bytes[9]) << 8,
                  c.block);
        EXPECT_EQ(bytes.back(), '\0');
        ASSERT_EQ(load(), FileResult::Ok);
        EXPECT_EQ(list_.at(0)->name(), c.readBack);
    }
}

TEST_F(CommandFileTest, ContentIsPaddedToAMultipleOfFour) {
    NodeList<Command> list;
    list.append(std::make_unique<Command>())
        .assignContent(content_kind::Rich, bufferOf(std::string("ab\0cd", 5)));
    ASSERT_EQ(save(list), FileResult::Ok);
    const QByteArray bytes = readBytes(path_);
    ASSERT_EQ(bytes.size(), 192 + 4 + 8);
    EXPECT_EQ(bytes[12], 8);
    EXPECT_EQ(bytes.right(8), QByteArray("ab\0cd\0\0\0", 8));

    ASSERT_EQ(load(), FileResult::Ok);
    EXPECT_EQ(list_.at(0)->content().size(), 8u);
    EXPECT_EQ(list_.at(0)->name(), "ab");
}

TEST_F(CommandFileTest, OldKeywordsReadAsTodaysOnes) {
    RawRecord newx;
    newx.keyword = "NEWX";
    RawRecord updt;
    updt.keyword = "UPDT";
    RawRecord solo;
    RawRecord unknown;
    unknown.keyword = "QQQQ";
    ASSERT_EQ(readRaw(newx.bytes() + updt.bytes() + solo.bytes() + unknown.bytes()),
              FileResult::Ok);
    ASSERT_EQ(list_.size(), 4u);
    EXPECT_EQ(list_.at(0)->keyword(), Keyword::Solo);
    EXPECT_EQ(list_.at(1)->keyword(), Keyword::Change);
    EXPECT_EQ(list_.at(2)->keyword(), Keyword::Solo);
    EXPECT_EQ(list_.at(3)->keyword(), CommandKeyword(FourCC("QQQQ")));
}

TEST_F(CommandFileTest, ADamagedSecondRecordEndsTheFileQuietly) {
    RawRecord first = namedRecord("one", 4);
    RawRecord second = namedRecord("two", 4);
    second.magic = "ROVB";
    RawRecord third = namedRecord("three", 8);
    std::size_t count = 0;
    writeBytes(path_, first.bytes() + second.bytes() + third.bytes());
    EXPECT_EQ(readCommands(list_, 0, path_, prompt_, &count), FileResult::Ok);
    EXPECT_EQ(count, 1u);
    EXPECT_EQ(namesOf(list_), std::vector<std::string>{"one"});
    EXPECT_TRUE(prompt_.messages.isEmpty());

    EXPECT_EQ(readRaw(second.bytes() + first.bytes()), FileResult::BadFormat);
    EXPECT_TRUE(list_.empty());
    EXPECT_EQ(prompt_.messages, QStringList{message("\"%1\" is not a valid Rova file.")});
}

TEST_F(CommandFileTest, ACutOffThirdRecordLeavesTwoCommands) {
    NodeList<Command> list;
    list.append(textCommand("one"));
    list.append(textCommand("two"));
    list.append(textCommand(std::string(100, 'x')));
    ASSERT_EQ(save(list), FileResult::Ok);
    const QByteArray whole = readBytes(path_);

    EXPECT_EQ(readRaw(whole.left(whole.size() - 20)), FileResult::Ok);
    EXPECT_EQ(namesOf(list_), (std::vector<std::string>{"one", "two"}));
    EXPECT_TRUE(prompt_.messages.isEmpty());
}

TEST_F(CommandFileTest, AShortHeaderKeepsDefaultsForTheParametersItLacks) {
    PlayerParameters stored;
    stored.nextCommandAfter = 1.5;
    stored.width = 77.0;
    stored.widthAccel = 3.0;  // cut in half by the header's end
    stored.yShift = 9.0;      // beyond the header
    RawRecord shortRecord = namedRecord("short", 8);
    shortRecord.headerLength = 100;
    shortRecord.parameters = stored;
    RawRecord next = namedRecord("next", 8);

    ASSERT_EQ(readRaw(shortRecord.bytes() + next.bytes()), FileResult::Ok);
    ASSERT_EQ(namesOf(list_), (std::vector<std::string>{"short", "next"}));
    const auto read = list_.at(0)->parameters().toBytes();
    const auto written = stored.toBytes();
    const auto defaults = PlayerParameters{}.toBytes();
    EXPECT_TRUE(std::equal(read.begin(), read.begin() + 76, written.begin()));
    EXPECT_TRUE(std::equal(read.begin() + 76, read.end(), defaults.begin() + 76));
    EXPECT_EQ(list_.at(0)->parameters().width, 77.0);
    EXPECT_EQ(list_.at(0)->parameters().yShift, 0.0);
}

TEST_F(CommandFileTest, RejectsHeadersOutsideTheLimits) {
    struct Case {
        const char* what;
        RawRecord record;
    };
    std::vector<Case> cases;
    auto add = [&cases](const char* what, auto change) {
        RawRecord record;
        change(record);
        cases.push_back({what, record});
    };
    add("magic", [](RawRecord& r) { r.magic = "rova"; });
    add("header length 196", [](RawRecord& r) { r.headerLength = 196; });
    add("header length 98", [](RawRecord& r) { r.headerLength = 98; });
    add("header length 20", [](RawRecord& r) { r.headerLength = 20; });
    add("name block 260", [](RawRecord& r) {
        r.nameBlock = 260;
        r.name = QByteArray(260, '\0');
    });
    add("name block 2", [](RawRecord& r) { r.nameBlock = 2; });
    add("name block -4", [](RawRecord& r) { r.nameBlock = 0xFFFC; });
    add("content block 6", [](RawRecord& r) {
        r.contentBlock = 6;
        r.content = QByteArray(8, 'c');
    });
    add("content block over 1 MiB", [](RawRecord& r) {
        r.contentBlock = 1048576 + 4;
        r.content = QByteArray(1048576 + 4, 'c');
    });
    add("content block negative", [](RawRecord& r) { r.contentBlock = 0x80000000; });
    add("name block cut off", [](RawRecord& r) { r.name = "ab"; });
    add("content block cut off", [](RawRecord& r) {
        r.contentBlock = 16;
        r.content = QByteArray(12, 'c');
    });
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        prompt_.messages.clear();
        EXPECT_EQ(readRaw(c.record.bytes()), FileResult::BadFormat);
        EXPECT_TRUE(list_.empty());
        EXPECT_EQ(prompt_.messages, QStringList{message("\"%1\" is not a valid Rova file.")});
    }
}

TEST_F(CommandFileTest, RejectsFilesTooShortForAHeader) {
    EXPECT_EQ(readRaw(RawRecord{}.bytes().left(23)), FileResult::BadFormat);
    EXPECT_TRUE(list_.empty());

    // Near the end of a file fewer than 192 bytes arrive; a header claiming fewer bytes than
    // its own fixed fields must not be taken (a length of 0 would never move the reader on).
    for (std::uint32_t length : {0u, 8u, 20u}) {
        SCOPED_TRACE(length);
        RawRecord tail;
        tail.nameBlock = 0;
        tail.name.clear();
        QByteArray tailBytes = tail.bytes().left(24);
        tailBytes[4] = static_cast<char>(length);
        EXPECT_EQ(readRaw(tailBytes), FileResult::BadFormat);
        EXPECT_EQ(readRaw(namedRecord("good", 8).bytes() + tailBytes), FileResult::Ok);
        EXPECT_EQ(namesOf(list_), std::vector<std::string>{"good"});
    }
}

TEST_F(CommandFileTest, AcceptsContentOfExactlyOneMebibyte) {
    RawRecord record;
    record.contentBlock = 1048576;
    record.contentKind = "PICT";
    record.content = QByteArray(1048576, 'p');
    ASSERT_EQ(readRaw(record.bytes()), FileResult::Ok);
    ASSERT_EQ(list_.size(), 1u);
    EXPECT_EQ(list_.at(0)->content().size(), 1048576u);
    EXPECT_EQ(list_.at(0)->contentKind(), content_kind::Picture);
    EXPECT_EQ(list_.at(0)->content().data()[1048575], 'p');
}

TEST_F(CommandFileTest, ReadsNameBlocksByTheirRules) {
    RawRecord unterminated = namedRecord("abcd", 4);
    unterminated.nameFollows = 0;
    RawRecord empty;
    empty.nameBlock = 0;
    empty.name.clear();
    empty.nameFollows = 0;
    RawRecord flagged = namedRecord("x\0yz", 4);
    flagged.nameFollows = 0x100;  // any nonzero value counts
    ASSERT_EQ(readRaw(unterminated.bytes() + empty.bytes() + flagged.bytes()), FileResult::Ok);
    ASSERT_EQ(list_.size(), 3u);
    EXPECT_EQ(list_.at(0)->name(), "");
    EXPECT_TRUE(list_.at(0)->nameFollowsContent());
    EXPECT_EQ(list_.at(1)->name(), "");
    EXPECT_FALSE(list_.at(1)->nameFollowsContent());
    EXPECT_EQ(list_.at(2)->name(), "x");
    EXPECT_TRUE(list_.at(2)->nameFollowsContent());
}

TEST_F(CommandFileTest, AMissingFileLeavesTheListAlone) {
    list_.append(textCommand("kept"));
    const QString missing = folder_.path("missing.rova");
    std::size_t count = 7;
    EXPECT_EQ(readCommands(list_, 0, missing, prompt_, &count), FileResult::OpenFailed);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(namesOf(list_), std::vector<std::string>{"kept"});
    EXPECT_EQ(prompt_.messages, QStringList{QString("\"%1\" could not be opened.").arg(missing)});
}

TEST_F(CommandFileTest, InsertsAtTheIndexAndReplaces) {
    NodeList<Command> saved;
    saved.append(textCommand("x"));
    saved.append(textCommand("y"));
    saved.append(textCommand("z"));
    ASSERT_EQ(save(saved), FileResult::Ok);

    list_.append(textCommand("a"));
    list_.append(textCommand("b"));
    std::size_t count = 0;
    ASSERT_EQ(readCommands(list_, 1, path_, prompt_, &count), FileResult::Ok);
    EXPECT_EQ(count, 3u);
    EXPECT_EQ(namesOf(list_), (std::vector<std::string>{"a", "x", "y", "z", "b"}));

    ASSERT_EQ(replaceFromFile(list_, path_, prompt_), FileResult::Ok);
    EXPECT_EQ(namesOf(list_), (std::vector<std::string>{"x", "y", "z"}));

    ASSERT_EQ(replaceFromFile(list_, folder_.path("gone.rova"), prompt_), FileResult::OpenFailed);
    EXPECT_TRUE(list_.empty());
}

TEST_F(CommandFileTest, SavingCreatesMissingFolders) {
    const QString nested = folder_.path("a/b/c/nested.rova");
    NodeList<Command> list;
    list.append(textCommand("deep"));
    ASSERT_EQ(writeCommands(list, nested, prompt_), FileResult::Ok);
    ASSERT_EQ(readCommands(list_, 0, nested, prompt_), FileResult::Ok);
    EXPECT_EQ(namesOf(list_), std::vector<std::string>{"deep"});

    // A folder whose name looks like a pattern is still the folder itself.
    ASSERT_TRUE(QDir(folder_.root()).mkdir("[old] *"));
    ASSERT_EQ(writeCommands(list, folder_.path("[old] */seq.rova"), prompt_), FileResult::Ok);
    EXPECT_TRUE(prompt_.messages.isEmpty());
}

TEST_F(CommandFileTest, ASaveThatCannotCreateTheFileSaysSo) {
    writeBytes(folder_.path("plain"), "not a folder");
    const QString impossible = folder_.path("plain/sequence.rova");
    NodeList<Command> list;
    list.append(textCommand("x"));
    EXPECT_EQ(writeCommands(list, impossible, prompt_), FileResult::CreateFailed);
    EXPECT_EQ(prompt_.messages,
              QStringList{QString("\"%1\" could not be created.").arg(impossible)});
}

// A save replaces the old file whole and leaves nothing else behind.
TEST_F(CommandFileTest, ASuccessfulSaveReplacesTheOldFile) {
    NodeList<Command> before;
    before.append(textCommand(std::string(5000, 'o')));
    ASSERT_EQ(save(before), FileResult::Ok);
    NodeList<Command> after;
    after.append(textCommand("new"));
    ASSERT_EQ(save(after), FileResult::Ok);
    ASSERT_EQ(load(), FileResult::Ok);
    EXPECT_EQ(namesOf(list_), std::vector<std::string>{"new"});
    EXPECT_EQ(folder_.entries(), QStringList{"sequence.rova"});
}

class FailedSaveTest : public CommandFileTest {
  protected:
    void SetUp() override {
        NodeList<Command> original;
        original.append(textCommand("original"));
        ASSERT_EQ(save(original), FileResult::Ok);
        originalBytes_ = readBytes(path_);
    }
    void expectOriginalKept() {
        EXPECT_EQ(prompt_.messages, QStringList{message("\"%1\" could not be written.")});
        EXPECT_EQ(readBytes(path_), originalBytes_);
        EXPECT_EQ(folder_.entries(), QStringList{"sequence.rova"});
    }

    QByteArray originalBytes_;
};

TEST_F(FailedSaveTest, ContentOverTheReadersLimitFailsTheSave) {
    NodeList<Command> list;
    list.append(std::make_unique<Command>())
        .assignContent(content_kind::Picture, bufferOf(std::string(1048576, 'p')));
    list.append(std::make_unique<Command>())
        .assignContent(content_kind::Picture, bufferOf(std::string(1048577, 'p')));
    EXPECT_EQ(save(list), FileResult::WriteFailed);
    expectOriginalKept();

    // The largest content the reader takes is saved.
    list.detach(*list.at(1));
    prompt_.messages.clear();
    ASSERT_EQ(save(list), FileResult::Ok);
    ASSERT_EQ(load(), FileResult::Ok);
    EXPECT_EQ(list_.at(0)->content().size(), 1048576u);
}

TEST_F(FailedSaveTest, AWriteTheFileSystemRefusesKeepsTheOldFile) {
    NodeList<Command> list;
    for (int i = 0; i < 4; ++i) {
        list.append(textCommand(std::string(40000, static_cast<char>('a' + i))));
    }
    // Files may grow to 64 KiB only, so the save fails part way through.
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    struct sigaction previousAction {};
    ASSERT_EQ(sigaction(SIGXFSZ, &ignore, &previousAction), 0);
    rlimit previousLimit{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previousLimit), 0);
    rlimit small = previousLimit;
    small.rlim_cur = 64 * 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);

    const FileResult result = save(list);

    setrlimit(RLIMIT_FSIZE, &previousLimit);
    sigaction(SIGXFSZ, &previousAction, nullptr);
    EXPECT_EQ(result, FileResult::WriteFailed);
    expectOriginalKept();
}

}  // namespace
}  // namespace rova
