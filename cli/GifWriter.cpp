#include "GifWriter.h"

#include <QFile>

#include <fcntl.h>
#include <gif_lib.h>
#include <unistd.h>

#include <algorithm>
#include <array>

namespace rova {

namespace {

constexpr int kColourBits = 8;

int centiseconds(std::uint64_t ms) {
    return static_cast<int>((ms + 5) / 10);
}

}  // namespace

GifWriter::GifWriter(const QSize& size, GifPalette::Kind palette)
    : size_(size),
      palette_(palette),
      indices_(static_cast<std::size_t>(size.width()) * static_cast<std::size_t>(size.height())),
      previous_(indices_.size()) {}

GifWriter::~GifWriter() {
    close();
}

bool GifWriter::open(const QString& path) {
    // Created readable by others, as every other file the tool writes (giflib's own
    // EGifOpenFileName would make it private to the user).
    const int descriptor =
        ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (descriptor < 0) {
        return false;
    }
    int error = 0;
    gif_ = EGifOpenFileHandle(descriptor, &error);  // owns the descriptor from here on
    if (gif_ == nullptr) {
        ::close(descriptor);
        return false;
    }
    EGifSetGifVersion(gif_, true);
    std::array<GifColorType, 256> colours{};
    std::transform(palette_.entries().begin(), palette_.entries().end(), colours.begin(),
                   [](const GifPalette::Entry& entry) {
                       return GifColorType{entry.red, entry.green, entry.blue};
                   });
    ColorMapObject* map = GifMakeMapObject(static_cast<int>(colours.size()), colours.data());
    if (map == nullptr) {
        return false;
    }
    const bool written =
        EGifPutScreenDesc(gif_, size_.width(), size_.height(), kColourBits, 0, map) == GIF_OK;
    GifFreeMapObject(map);
    return written && writeLoop();
}

bool GifWriter::writeLoop() {
    static const char kApplication[] = "NETSCAPE2.0";
    const std::array<GifByteType, 3> repeatForever = {1, 0, 0};  // sub-block 1: repeat count 0
    return EGifPutExtensionLeader(gif_, APPLICATION_EXT_FUNC_CODE) == GIF_OK &&
           EGifPutExtensionBlock(gif_, sizeof(kApplication) - 1, kApplication) == GIF_OK &&
           EGifPutExtensionBlock(gif_, static_cast<int>(repeatForever.size()),
                                 repeatForever.data()) == GIF_OK &&
           EGifPutExtensionTrailer(gif_) == GIF_OK;
}

bool GifWriter::add(const QImage& image, std::uint64_t startMs, std::uint64_t endMs) {
    if (gif_ == nullptr || image.size() != size_) {
        return false;
    }
    const QImage pixels = image.format() == QImage::Format_RGB32
                              ? image
                              : image.convertToFormat(QImage::Format_RGB32);
    const auto width = static_cast<std::size_t>(size_.width());
    for (int y = 0; y < size_.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(pixels.constScanLine(y));
        std::uint8_t* out = indices_.data() + static_cast<std::size_t>(y) * width;
        for (std::size_t x = 0; x < width; ++x) {
            out[x] = palette_.indexOf(line[x]);
        }
    }
    const QRect rect = first_ ? QRect(QPoint(0, 0), size_) : changedRect();
    first_ = false;
    const bool written = writeDelay(centiseconds(endMs) - centiseconds(startMs)) && writeRect(rect);
    std::swap(indices_, previous_);
    return written;
}

// The smallest rectangle holding every pixel that differs from the previous image; a single
// pixel when none does, since every image needs a rectangle to carry its delay.
QRect GifWriter::changedRect() const {
    const int width = size_.width();
    int top = size_.height();
    int bottom = -1;
    int left = width;
    int right = -1;
    for (int y = 0; y < size_.height(); ++y) {
        const auto offset = static_cast<std::ptrdiff_t>(y) * width;
        const auto* now = indices_.data() + offset;
        const auto* before = previous_.data() + offset;
        const auto first = std::mismatch(now, now + width, before).first;
        if (first == now + width) {
            continue;
        }
        int last = width - 1;
        while (now[last] == before[last]) {
            --last;
        }
        top = std::min(top, y);
        bottom = y;
        left = std::min(left, static_cast<int>(first - now));
        right = std::max(right, last);
    }
    if (bottom < 0) {
        return {0, 0, 1, 1};
    }
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

bool GifWriter::writeDelay(int delay) {
    GraphicsControlBlock control{};
    control.DisposalMode = DISPOSE_DO_NOT;
    control.DelayTime = delay;
    control.TransparentColor = NO_TRANSPARENT_COLOR;
    std::array<GifByteType, 4> extension{};
    const auto length = EGifGCBToExtension(&control, extension.data());
    return EGifPutExtension(gif_, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length),
                            extension.data()) == GIF_OK;
}

bool GifWriter::writeRect(const QRect& rect) {
    if (EGifPutImageDesc(gif_, rect.left(), rect.top(), rect.width(), rect.height(), false,
                         nullptr) != GIF_OK) {
        return false;
    }
    const auto width = static_cast<std::size_t>(size_.width());
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        std::uint8_t* line = indices_.data() + static_cast<std::size_t>(y) * width +
                             static_cast<std::size_t>(rect.left());
        if (EGifPutLine(gif_, line, rect.width()) != GIF_OK) {
            return false;
        }
    }
    return true;
}

bool GifWriter::close() {
    if (gif_ == nullptr) {
        return true;
    }
    int error = 0;
    const bool closed = EGifCloseFile(gif_, &error) == GIF_OK;
    gif_ = nullptr;
    return closed;
}

}  // namespace rova
