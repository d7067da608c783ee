#include "FileReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstring>

namespace rova {

std::unique_ptr<FileReader> FileReader::open(const QString& path, bool sequential) {
    // Not blocking keeps a pipe at the path from stalling the open; it is refused below.
    const int descriptor =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (descriptor < 0) {
        return nullptr;
    }
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(descriptor);
        return nullptr;
    }
    if (sequential) {
        ::posix_fadvise(descriptor, 0, 0, POSIX_FADV_SEQUENTIAL);
    }
    return std::unique_ptr<FileReader>(new FileReader(descriptor));
}

FileReader::FileReader(int descriptor)
    : descriptor_(descriptor), buffer_(new std::uint8_t[kBufferSize]) {}

FileReader::~FileReader() {
    ::close(descriptor_);
}

std::int64_t FileReader::readFile(std::uint8_t* target, std::size_t count) {
    for (;;) {
        const ssize_t arrived = ::read(descriptor_, target, count);
        if (arrived >= 0) {
            filePosition_ += arrived;
            return arrived;
        }
        if (errno != EINTR) {
            return -1;
        }
    }
}

std::optional<std::size_t> FileReader::read(std::span<std::uint8_t> buffer) {
    std::size_t done = 0;
    while (done < buffer.size()) {
        if (begin_ < end_) {
            const std::size_t count = std::min(end_ - begin_, buffer.size() - done);
            std::memcpy(buffer.data() + done, buffer_.get() + begin_, count);
            begin_ += count;
            done += count;
            continue;
        }
        const std::size_t wanted = buffer.size() - done;
        const bool direct = wanted >= kBufferSize;
        const std::int64_t arrived =
            direct ? readFile(buffer.data() + done, wanted) : readFile(buffer_.get(), kBufferSize);
        if (arrived < 0) {
            return std::nullopt;
        }
        if (arrived == 0) {
            break;
        }
        if (direct) {
            done += static_cast<std::size_t>(arrived);
        } else {
            begin_ = 0;
            end_ = static_cast<std::size_t>(arrived);
        }
    }
    return done;
}

bool FileReader::seek(std::int64_t position) {
    if (position < 0) {
        return false;
    }
    const std::int64_t bufferStart = filePosition_ - static_cast<std::int64_t>(end_);
    if (position >= bufferStart && position <= filePosition_) {
        begin_ = static_cast<std::size_t>(position - bufferStart);
        return true;
    }
    if (::lseek(descriptor_, position, SEEK_SET) < 0) {
        return false;
    }
    filePosition_ = position;
    begin_ = 0;
    end_ = 0;
    return true;
}

std::int64_t FileReader::position() const {
    return filePosition_ - static_cast<std::int64_t>(end_ - begin_);
}

std::int64_t FileReader::size() const {
    struct stat status {};
    return ::fstat(descriptor_, &status) == 0 ? status.st_size : -1;
}

}  // namespace rova
