// The sequence file: its records written and read, and the file layer beneath (sequence files
// at their edges, the buffered reader, qualified paths, the default extension of file dialogs).
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "CommandFile.h"
#include "DocumentTestSupport.h"
#include "FilePaths.h"
#include "FilePromptRules.h"
#include "FileReader.h"
#include "TestCommands.h"

namespace rova {
namespace {

using test::bytesOf;
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
    PlayerParameters parameters{};
    QByteArray name = QByteArray(4, '\0');  // the whole name block
    QByteArray content{};                   // the whole content block

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

// A record of the name, its block padded with NULs to `block` bytes.
RawRecord namedRecord(const char* name, std::uint32_t block) {
    QByteArray padded(name);
    padded.resize(block, '\0');
    return {.nameBlock = block, .name = padded};
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
    command.assignContent(content_kind::Rich, bytesOf("hello"));
    command.setName("abc", false);
    ASSERT_EQ(save(list), FileResult::Ok);

    const RawRecord expected{.nameFollows = 0,
                             .contentBlock = 8,
                             .contentKind = "RICH",
                             .keyword = "NEW ",
                             .parameters = command.parameters(),
                             .name = QByteArray("abc", 4),
                             .content = QByteArray("hello\0\0\0", 8)};
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
    odd.restoreContent(FourCC("XYZW"), bytesOf("kept as is"));
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
    const RawRecord unterminated{.nameFollows = 0, .keyword = "NEWX", .name = "abcd"};
    const RawRecord empty{.nameBlock = 0, .nameFollows = 0, .keyword = "UPDT", .name = ""};
    // Any nonzero flag counts; the name ends at its first NUL.
    const RawRecord flagged{
        .nameFollows = 0x100, .keyword = "QQQQ", .name = QByteArray("x\0y\0", 4)};
    ASSERT_EQ(readRaw(unterminated.bytes() + empty.bytes() + flagged.bytes()), FileResult::Ok);
    // The old keywords read as today's ones; unknown ones are kept.
    const std::tuple<std::string, bool, CommandKeyword> expected[] = {
        {"", true, Keyword::Solo},
        {"", false, Keyword::Change},
        {"x", true, CommandKeyword(FourCC("QQQQ"))}};
    ASSERT_EQ(list_.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        const Command& read = *list_.at(i);
        EXPECT_EQ(std::tuple(read.name(), read.nameFollowsContent(), read.keyword()), expected[i])
            << i;
    }
}

TEST_F(CommandFileTest, ABadTailAfterGoodRecordsEndsTheFileQuietly) {
    const RawRecord first = namedRecord("one", 4);
    const RawRecord damaged{.magic = "ROVB", .name = QByteArray("two", 4)};
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
    const std::pair<const char*, RawRecord> cases[] = {
        {"magic", {.magic = "rova"}},
        {"header length 196", {.headerLength = 196}},
        {"header length 98", {.headerLength = 98}},
        {"header length 20", {.headerLength = 20}},
        {"name block 260", {.nameBlock = 260, .name = QByteArray(260, '\0')}},
        {"name block 2", {.nameBlock = 2}},
        {"name block -4", {.nameBlock = 0xFFFC}},
        {"content block 6", {.contentBlock = 6, .content = QByteArray(8, 'c')}},
        {"content block over 1 MiB",
         {.contentBlock = 0x100004, .content = QByteArray(0x100004, 'c')}},
        {"content block negative", {.contentBlock = 0x80000000}},
        {"name block cut off", {.name = "ab"}},
        {"content block cut off", {.contentBlock = 16, .content = QByteArray(12, 'c')}},
    };
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
        QByteArray tailBytes = RawRecord{.nameBlock = 0, .name = ""}.bytes().left(24);
        tailBytes[4] = static_cast<char>(length);
        EXPECT_EQ(readRaw(tailBytes), FileResult::BadFormat);
        EXPECT_EQ(readRaw(namedRecord("good", 8).bytes() + tailBytes), FileResult::Ok);
        EXPECT_EQ(namesOf(list_), Names{"good"});
    }
}

// A missing file leaves the list alone and says so; replacing from it still empties the list.
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
    EXPECT_TRUE(prompt_.messages.isEmpty());

