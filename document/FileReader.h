#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>

namespace rova {

// Reads a regular file through a buffer of its own, so that the many small reads of a record
// format cost few system calls; reads larger than the buffer go straight to the caller.
class FileReader {
  public:
    static constexpr std::size_t kBufferSize = 64 * 1024;

    // Opens an existing regular file (not a folder, device or pipe); nullptr on failure.
    // `sequential` tells the system the file will be read from start to end.
    static std::unique_ptr<FileReader> open(const QString& path, bool sequential);
    ~FileReader();
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    // Reads up to buffer.size() bytes and returns how many arrived (fewer only at the end of
    // the file), or nothing when reading fails.
    std::optional<std::size_t> read(std::span<std::uint8_t> buffer);
    // Moves to `position` (from the start, not negative); false when that fails.
    bool seek(std::int64_t position);
    std::int64_t position() const;
    // The file's size, or -1 when it cannot be had.
    std::int64_t size() const;

  private:
    explicit FileReader(int descriptor);
    // Reads from the file at its own position; -1 on failure.
    std::int64_t readFile(std::uint8_t* target, std::size_t count);

    int descriptor_;
    std::unique_ptr<std::uint8_t[]> buffer_;
    std::size_t begin_ = 0;          // next unread byte of the buffer
    std::size_t end_ = 0;            // end of the bytes held in the buffer
    std::int64_t filePosition_ = 0;  // where the file itself stands: just after the buffer
};

}  // namespace rova
