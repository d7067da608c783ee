#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QImage>

#include <algorithm>
#include <cstdint>

namespace rova::test {

// Encoded images for the picture editor's tests.

inline QByteArray pngBytes(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// The CRC-32 of PNG chunks.
inline std::uint32_t pngCrc(const char* data, qsizetype size) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (qsizetype i = 0; i < size; ++i) {
        crc ^= static_cast<std::uint8_t>(data[i]);
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    return ~crc;
}

// A valid PNG of side × side noise whose header claims width × height pixels: what a
// decompression bomb looks like until its pixels are decoded.
inline QByteArray hugeClaimPng(std::uint32_t width, std::uint32_t height, int side = 4) {
    QImage noise(side, side, QImage::Format_RGB32);
    std::uint32_t seed = 7;
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            seed = seed * 1664525u + 1013904223u;
            noise.setPixel(x, y, seed >> 8);
        }
    }
    QByteArray bytes = pngBytes(noise);
    // Signature (8), IHDR length and type (8), then width and height, big-endian.
    const auto put = [&bytes](qsizetype at, std::uint32_t value) {
        for (int i = 0; i < 4; ++i) {
            bytes[at + i] = static_cast<char>(value >> (24 - 8 * i));
        }
    };
    put(16, width);
    put(20, height);
    put(29, pngCrc(bytes.constData() + 12, 17));  // over the type and the 13 data bytes
    return bytes;
}

// A buffer that remembers how far into its bytes anything was read.
class ReadWatchingBuffer : public QBuffer {
  public:
    explicit ReadWatchingBuffer(const QByteArray& bytes) : bytes_(bytes) { setBuffer(&bytes_); }
    qint64 furthestRead() const { return furthest_; }

  protected:
    qint64 readData(char* data, qint64 size) override {
        const qint64 start = pos();
        const qint64 read = QBuffer::readData(data, size);
        furthest_ = std::max(furthest_, start + std::max<qint64>(read, 0));
        return read;
    }

  private:
    QByteArray bytes_;
    qint64 furthest_ = 0;
};

}  // namespace rova::test
