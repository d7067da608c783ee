#include "Picture.h"

#include <QPainter>

#include <algorithm>
#include <cstring>
#include <new>

#include "AreaScale.h"
#include "PictureDC.h"
#include "StoredValues.h"

namespace rova {

namespace {

// A 5-bit channel of a 16-bit pixel widened to 8 bits so that 0 and 31 become 0 and 255.
int widen5(std::uint32_t channel) {
    return static_cast<int>((channel << 3) | (channel >> 2));
}

}  // namespace

bool Picture::create(int width, int height, bool topDown, int bitCount,
                     std::span<const TableEntry> table, int colourCount) {
    reset();
    if (width < 1 || height < 1 || bitCount < 1 || bitCount > 32 || colourCount < 0) {
        return false;
    }
    BitmapInfoHeader header;
    header.size = BitmapInfoHeader::kSize;
    header.width = width;
    header.height = topDown ? -height : height;
    header.planes = 1;
    header.bitCount = static_cast<std::uint16_t>(bitCount);
    header.compression = kUncompressed;
    header.xPixelsPerMetre = BitmapInfoHeader::kPixelsPerMetre;
    header.yPixelsPerMetre = BitmapInfoHeader::kPixelsPerMetre;
    header.coloursUsed = static_cast<std::uint32_t>(colourCount);
    header.coloursImportant = header.coloursUsed;
    ColourTable entries{};
    std::copy_n(table.begin(), std::min(table.size(), entries.size()), entries.begin());
    if (!validateHeader(header, HeaderOrigin::Created) || !adopt(header, entries, true)) {
        return false;
    }
    return changed(false);
}

bool Picture::createLike(int width, int height, const Picture& model) {
    return create(width, height, model.isTopDown(), model.bitCount(), model.colourTable(),
                  static_cast<int>(model.header_.coloursUsed));
}

bool Picture::createLamp(int width, int height, bool nineEntries) {
    const std::span<const TableEntry> table =
        nineEntries ? std::span<const TableEntry>(kTextLampTable) : kLampTable;
    return create(width, height, true, 8, table, static_cast<int>(table.size()));
}

bool Picture::createLampFilled(int width, int height, ColourRef colour) {
    PictureDC dc;
    if (!createLamp(width, height) || !dc.open(*this)) {
        return false;
    }
    dc.painter().fillRect(0, 0, width, height, QColor::fromRgb(rgbOf(colour)));
    return dc.release(true);
}

bool Picture::clear() {
    reset();
    return changed(false);
}

bool Picture::moveFrom(Picture& other) {
    if (&other != this) {
        header_ = other.header_;
        table_ = other.table_;
        stride_ = other.stride_;
        pixels_ = std::move(other.pixels_);
        other.reset();
    }
    return changed(true);
}

bool Picture::zeroPixels() {
    if (!pixels_) {
        return false;
    }
    std::memset(pixels_.get(), 0, header_.imageSize);
    return changed(true);
}

void Picture::replaceValue(std::uint8_t from, std::uint8_t to) {
    if (!pixels_) {
        return;
    }
    // The bytes that hold pixels; the padding at the end of each row stays as it is.
    const auto usedBytes = static_cast<std::size_t>((std::int64_t{width()} * bitCount() + 7) / 8);
    for (int y = 0; y < height(); ++y) {
        const std::span<std::uint8_t> bytes = row(y).first(usedBytes);
        std::replace(bytes.begin(), bytes.end(), from, to);
    }
}

bool Picture::assignLayout(const std::optional<BitmapLayout>& layout, bool withPixels,
                           const PixelFiller& fillPixels) {
    if (!layout) {
        reset();
        return false;
    }
    if (!adopt(layout->header, layout->table, withPixels)) {
        return false;
    }
    if (!withPixels) {
        return changed(false);
    }
    if (fillPixels && !fillPixels({pixels_.get(), header_.imageSize})) {
        reset();
        return false;
    }
    return changed(true);
}

bool Picture::draw(QPainter& painter, const QRect& target, const QRect& source) const {
    if (!pixels_ || target.isEmpty() || source.isEmpty()) {
        return false;
    }
    const QImage stretched = scaleByAreaAverage(
        source.size(),
        [&](int y, std::span<QRgb> out) { readColours(source.y() + y, source.x(), out); },
        target.size());
    if (stretched.isNull()) {
        return false;
    }
    painter.drawImage(target.topLeft(), stretched);
    return true;
}

bool Picture::drawWhole(QPainter& painter, const QRect& target) const {
    return draw(painter, target, QRect(0, 0, width(), height()));
}

bool Picture::drawInto(Picture& destination, const QRect& target) const {
    PictureDC dc;
    if (!dc.open(destination)) {
        return false;
    }
    const bool drawn = drawWhole(dc.painter(), target);
    const bool notified = dc.release(true);
    return drawn && notified;
}

std::span<const std::uint8_t> Picture::row(int y) const {
    if (!pixels_ || y < 0 || y >= height()) {
        return {};
    }
    const std::int64_t stored = isTopDown() ? y : height() - 1 - y;
    return {pixels_.get() + stored * stride_, static_cast<std::size_t>(stride_)};
}

std::span<std::uint8_t> Picture::row(int y) {
    const std::span<const std::uint8_t> bytes = std::as_const(*this).row(y);
    return {const_cast<std::uint8_t*>(bytes.data()), bytes.size()};
}

std::uint32_t Picture::pixelValue(int x, int y) const {
    if (!pixels_ || x < 0 || x >= width() || y < 0 || y >= height()) {
        return 0;
    }
    return storedValueAt(row(y).data(), bitCount(), static_cast<std::size_t>(x));
}

bool Picture::changed(bool /*pixelsLoaded*/) {
    return true;
}

void Picture::reset() {
    header_ = {};
    table_ = {};
    stride_ = 0;
    pixels_.reset();
}

bool Picture::adopt(const BitmapInfoHeader& header, const ColourTable& table, bool withPixels) {
    reset();
    if (withPixels) {
        if (header.compression != kUncompressed) {
            return false;
        }
        pixels_.reset(new (std::nothrow) std::uint8_t[header.imageSize]());
        if (!pixels_) {
            return false;
        }
    }
    header_ = header;
    std::copy_n(table.begin(), header.coloursUsed, table_.begin());
    stride_ = rowStride(header.bitCount, header.width);
    return true;
}

QRgb Picture::colourOfValue(std::uint32_t value) const {
    switch (bitCount()) {
        case 1:
        case 4:
        case 8:
            return rgbOf(table_[value & 0xFF]);
        case 16:
            return qRgb(widen5((value >> 10) & 0x1F), widen5((value >> 5) & 0x1F),
                        widen5(value & 0x1F));
        default:
            return qRgb((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
    }
}

void Picture::readColours(int y, int x, std::span<QRgb> out) const {
    std::fill(out.begin(), out.end(), qRgb(0, 0, 0));
    const std::span<const std::uint8_t> bytes = row(y);
    const auto first = static_cast<std::size_t>(std::max(x, 0));
    const auto end = static_cast<std::size_t>(std::clamp<std::int64_t>(
        std::int64_t{x} + static_cast<std::int64_t>(out.size()), 0, width()));
    if (bytes.empty() || first >= end) {
        return;
    }
    QRgb* target = out.data() + static_cast<std::size_t>(static_cast<std::int64_t>(first) - x);
    // The common formats get their own loops: this is the inner loop of every stretch.
    const std::uint8_t* source = bytes.data();
    switch (bitCount()) {
        case 8:
            for (std::size_t i = first; i < end; ++i) {
                *target++ = rgbOf(table_[source[i]]);
            }
            break;
        case 24:
            for (std::size_t i = first; i < end; ++i) {
                *target++ = qRgb(source[3 * i + 2], source[3 * i + 1], source[3 * i]);
            }
            break;
        case 32:
            for (std::size_t i = first; i < end; ++i) {
                *target++ = qRgb(source[4 * i + 2], source[4 * i + 1], source[4 * i]);
            }
            break;
        default:
            for (std::size_t i = first; i < end; ++i) {
                *target++ = colourOfValue(storedValueAt(source, bitCount(), i));
            }
            break;
    }
}

QImage Picture::toImage() const {
    QImage image(width(), height(), QImage::Format_RGB32);
    if (image.isNull()) {
        return image;
    }
    for (int y = 0; y < height(); ++y) {
        readColours(
            y, 0, {reinterpret_cast<QRgb*>(image.scanLine(y)), static_cast<std::size_t>(width())});
    }
    return image;
}

void Picture::storeImage(const QImage& image) {
    if (!pixels_ || image.size() != QSize(width(), height()) ||
        image.format() != QImage::Format_RGB32) {
        return;
    }
    const int bits = bitCount();
    NearestColour nearest(colourTable());
    for (int y = 0; y < height(); ++y) {
        const auto* colours = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        std::uint8_t* bytes = row(y).data();
        for (std::size_t x = 0; x < static_cast<std::size_t>(width()); ++x) {
            const QRgb colour = colours[x] & RGB_MASK;
            const std::uint32_t stored = storedValueAt(bytes, bits, x);
            if ((colourOfValue(stored) & RGB_MASK) == colour) {
                continue;
            }
            std::uint32_t value = 0;
            if (bits < 16) {
                value = nearest.indexOf(colour);
            } else if (bits == 16) {
                value = ((qRed(colour) >> 3) << 10) | ((qGreen(colour) >> 3) << 5) |
                        (qBlue(colour) >> 3);
            } else {
                value = colour;
            }
            setStoredValueAt(bytes, bits, x, value);
        }
    }
}

}  // namespace rova
