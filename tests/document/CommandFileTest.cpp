#include <signal.h>
#include <sys/resource.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "CommandFile.h"
#include "DocumentTestSupport.h"
#include "TestCommands.h"

namespace rova {
namespace {

using test::namesOf;
using test::readBytes;
using test::writeBytes;
using Names = std::vector<std::string>;

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
        header += contentKind + keyword;
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

// A SOLO command whose name follows its text content.
std::unique_ptr<Command> textCommand(const std::string& text) {
    return test::textCommand(Keyword::Solo, text);
}

class CommandFileTest : public ::testing::Test {
  protected:
    // Reads `bytes` as a sequence file into a fresh list.
    FileResult readRaw(const QByteArray& bytes) {
        writeBytes(path_, bytes);
        return load();
    }
    FileResult save(const NodeList<Command>& list) { return writeCommands(list, path_, prompt_); }
    FileResult load() {
        list_.clear();
        return readCommands(list_, 0, path_, prompt_);
    }
    QString message(const char* text) const { return QString(text).arg(path_); }

    test::TempFolder folder_;
    QString path_ = folder_.path("sequence.rova");
    test::RecordingPrompt prompt_;
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
    Command& change = list.append(test::textCommand(Keyword::Change, "Second"));
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
        // Contents come back padded with zeros to a multiple of 4: 19, 21, 0 and 10 bytes.
        std::vector<std::uint8_t> content = written.content();
        content.resize(std::array<std::size_t, 4>{20, 24, 0, 12}[i], 0);
        EXPECT_EQ(read.content(), content);
        EXPECT_TRUE(read.packedContent().empty());
        EXPECT_EQ(read.repeatCounter(), 0u);
    }
    EXPECT_TRUE(prompt_.messages.isEmpty());
}

TEST_F(CommandFileTest, NameBlocksHoldTheNameAndANulInStepsOfFour) {
    const std::string longName(300, 'n');
    // Names are UTF-8: a cut at 255 bytes moves back to the start of a split character.
    const std::string accented = std::string(254, 'a') + "\xC3\xA9";
    const struct {
        std::string name;
        std::uint16_t block;
        std::string readBack;
    } cases[] = {
        {"", 4, ""},
        {"abc", 4, "abc"},
        {"abcd", 8, "abcd"},
        {std::string(255, 'x'), 256, std::string(255, 'x')},
        {longName, 256, longName.substr(0, 255)},
        {accented, 256, accented.substr(0, 254)},
    };
    for (const auto& c : cases) {
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

TEST_F(CommandFileTest, ReadsNameBlocksAndOldKeywordsByTheirRules) {
    RawRecord unterminated = namedRecord("abcd", 4);
    unterminated.nameFollows = 0;
    unterminated.keyword = "NEWX";
    RawRecord empty;
    empty.nameBlock = 0;
    empty.name.clear();
    empty.nameFollows = 0;
    empty.keyword = "UPDT";
    RawRecord flagged = namedRecord("x\0yz", 4);
    flagged.nameFollows = 0x100;  // any nonzero value counts
    flagged.keyword = "QQQQ";
    ASSERT_EQ(readRaw(unterminated.bytes() + empty.bytes() + flagged.bytes()), FileResult::Ok);
    ASSERT_EQ(list_.size(), 3u);
    EXPECT_EQ(list_.at(0)->name(), "");
    EXPECT_TRUE(list_.at(0)->nameFollowsContent());
    EXPECT_EQ(list_.at(1)->name(), "");
    EXPECT_FALSE(list_.at(1)->nameFollowsContent());
    EXPECT_EQ(list_.at(2)->name(), "x");
    EXPECT_TRUE(list_.at(2)->nameFollowsContent());
    // The old keywords read as today's ones; unknown ones are kept.
    EXPECT_EQ(list_.at(0)->keyword(), Keyword::Solo);
    EXPECT_EQ(list_.at(1)->keyword(), Keyword::Change);
    EXPECT_EQ(list_.at(2)->keyword(), CommandKeyword(FourCC("QQQQ")));
}

TEST_F(CommandFileTest, ABadTailAfterGoodRecordsEndsTheFileQuietly) {
    RawRecord first = namedRecord("one", 4);
    RawRecord damaged = namedRecord("two", 4);
    damaged.magic = "ROVB";
    NodeList<Command> list;
    list.append(textCommand("x"));
    list.append(textCommand(std::string(100, 'y')));
    ASSERT_EQ(save(list), FileResult::Ok);
    const QByteArray saved = readBytes(path_);
    const struct {
        const char* what;
        QByteArray bytes;
        Names names;
    } cases[] = {
        {"damaged second record", first.bytes() + damaged.bytes() + first.bytes(), {"one"}},
        {"cut-off second record", saved.left(saved.size() - 20), {"x"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        writeBytes(path_, c.bytes);
        std::size_t count = 0;
        list_.clear();
        EXPECT_EQ(readCommands(list_, 0, path_, prompt_, &count), FileResult::Ok);
        EXPECT_EQ(count, c.names.size());
        EXPECT_EQ(namesOf(list_), c.names);
        EXPECT_TRUE(prompt_.messages.isEmpty());
    }
    EXPECT_EQ(readRaw(damaged.bytes() + first.bytes()), FileResult::BadFormat);
    EXPECT_TRUE(list_.empty());
    EXPECT_EQ(prompt_.messages, QStringList{message("\"%1\" is not a valid Rova file.")});
}

TEST_F(CommandFileTest, AShortHeaderKeepsDefaultsForTheParametersItLacks) {
    PlayerParameters stored;
    stored.nextCommandAfter = 1.5;
    stored.width = 77.0;
    stored.widthAccel = 3.0;  // cut in half by a 100-byte header's end
    stored.yShift = 9.0;      // beyond it
    const auto written = stored.toBytes();
    const auto defaults = PlayerParameters{}.toBytes();
    const QByteArray next = namedRecord("next", 8).bytes();
    // A header of 24 bytes holds the fixed fields only; without a name it may end the file.
    const struct {
        std::uint32_t length;
        const char* name;
        std::uint32_t nameBlock;
    } cases[] = {{100, "short", 8}, {24, "", 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.length);
        RawRecord shortRecord = namedRecord(c.name, c.nameBlock);
        shortRecord.headerLength = c.length;
        shortRecord.parameters = stored;
        for (const bool first : {true, false}) {
            ASSERT_EQ(readRaw(first ? shortRecord.bytes() + next : next + shortRecord.bytes()),
                      FileResult::Ok);
            EXPECT_EQ(namesOf(list_), (first ? Names{c.name, "next"} : Names{"next", c.name}));
            ASSERT_EQ(list_.size(), 2u);
            const auto read = list_.at(first ? 0 : 1)->parameters().toBytes();
            const auto kept = static_cast<std::ptrdiff_t>(c.length - 24);
            EXPECT_TRUE(std::equal(read.begin(), read.begin() + kept, written.begin()));
            EXPECT_TRUE(std::equal(read.begin() + kept, read.end(), defaults.begin() + kept));
        }
    }
}

TEST_F(CommandFileTest, RejectsHeadersOutsideTheLimits) {
    std::vector<std::pair<const char*, RawRecord>> cases;
    auto add = [&cases](const char* what, auto change) {
        RawRecord record;
        change(record);
        cases.emplace_back(what, record);
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
    for (const auto& [what, record] : cases) {
        SCOPED_TRACE(what);
        prompt_.messages.clear();
        EXPECT_EQ(readRaw(record.bytes()), FileResult::BadFormat);
        EXPECT_TRUE(list_.empty());
        EXPECT_EQ(prompt_.messages, QStringList{message("\"%1\" is not a valid Rova file.")});
    }
}

TEST_F(CommandFileTest, AHeaderShorterThanItsFixedFieldsIsNotTaken) {
    EXPECT_EQ(readRaw(RawRecord{}.bytes().left(23)), FileResult::BadFormat);
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
        EXPECT_EQ(namesOf(list_), Names{"good"});
    }
}

TEST_F(CommandFileTest, ReadingInsertsAtTheIndexAndReplacingEmptiesTheListFirst) {
    NodeList<Command> saved;
    for (const char* name : {"x", "y", "z"}) {
        saved.append(textCommand(name));
    }
    ASSERT_EQ(save(saved), FileResult::Ok);
    list_.append(textCommand("a"));
    list_.append(textCommand("b"));
    std::size_t count = 0;
    ASSERT_EQ(readCommands(list_, 1, path_, prompt_, &count), FileResult::Ok);
    EXPECT_EQ(count, 3u);
    EXPECT_EQ(namesOf(list_), (Names{"a", "x", "y", "z", "b"}));

    ASSERT_EQ(replaceFromFile(list_, path_, prompt_), FileResult::Ok);
    EXPECT_EQ(namesOf(list_), (Names{"x", "y", "z"}));
    ASSERT_EQ(replaceFromFile(list_, folder_.path("gone.rova"), prompt_), FileResult::OpenFailed);
    EXPECT_TRUE(list_.empty());
}

TEST_F(CommandFileTest, AMissingFileLeavesTheListAloneAndSaysSo) {
    list_.append(textCommand("kept"));
    const QString missing = folder_.path("missing.rova");
    std::size_t count = 7;
    EXPECT_EQ(readCommands(list_, 0, missing, prompt_, &count), FileResult::OpenFailed);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(namesOf(list_), Names{"kept"});
    EXPECT_EQ(prompt_.messages, QStringList{QString("\"%1\" could not be opened.").arg(missing)});
}

TEST_F(CommandFileTest, SavingCreatesMissingFoldersOrSaysItCannot) {
    NodeList<Command> list;
    list.append(textCommand("deep"));
    const QString nested = folder_.path("a/b/c/nested.rova");
    ASSERT_EQ(writeCommands(list, nested, prompt_), FileResult::Ok);
    ASSERT_EQ(readCommands(list_, 0, nested, prompt_), FileResult::Ok);
    EXPECT_EQ(namesOf(list_), Names{"deep"});
    // A folder whose name looks like a pattern is still the folder itself.
    ASSERT_TRUE(QDir(folder_.root()).mkdir("[old] *"));
    ASSERT_EQ(writeCommands(list, folder_.path("[old] */seq.rova"), prompt_), FileResult::Ok);
    EXPECT_TRUE(prompt_.messages.isEmpty());

    writeBytes(folder_.path("plain"), "not a folder");
    const QString impossible = folder_.path("plain/sequence.rova");
    EXPECT_EQ(writeCommands(list, impossible, prompt_), FileResult::CreateFailed);
    EXPECT_EQ(prompt_.messages,
              QStringList{QString("\"%1\" could not be created.").arg(impossible)});
}

// A failed save leaves the previous file as it was and nothing else behind.
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

    // The largest content the reader takes is saved, and replaces the old file whole.
    list.detach(*list.at(1));
    prompt_.messages.clear();
    ASSERT_EQ(save(list), FileResult::Ok);
    ASSERT_EQ(load(), FileResult::Ok);
    ASSERT_EQ(list_.size(), 1u);
    EXPECT_EQ(list_.at(0)->content(), list.at(0)->content());
    EXPECT_EQ(folder_.entries(), QStringList{"sequence.rova"});
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
