#include "BmpCodec.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cstring>
#include <new>
#include <optional>

namespace rova {

namespace {

std::span<const std::uint8_t> bytesOf(const QByteArray& array) {
    return {reinterpret_cast<const std::uint8_t*>(array.constData()),
            static_cast<std::size_t>(array.size())};
}

// Appends header, colour table and pixels, the rows in stored order or bottom-up.
void appendPacked(const Picture& picture, std::vector<std::uint8_t>& out, bool bottomUp) {
    BitmapInfoHeader header = picture.header();
    if (bottomUp && picture.isTopDown()) {
        header.height = -header.height;
    }
    const std::size_t start = out.size();
    const std::size_t tableBytes = 4 * std::size_t{header.coloursUsed};
    out.resize(start + BitmapInfoHeader::kSize + tableBytes + header.imageSize);
    std::uint8_t* at = out.data() + start;
    writeInfoHeader(header, std::span<std::uint8_t, BitmapInfoHeader::kSize>(at, 40));
    at += BitmapInfoHeader::kSize;
    for (const TableEntry& entry : picture.colourTable()) {
        *at++ = entry.blue;
        *at++ = entry.green;
        *at++ = entry.red;
        *at++ = entry.reserved;
    }
    // Row i of the output: a bottom-up output starts with the bottom display row.
    const bool outputBottomUp = header.height > 0;
    const int rows = picture.height();
    for (int i = 0; i < rows; ++i) {
        const std::span<const std::uint8_t> bytes = picture.row(outputBottomUp ? rows - 1 - i : i);
        std::memcpy(at, bytes.data(), bytes.size());
        at += bytes.size();
    }
}

}  // namespace

bool loadBmpFile(Picture& picture, const QString& path, bool withPixels) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return picture.assignLayout(std::nullopt, withPixels, {});
    }
    const QByteArray front = file.read(kMaxLayoutBytes);
    const std::optional<BitmapLayout> layout =
        parseBitmapLayout(bytesOf(front), BitmapSource::File);
    return picture.assignLayout(layout, withPixels, [&](std::span<std::uint8_t> pixels) {
        const auto count =
            static_cast<qint64>(pixelBytesToRead(static_cast<std::uint64_t>(file.size()), *layout));
        return count <= 0 || (file.seek(static_cast<qint64>(layout->pixelOffset)) &&
                              file.read(reinterpret_cast<char*>(pixels.data()), count) == count);
    });
}

bool saveBmpFile(const Picture& picture, const QString& path) {
    if (!picture.hasPixels()) {
        return false;
    }
    std::vector<std::uint8_t> bytes;
    try {
        bytes.resize(kFileHeaderSize);
        appendPacked(picture, bytes, true);
    } catch (const std::bad_alloc&) {
        return false;
    }
    const auto bitsOffset = static_cast<std::uint32_t>(
        kFileHeaderSize + BitmapInfoHeader::kSize + 4 * std::size_t{picture.header().coloursUsed});
    writeFileHeader(static_cast<std::uint32_t>(bytes.size()), bitsOffset,
                    std::span(bytes).first<kFileHeaderSize>());

    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        return false;
    }
    QSaveFile file(path);
    const auto size = static_cast<qint64>(bytes.size());
    return file.open(QIODevice::WriteOnly) &&
           file.write(reinterpret_cast<const char*>(bytes.data()), size) == size && file.commit();
}

bool loadPackedBitmap(Picture& picture, std::span<const std::uint8_t> block, bool withPixels) {
    const std::optional<BitmapLayout> layout = parseBitmapLayout(block, BitmapSource::Block);
    return picture.assignLayout(layout, withPixels, [&](std::span<std::uint8_t> pixels) {
        const std::uint64_t count = pixelBytesToRead(block.size(), *layout);
        if (count > 0) {
            std::memcpy(pixels.data(), block.data() + layout->pixelOffset, count);
        }
        return true;
    });
}

bool writePackedBitmap(const Picture& picture, std::vector<std::uint8_t>& buffer) {
    if (!picture.hasPixels()) {
        return false;
    }
    try {
        buffer.clear();
        appendPacked(picture, buffer, false);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

std::vector<std::uint8_t> clipboardBitmap(const Picture& picture) {
    std::vector<std::uint8_t> block;
    if (!picture.hasPixels()) {
        return block;
    }
    try {
        appendPacked(picture, block, true);
    } catch (const std::bad_alloc&) {
        return {};
    }
    return block;
}

}  // namespace rova
