#include "SequenceFile.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <limits>

#include "Bytes.h"
#include "FilePaths.h"

namespace rova {

SequenceFile::SequenceFile(QString path) : path_(std::move(path)) {}

SequenceFile::~SequenceFile() {
    close();
}

bool SequenceFile::isOpen() const {
    return reader_ || writer_;
}

FileResult SequenceFile::openForReading(AccessHint hint) {
    if (isOpen()) {
        seek(0, SeekOrigin::Start);
        return FileResult::Ok;
    }
    reader_ = FileReader::open(path_, hint == AccessHint::Sequential);
    return reader_ ? FileResult::Ok : FileResult::OpenFailed;
}

FileResult SequenceFile::createForWriting(bool createFolders) {
    if (isOpen()) {
        seek(0, SeekOrigin::Start);
        return FileResult::Ok;
    }
    const QString folder = paths::folder(path_);
    if (createFolders && !folder.isEmpty() && !QDir().mkpath(folder)) {
        return FileResult::CreateFailed;
    }
    auto file = std::make_unique<QSaveFile>(path_);
    if (!file->open(QIODevice::WriteOnly)) {
        return FileResult::CreateFailed;
    }
    writer_ = std::move(file);
    return FileResult::Ok;
}

FileResult SequenceFile::read(std::span<std::uint8_t> buffer, std::size_t& countRead) {
    countRead = 0;
    if (!reader_) {
        return FileResult::ReadFailed;
    }
    const std::optional<std::size_t> arrived = reader_->read(buffer);
    if (!arrived) {
        return FileResult::ReadFailed;
    }
    countRead = *arrived;
    return FileResult::Ok;
}

FileResult SequenceFile::readExactly(std::span<std::uint8_t> buffer) {
    std::size_t countRead = 0;
    const FileResult result = read(buffer, countRead);
    if (result != FileResult::Ok) {
        return result;
    }
    return countRead == buffer.size() ? FileResult::Ok : FileResult::BadFormat;
}

FileResult SequenceFile::write(std::span<const std::uint8_t> bytes) {
    if (!writer_) {
        return FileResult::WriteFailed;
    }
    const auto count = static_cast<qint64>(bytes.size());
    return writer_->write(reinterpret_cast<const char*>(bytes.data()), count) == count
               ? FileResult::Ok
               : FileResult::WriteFailed;
}

std::int64_t SequenceFile::seek(std::int64_t distance, SeekOrigin origin) {
    if (!isOpen()) {
        return -1;
    }
    std::int64_t base = 0;
    if (origin == SeekOrigin::Current) {
        base = position();
    } else if (origin == SeekOrigin::End) {
        base = size();
    }
    if (base < 0 || (distance > 0 && base > std::numeric_limits<std::int64_t>::max() - distance) ||
        base + distance < 0) {
        return -1;
    }
    const std::int64_t target = base + distance;
    const bool moved = reader_ ? reader_->seek(target) : writer_->seek(target);
    return moved ? position() : -1;
}

std::int64_t SequenceFile::position() const {
    if (reader_) {
        return reader_->position();
    }
    return writer_ ? writer_->pos() : -1;
}

std::int64_t SequenceFile::size() const {
    if (reader_) {
        return reader_->size();
    }
    if (writer_) {
        return writer_->size();
    }
    return QFileInfo(path_).size();
}

FileResult SequenceFile::commit() {
    if (!writer_) {
        return FileResult::WriteFailed;
    }
    const bool committed = writer_->commit();
    writer_.reset();
    return committed ? FileResult::Ok : FileResult::WriteFailed;
}

void SequenceFile::close() {
    reader_.reset();
    writer_.reset();  // discards an uncommitted replacement
}

FileResult SequenceFile::readWholeFile(const QString& path, std::vector<std::uint8_t>& buffer) {
    SequenceFile file(path);
    FileResult result = file.openForReading(AccessHint::Sequential);
    if (result != FileResult::Ok) {
        return result;
    }
    const std::int64_t size = file.size();
    if (size < 0 || static_cast<std::uint64_t>(size) > std::numeric_limits<std::size_t>::max()) {
        return FileResult::OutOfMemory;
    }
    if (!tryResize(buffer, static_cast<std::size_t>(size))) {
        return FileResult::OutOfMemory;
    }
    std::size_t countRead = 0;
    result = file.read(buffer, countRead);
    if (result == FileResult::Ok && !tryResize(buffer, countRead)) {
        return FileResult::OutOfMemory;
    }
    return result;
}

}  // namespace rova
