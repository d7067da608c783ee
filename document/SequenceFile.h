#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "FileReader.h"
#include "FileResult.h"

class QSaveFile;

namespace rova {

enum class AccessHint { Normal, Sequential };
enum class SeekOrigin { Start, Current, End };

// An open file with numbered results, read or written as a whole.
//
// Reading opens an existing regular file, others may read it too, and buffers it. Writing never
// touches the file at the path until commit(): the bytes go to a temporary file beside it, which
// replaces the target only when every byte has been written and flushed. Closing a file being
// written without committing, or a failed commit, leaves the target as it was and removes the
// temporary file. Closing is idempotent and destroying the object closes it.
class SequenceFile {
  public:
    explicit SequenceFile(QString path);
    ~SequenceFile();
    SequenceFile(const SequenceFile&) = delete;
    SequenceFile& operator=(const SequenceFile&) = delete;

    const QString& path() const { return path_; }
    bool isOpen() const;

    // Opens the path for reading (OpenFailed on failure). When already open, moves to the
    // start instead.
    FileResult openForReading(AccessHint hint = AccessHint::Normal);
    // Starts writing a replacement of the file at the path, first creating its missing folders
    // when `createFolders` is set (CreateFailed on failure). When already open, moves to the
    // start instead.
    FileResult createForWriting(bool createFolders);

    // Reads up to buffer.size() bytes; fewer arrive only at the end of the file.
    FileResult read(std::span<std::uint8_t> buffer, std::size_t& countRead);
    // Reads exactly buffer.size() bytes; BadFormat when the file ends before.
    FileResult readExactly(std::span<std::uint8_t> buffer);
    FileResult write(std::span<const std::uint8_t> bytes);
    // Returns the new position, or -1 when the file is not open or the position would be
    // invalid.
    std::int64_t seek(std::int64_t distance, SeekOrigin origin);
    std::int64_t position() const;
    // The open file's size; when not open, the size of the file at the path (0 when there is
    // none).
    std::int64_t size() const;

    // Makes the written file replace the one at the path, then closes. WriteFailed when any
    // write failed or the replacement cannot be made.
    FileResult commit();
    void close();

    // Reads the whole file at `path` into `buffer`.
    static FileResult readWholeFile(const QString& path, std::vector<std::uint8_t>& buffer);

  private:
    QString path_;
    std::unique_ptr<FileReader> reader_;
    std::unique_ptr<QSaveFile> writer_;
};

}  // namespace rova