    const QString missing = folder_.path("missing.rova");
    count = 7;
    EXPECT_EQ(readCommands(list_, 0, missing, prompt_, &count), FileResult::OpenFailed);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(namesOf(list_), (Names{"x", "y", "z"}));
    EXPECT_EQ(prompt_.messages, QStringList{QString("\"%1\" could not be opened.").arg(missing)});
    ASSERT_EQ(replaceFromFile(list_, missing, prompt_), FileResult::OpenFailed);
    EXPECT_TRUE(list_.empty());
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
        .assignContent(content_kind::Picture, bytesOf(std::string(1048576, 'p')));
    list.append(std::make_unique<Command>())
        .assignContent(content_kind::Picture, bytesOf(std::string(1048577, 'p')));
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

TEST(SequenceFileTest, ReadsWholeRegularFilesOnly) {
    test::TempFolder folder;
    std::vector<std::uint8_t> buffer{1, 2};
    writeBytes(folder.path("empty"), "");
    EXPECT_EQ(SequenceFile::readWholeFile(folder.path("empty"), buffer), FileResult::Ok);
    EXPECT_TRUE(buffer.empty());
    writeBytes(folder.path("some"), "some bytes");
    ASSERT_EQ(SequenceFile::readWholeFile(folder.path("some"), buffer), FileResult::Ok);
    EXPECT_EQ(std::string(buffer.begin(), buffer.end()), "some bytes");
    EXPECT_EQ(SequenceFile::readWholeFile(folder.path("none"), buffer), FileResult::OpenFailed);
    EXPECT_EQ(SequenceFile::readWholeFile(folder.root(), buffer), FileResult::OpenFailed);
}

TEST(SequenceFileTest, SeeksWithinTheFileOnlyAndNothingWorksWhenClosed) {
    test::TempFolder folder;
    writeBytes(folder.path("data"), "0123456789");
    SequenceFile file(folder.path("data"));
    EXPECT_EQ(file.size(), 10);  // from the folder entry
    EXPECT_EQ(file.position(), -1);
    EXPECT_EQ(file.seek(0, SeekOrigin::Start), -1);

    ASSERT_EQ(file.openForReading(AccessHint::Sequential), FileResult::Ok);
    std::array<std::uint8_t, 4> four{};
    ASSERT_EQ(file.readExactly(four), FileResult::Ok);
    EXPECT_EQ(file.seek(-2, SeekOrigin::Current), 2);
    EXPECT_EQ(file.seek(-3, SeekOrigin::End), 7);
    EXPECT_EQ(file.seek(-1, SeekOrigin::Start), -1);
    std::size_t count = 0;
    ASSERT_EQ(file.read(four, count), FileResult::Ok);
    EXPECT_EQ(count, 3u);
    EXPECT_EQ(file.readExactly(four), FileResult::BadFormat);
    // Opening again moves to the start; closing twice is harmless.
    ASSERT_EQ(file.openForReading(), FileResult::Ok);
    EXPECT_EQ(file.position(), 0);
    file.close();
    file.close();
    EXPECT_FALSE(file.isOpen());
    EXPECT_EQ(file.read(four, count), FileResult::ReadFailed);
    EXPECT_EQ(file.write(four), FileResult::WriteFailed);
    EXPECT_EQ(file.commit(), FileResult::WriteFailed);
}

TEST(SequenceFileTest, CreatingNeedsAPlaceForTheFile) {
    test::TempFolder folder;
    SequenceFile nested(folder.path("p/q/file"));
    EXPECT_EQ(nested.createForWriting(false), FileResult::CreateFailed);
    EXPECT_EQ(nested.createForWriting(true), FileResult::Ok);
    QDir(folder.root()).mkdir("taken");
    SequenceFile onFolder(folder.path("taken"));
    EXPECT_EQ(onFolder.createForWriting(true), FileResult::CreateFailed);
}

QByteArray pattern(int size) {
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i) {
        bytes[i] = static_cast<char>(i * 7 % 251);
    }
    return bytes;
}

