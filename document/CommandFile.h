#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>

#include "Command.h"
#include "FileResult.h"
#include "FourCC.h"
#include "NodeList.h"
#include "SequenceFile.h"
#include "UserPrompt.h"

namespace rova {

// The sequence file: nothing but the commands' records, back to back. Each record is a header
// (magic "ROVA", its own length, the name and content block lengths, the name-follows flag,
// the content kind, the keyword, the 168-byte parameter record), the name block (the name,
// a NUL, zeros up to a multiple of 4) and the content block (the content, padded to a
// multiple of 4). All integers are little-endian.
namespace sequence_record {
inline constexpr FourCC kMagic("ROVA");
inline constexpr std::size_t kHeaderSize = 192;   // as written
inline constexpr std::size_t kFixedFields = 24;   // header bytes before the parameters
inline constexpr std::size_t kLongestName = 255;  // bytes of a name kept in the file
inline constexpr std::size_t kLargestNameBlock = 256;
inline constexpr std::uint32_t kLargestContentBlock = 0x100000;  // 1 MiB
}  // namespace sequence_record

// Reads the record at the file's position into `command` (reset first) and leaves the
// position at the record's end. Records with a shorter header than today's keep the default
// parameters beyond it; the old keywords "NEWX" and "UPDT" read as "SOLO" and "CHNG".
FileResult readCommand(SequenceFile& file, Command& command);
// Appends the command's record at the file's position. A content too large for a reader to
// accept is not written: WriteFailed.
FileResult writeCommand(SequenceFile& file, const Command& command);

// Reads every record of the file at `path` and inserts the commands at `insertIndex` on, in
// file order; `count` receives how many were inserted, also on failure. A damaged or cut-off
// tail after at least one good record ends the file quietly; any other failure is shown
// through `prompt`.
FileResult readCommands(NodeList<Command>& list, std::size_t insertIndex, const QString& path,
                        UserPrompt& prompt, std::size_t* count = nullptr);
// Saves every command of the list to `path`, creating missing folders. The file at the path is
// replaced only when the whole sequence has been written; a failure is shown through `prompt`
// and leaves the previous file as it was.
FileResult writeCommands(const NodeList<Command>& list, const QString& path, UserPrompt& prompt);
// Deletes every command of the list, then reads the file at `path` into it.
FileResult replaceFromFile(NodeList<Command>& list, const QString& path, UserPrompt& prompt);

}  // namespace rova
