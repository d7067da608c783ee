#include "CommandFile.h"

#include <algorithm>
#include <array>
#include <new>
#include <string>
#include <vector>

#include "Bytes.h"
#include "DocumentMessages.h"
#include "LittleEndian.h"

namespace rova {

using namespace sequence_record;

namespace {

// Header field offsets.
constexpr std::size_t kMagicAt = 0;
constexpr std::size_t kHeaderLengthAt = 4;
constexpr std::size_t kNameBlockAt = 8;
constexpr std::size_t kNameFollowsAt = 10;
constexpr std::size_t kContentBlockAt = 12;
constexpr std::size_t kContentKindAt = 16;
constexpr std::size_t kKeywordAt = 20;
constexpr std::size_t kParametersAt = kFixedFields;
static_assert(kParametersAt + PlayerParameters::kByteSize == kHeaderSize);

// Keywords of older files and the ones they stand for today.
constexpr FourCC kOldSolo("NEWX");
constexpr FourCC kOldChange("UPDT");

using Header = std::array<std::uint8_t, kHeaderSize>;

FourCC loadCode(const Header& header, std::size_t offset) {
    return FourCC::fromBytes(std::span(header).subspan(offset).first<4>());
}

// The fields of a header that decide where the record's parts lie.
struct Layout {
    std::uint32_t headerLength;
    std::int16_t nameBlock;
    std::int32_t contentBlock;
};

Layout layoutOf(const Header& header) {
    return {le::loadU32(header, kHeaderLengthAt),
            static_cast<std::int16_t>(le::loadU16(header, kNameBlockAt)),
            static_cast<std::int32_t>(le::loadU32(header, kContentBlockAt))};
}

// Whether the `bytesRead` first bytes of `header` start a record this reader accepts.
bool isValidHeader(const Header& header, std::size_t bytesRead) {
    if (bytesRead < kFixedFields) {
        return false;
    }
    const Layout layout = layoutOf(header);
    // The stored header may be shorter than today's (fewer parameter fields), never longer.
    if (layout.headerLength > bytesRead ||
        bytesRead - layout.headerLength > PlayerParameters::kByteSize) {
        return false;
    }
    // It must at least hold its own fixed fields: a shorter one, possible right at the end of
    // a file, would let a record take up no room and the reader never get past it.
    if (layout.headerLength < kFixedFields) {
        return false;
    }
    if (loadCode(header, kMagicAt) != kMagic || layout.headerLength % 4 != 0) {
        return false;
    }
    if (layout.nameBlock < 0 || layout.nameBlock % 4 != 0 ||
        static_cast<std::size_t>(layout.nameBlock) > kLargestNameBlock) {
        return false;
    }
    return layout.contentBlock >= 0 && layout.contentBlock % 4 == 0 &&
           static_cast<std::uint32_t>(layout.contentBlock) <= kLargestContentBlock;
}

CommandKeyword keywordOf(const Header& header) {
    const FourCC code = loadCode(header, kKeywordAt);
    if (code == kOldSolo) {
        return Keyword::Solo;
    }
    if (code == kOldChange) {
        return Keyword::Change;
    }
    return CommandKeyword(code);
}

// Takes the name block: text up to its first NUL. A block that does not end in a NUL holds no
// name the reader trusts; the name then follows the content again.
void takeName(Command& command, std::span<const std::uint8_t> block, bool storedFollows) {
    if (!block.empty() && block.back() != 0) {
        command.setName({}, true);
        return;
    }
    const auto end = std::find(block.begin(), block.end(), std::uint8_t{0});
    command.setName(std::string(block.begin(), end), storedFollows);
}

// The bytes of `name` kept in a record: at most kLongestName, and names being UTF-8, never
// ending inside a character.
std::size_t keptNameLength(const std::string& name) {
    if (name.size() <= kLongestName) {
        return name.size();
    }
    std::size_t length = kLongestName;
    while (length > 0 && (static_cast<unsigned char>(name[length]) & 0xC0) == 0x80) {
        --length;
    }
    return length;
}

FileResult readAllCommands(const QString& path, NodeList<Command>& commands) {
    SequenceFile file(path);
    if (file.openForReading(AccessHint::Sequential) != FileResult::Ok) {
        return FileResult::OpenFailed;
    }
    const std::int64_t size = file.size();
    for (;;) {
        const std::int64_t position = file.position();
        if (position < 0) {
            return FileResult::ReadFailed;
        }
        if (position >= size) {
            return FileResult::Ok;
        }
        std::unique_ptr<Command> command(new (std::nothrow) Command);
        if (!command) {
            return FileResult::OutOfMemory;
        }
        const FileResult result = readCommand(file, *command);
        if (result != FileResult::Ok) {
            return result;
        }
        commands.append(std::move(command));
    }
}

FileResult writeAllCommands(const NodeList<Command>& list, const QString& path) {
    SequenceFile file(path);
    const FileResult created = file.createForWriting(true);
    if (created != FileResult::Ok) {
        return created;
    }
    for (const Command& command : list) {
        const FileResult written = writeCommand(file, command);
        if (written != FileResult::Ok) {
            return written;  // closing without a commit keeps the previous file
        }
    }
    return file.commit();
}

}  // namespace

FileResult readCommand(SequenceFile& file, Command& command) {
    command.reset();
    const PlayerParameters::Bytes defaults = PlayerParameters{}.toBytes();
    Header header{};
    std::copy(defaults.begin(), defaults.end(), header.begin() + kParametersAt);

    std::size_t bytesRead = 0;
    if (file.read(header, bytesRead) != FileResult::Ok) {
        return FileResult::ReadFailed;
    }
    if (!isValidHeader(header, bytesRead)) {
        return FileResult::BadFormat;
    }
    const Layout layout = layoutOf(header);
    if (layout.headerLength < bytesRead) {
        // A shorter header: what was read beyond it belongs to the name block, and the
        // parameters it does not hold keep their defaults.
        const std::size_t kept = layout.headerLength - kParametersAt;
        std::copy(defaults.begin() + static_cast<std::ptrdiff_t>(kept), defaults.end(),
                  header.begin() + static_cast<std::ptrdiff_t>(layout.headerLength));
        const auto excess = static_cast<std::int64_t>(bytesRead - layout.headerLength);
        if (file.seek(-excess, SeekOrigin::Current) < 0) {
            return FileResult::ReadFailed;
        }
    }
    command.restoreKeyword(keywordOf(header));
    command.parameters() = PlayerParameters::fromBytes(
        std::span(header).subspan<kParametersAt, PlayerParameters::kByteSize>());
    const FourCC contentKind = loadCode(header, kContentKindAt);

    std::array<std::uint8_t, kLargestNameBlock> nameBlock{};
    const auto name = std::span(nameBlock).first(static_cast<std::size_t>(layout.nameBlock));
    FileResult result = file.readExactly(name);
    if (result != FileResult::Ok) {
        return result;
    }
    takeName(command, name, le::loadU16(header, kNameFollowsAt) != 0);

    std::vector<std::uint8_t> content;
    if (layout.contentBlock > 0) {
        if (!tryResize(content, static_cast<std::size_t>(layout.contentBlock))) {
            return FileResult::OutOfMemory;
        }
        result = file.readExactly(content);
        if (result != FileResult::Ok) {
            return result;
        }
    }
    command.restoreContent(contentKind, std::move(content));
    return FileResult::Ok;
}

FileResult writeCommand(SequenceFile& file, const Command& command) {
    const std::vector<std::uint8_t>& content = command.content();
    if (content.size() > kLargestContentBlock) {
        return FileResult::WriteFailed;
    }
    const std::size_t contentBlock = (content.size() + 3) & ~std::size_t{3};
    const std::size_t nameLength = keptNameLength(command.name());
    const std::size_t nameBlock = (nameLength + 4) & ~std::size_t{3};

    std::array<std::uint8_t, kHeaderSize + kLargestNameBlock> record{};
    kMagic.toBytes(std::span(record).subspan<kMagicAt, 4>());
    le::storeU32(record, kHeaderLengthAt, kHeaderSize);
    le::storeU16(record, kNameBlockAt, static_cast<std::uint16_t>(nameBlock));
    le::storeU16(record, kNameFollowsAt, command.nameFollowsContent() ? 1 : 0);
    le::storeU32(record, kContentBlockAt, static_cast<std::uint32_t>(contentBlock));
    command.contentKind().toBytes(std::span(record).subspan<kContentKindAt, 4>());
    command.keyword().code().toBytes(std::span(record).subspan<kKeywordAt, 4>());
    const PlayerParameters::Bytes parameters = command.parameters().toBytes();
    std::copy(parameters.begin(), parameters.end(), record.begin() + kParametersAt);
    std::copy_n(command.name().begin(), nameLength, record.begin() + kHeaderSize);

    const FileResult result = file.write(std::span(record).first(kHeaderSize + nameBlock));
    if (result != FileResult::Ok || contentBlock == 0) {
        return result;
    }
    const FileResult contentResult = file.write(content);
    const std::size_t padding = contentBlock - content.size();
    if (contentResult != FileResult::Ok || padding == 0) {
        return contentResult;
    }
    // Zeros fill the content block up to its multiple of 4.
    constexpr std::array<std::uint8_t, 3> kZeros{};
    return file.write(std::span(kZeros).first(padding));
}

FileResult readCommands(NodeList<Command>& list, std::size_t insertIndex, const QString& path,
                        UserPrompt& prompt, std::size_t* count) {
    NodeList<Command> commands;
    FileResult result = readAllCommands(path, commands);
    const std::size_t commandsRead = commands.size();
    list.insert(insertIndex, std::move(commands));
    if (count != nullptr) {
        *count = commandsRead;
    }
    if (result == FileResult::BadFormat && commandsRead > 0) {
        // A damaged or cut-off tail: the good records before it are the file's content.
        result = FileResult::Ok;
    }
    if (result != FileResult::Ok) {
        prompt.showWarning(DocumentMessages::readFailure(result, path));
    }
    return result;
}

FileResult writeCommands(const NodeList<Command>& list, const QString& path, UserPrompt& prompt) {
    const FileResult result = writeAllCommands(list, path);
    if (result != FileResult::Ok) {
        prompt.showWarning(DocumentMessages::writeFailure(result, path));
    }
    return result;
}

FileResult replaceFromFile(NodeList<Command>& list, const QString& path, UserPrompt& prompt) {
    list.clear();
    return readCommands(list, 0, path, prompt);
}

}  // namespace rova