// Reads `count` bytes and checks them against the pattern at the reader's position.
void expectPatternRead(FileReader& reader, const QByteArray& whole, std::size_t count) {
    const std::int64_t start = reader.position();
    std::vector<std::uint8_t> buffer(count);
    const auto arrived = reader.read(buffer);
    ASSERT_TRUE(arrived);
    const std::size_t expected =
        std::min<std::size_t>(count, static_cast<std::size_t>(whole.size() - start));
    ASSERT_EQ(*arrived, expected);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(buffer.data()), static_cast<int>(expected)),
              whole.mid(start, static_cast<int>(expected)));
    EXPECT_EQ(reader.position(), start + static_cast<std::int64_t>(expected));
}

TEST(FileReaderTest, ReadsAndSeeksAcrossBufferRefills) {
    test::TempFolder folder;
    const QByteArray whole = pattern(300000);
    writeBytes(folder.path("data"), whole);
    auto reader = FileReader::open(folder.path("data"), true);
    ASSERT_TRUE(reader);
    EXPECT_EQ(reader->size(), 300000);
    for (std::size_t count : {std::size_t{1}, std::size_t{191}, FileReader::kBufferSize - 150,
                              std::size_t{4000}, FileReader::kBufferSize * 2 + 5, std::size_t{3}}) {
        SCOPED_TRACE(count);
        expectPatternRead(*reader, whole, count);
    }
    // Past the end: what is left, then nothing.
    expectPatternRead(*reader, whole, 200000);
    EXPECT_EQ(reader->read(std::span<std::uint8_t>()).value_or(99), 0u);
    std::vector<std::uint8_t> more(10);
    EXPECT_EQ(reader->read(more).value_or(99), 0u);

    // To the start, back inside what is buffered, far ahead, far back.
    for (const auto& [position, count] :
         {std::pair<std::int64_t, std::size_t>{0, 100}, {40, 100}, {150000, 500}, {10, 70000}}) {
        SCOPED_TRACE(position);
        ASSERT_TRUE(reader->seek(position));
        expectPatternRead(*reader, whole, count);
    }
    EXPECT_FALSE(reader->seek(-1));
    ASSERT_TRUE(reader->seek(350000));  // beyond the end
    EXPECT_EQ(reader->position(), 350000);
    EXPECT_EQ(reader->read(more).value_or(99), 0u);
}

TEST(FileReaderTest, OpensOnlyExistingRegularFiles) {
    test::TempFolder folder;
    EXPECT_FALSE(FileReader::open(folder.path("missing"), true));
    EXPECT_FALSE(FileReader::open(folder.root(), true));
    const QString pipe = folder.path("pipe");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    EXPECT_FALSE(FileReader::open(pipe, true));  // and does not wait for a writer
    EXPECT_FALSE(FileReader::open("/dev/null", true));
}

TEST(FilePathsTest, QualifiesNamesAgainstTheCurrentFolder) {
    test::TempFolder folder;
    QDir(folder.root()).mkdir("sub");
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(folder.root()));
    const QString root = QDir::currentPath();
    EXPECT_EQ(paths::qualify("file.rova"), root + "/file.rova");
    EXPECT_EQ(paths::qualify("sub"), root + "/sub/");
    EXPECT_EQ(paths::qualify("sub/../x/./y.bmp"), root + "/x/y.bmp");
    EXPECT_EQ(paths::qualify("/abs/../name"), "/name");
    EXPECT_EQ(paths::qualify(""), "");
    QDir::setCurrent(previous);
}

TEST(FilePromptRulesTest, TakesTheDefaultExtensionFromTheFilterAndAppliesIt) {
    EXPECT_EQ(defaultExtensionOf("Bitmap Files (*.bmp)|*.bmp|"), ".bmp");
    EXPECT_EQ(defaultExtensionOf("Pictures|*.bmp"), ".bmp");
    EXPECT_EQ(defaultExtensionOf("All Files|*|"), "");
    EXPECT_EQ(withDefaultExtension("/home/me/pic", ".bmp"), "/home/me/pic.bmp");
    EXPECT_EQ(withDefaultExtension("/home/me/pic.BMP", ".bmp"), "/home/me/pic.BMP");
    EXPECT_FALSE(withDefaultExtension("/home/me/pic.gif", ".bmp"));
    // A dot in a folder's name is not the file's extension.
    EXPECT_EQ(withDefaultExtension("/home/my.pictures/pic", ".bmp"), "/home/my.pictures/pic.bmp");
}

}  // namespace
}  // namespace rova
