#include "Picture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QSaveFile>

#include <algorithm>
#include <cstring>
#include <new>

#include "AreaScale.h"
#include "PictureDC.h"

namespace rova {

namespace {

std::uint32_t valueAt(const std::uint8_t* row, int bitCount, std::size_t x) {
    switch (bitCount) {
        case 1:
            return (row[x / 8] >> (7 - x % 8)) & 0x1u;
        case 4:
            return (row[x / 2] >> (x % 2 == 0 ? 4 : 0)) & 0xFu;
        case 8:
            return row[x];
        case 16:
            return row[2 * x] | (std::uint32_t{row[2 * x + 1]} << 8);
        case 24:
            return row[3 * x] | (std::uint32_t{row[3 * x + 1]} << 8) |
                   (std::uint32_t{row[3 * x + 2]} << 16);
        default:
            return row[4 * x] | (std::uint32_t{row[4 * x + 1]} << 8) |
                   (std::uint32_t{row[4 * x + 2]} << 16) | (std::uint32_t{row[4 * x + 3]} << 24);
    }
}

void setValueAt(std::uint8_t* row, int bitCount, std::size_t x, std::uint32_t value) {
    switch (bitCount) {
        case 1: {
            const unsigned shift = 7 - x % 8;
            row[x / 8] = static_cast<std::uint8_t>((row[x / 8] & ~(0x1u << shift)) |
                                                   ((value & 0x1u) << shift));
            break;
        }
        case 4: {
            const unsigned shift = x % 2 == 0 ? 4 : 0;
            row[x / 2] = static_cast<std::uint8_t>((row[x / 2] & ~(0xFu << shift)) |
                                                   ((value & 0xFu) << shift));
            break;
        }
        default: {
            const std::size_t bytes = static_cast<std::size_t>(bitCount) / 8;
            for (std::size_t i = 0; i < bytes; ++i) {
                row[bytes * x + i] = static_cast<std::uint8_t>(value >> (8 * i));
            }
            break;
        }
    }
}

// A 5-bit channel of a 16-bit pixel widened to 8 bits so that 0 and 31 become 0 and 255.
int widen5(std::uint32_t channel) {
    return static_cast<int>((channel << 3) | (channel >> 2));
}

std::span<const std::uint8_t> bytesOf(const QByteArray& array) {
    return {reinterpret_cast<const std::uint8_t*>(array.constData()),
            static_cast<std::size_t>(array.size())};
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
    return createLamp(width, height) && fill(colour, true);
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

bool Picture::loadFile(const QString& path, bool withPixels) {
    reset();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QByteArray front = file.read(kMaxLayoutBytes);
    const std::optional<BitmapLayout> layout =
        parseBitmapLayout(bytesOf(front), BitmapSource::File);
    if (!layout || !adopt(layout->header, layout->table, withPixels)) {
        return false;
    }
    if (!withPixels) {
        return changed(false);
    }
    const auto count =
        static_cast<qint64>(pixelBytesToRead(static_cast<std::uint64_t>(file.size()), *layout));
    if (count > 0 && (!file.seek(static_cast<qint64>(layout->pixelOffset)) ||
                      file.read(reinterpret_cast<char*>(pixels_.get()), count) != count)) {
        reset();
        return false;
    }
    return changed(true);
}

bool Picture::saveFile(const QString& path) const {
    if (!pixels_) {
        return false;
    }
    std::vector<std::uint8_t> bytes;
    try {
        bytes.resize(kFileHeaderSize);
        appendPacked(bytes, true);
    } catch (const std::bad_alloc&) {
        return false;
    }
    const auto bitsOffset = static_cast<std::uint32_t>(kFileHeaderSize + BitmapInfoHeader::kSize +
                                                       4 * std::size_t{header_.coloursUsed});
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

bool Picture::loadMemory(std::span<const std::uint8_t> block, bool withPixels) {
    reset();
    const std::optional<BitmapLayout> layout = parseBitmapLayout(block, BitmapSource::Block);
    if (!layout || !adopt(layout->header, layout->table, withPixels)) {
        return false;
    }
    if (!withPixels) {
        return changed(false);
    }
    const std::uint64_t count = pixelBytesToRead(block.size(), *layout);
    if (count > 0) {
        std::memcpy(pixels_.get(), block.data() + layout->pixelOffset, count);
    }
    return changed(true);
}

bool Picture::writePacked(std::vector<std::uint8_t>& buffer) const {
    if (!pixels_) {
        return false;
    }
    try {
        buffer.clear();
        appendPacked(buffer, false);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

std::vector<std::uint8_t> Picture::clipboardBlock() const {
    std::vector<std::uint8_t> block;
    if (!pixels_) {
        return block;
    }
    try {
        appendPacked(block, true);
    } catch (const std::bad_alloc&) {
        return {};
    }
    return block;
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

bool Picture::invert() {
    if (!pixels_) {
        return false;
    }
    const int bits = bitCount();
    const std::uint32_t allBits = bits == 32 ? 0xFFFFFFFFu : (1u << bits) - 1;
    // With a colour table every index turns into the entry nearest to its inverted colour.
    std::vector<std::uint32_t> inverseIndex;
    if (bits < 16) {
        NearestColour nearest(colourTable());
        for (std::uint32_t index = 0; index <= allBits; ++index) {
            inverseIndex.push_back(nearest.indexOf(~colourOfValue(index)));
        }
    }
    for (int y = 0; y < height(); ++y) {
        std::uint8_t* bytes = row(y).data();
        for (std::size_t x = 0; x < static_cast<std::size_t>(width()); ++x) {
            const std::uint32_t value = valueAt(bytes, bits, x);
            setValueAt(bytes, bits, x, bits < 16 ? inverseIndex[value] : value ^ allBits);
        }
    }
    return true;
}

std::optional<QRect> Picture::contentBounds() const {
    if (!pixels_ || bitCount() < 8) {
        return std::nullopt;
    }
    int left = width();
    int right = -1;
    int top = -1;
    int bottom = -1;
    for (int y = 0; y < height(); ++y) {
        const std::uint8_t* bytes = row(y).data();
        for (int x = 0; x < width(); ++x) {
            if (valueAt(bytes, bitCount(), static_cast<std::size_t>(x)) != 0) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = top < 0 ? y : top;
                bottom = y;
            }
        }
    }
    if (top < 0) {
        return std::nullopt;
    }
    return QRect(left, top, right - left + 1, bottom - top + 1);
}

bool Picture::cropFrom(const Picture& source, const QRect& rect, ColourRef fill) {
    Picture result;
    if (!source.hasPixels() ||
        !result.create(rect.width(), rect.height(), true, source.bitCount(), source.colourTable(),
                       static_cast<int>(source.header_.coloursUsed)) ||
        !result.fill(fill, false)) {
        return false;
    }
    result.copyValues(source, rect.topLeft(), QPoint(0, 0), rect.size());
    return moveFrom(result);
}

bool Picture::resizeFrom(const Picture& source, int width, int height, ColourRef fill) {
    Picture result;
    if (!source.hasPixels() || !result.createLike(width, height, source) ||
        !result.fill(fill, false)) {
        return false;
    }
    // The source point that lands on the result's top-left corner; where it lies outside the
    // source the source lands that far inside the result instead. Division truncates toward
    // zero, so an odd surplus goes to the right or bottom.
    const int originX = (source.width() - width) / 2;
    const int originY = (source.height() - height) / 2;
    result.copyValues(source, QPoint(std::max(originX, 0), std::max(originY, 0)),
                      QPoint(std::max(-originX, 0), std::max(-originY, 0)),
                      QSize(std::min(width, source.width()), std::min(height, source.height())));
    return moveFrom(result);
}

bool Picture::scaleFrom(const Picture& source, int width, int height) {
    Picture result;
    if (!result.createLike(width, height, source) ||
        !source.drawInto(result, QRect(0, 0, width, height))) {
        return false;
    }
    return moveFrom(result);
}

bool Picture::resize(int width, int height, ColourRef fill) {
    return resizeFrom(*this, width, height, fill);
}

bool Picture::scale(int width, int height) {
    return scaleFrom(*this, width, height);
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
    return valueAt(row(y).data(), bitCount(), static_cast<std::size_t>(x));
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

void Picture::appendPacked(std::vector<std::uint8_t>& out, bool bottomUp) const {
    BitmapInfoHeader header = header_;
    const bool flip = bottomUp && isTopDown();
    if (flip) {
        header.height = -header.height;
    }
    const std::size_t start = out.size();
    const std::size_t tableBytes = 4 * std::size_t{header.coloursUsed};
    out.resize(start + BitmapInfoHeader::kSize + tableBytes + header.imageSize);
    std::uint8_t* at = out.data() + start;
    writeInfoHeader(header, std::span<std::uint8_t, BitmapInfoHeader::kSize>(at, 40));
    at += BitmapInfoHeader::kSize;
    for (std::size_t i = 0; i < header.coloursUsed; ++i) {
        const TableEntry& entry = table_[i];
        *at++ = entry.blue;
        *at++ = entry.green;
        *at++ = entry.red;
        *at++ = entry.reserved;
    }
    // Stored row i of the output; a flipped picture's rows are taken from the other end.
    const int rows = height();
    for (int i = 0; i < rows; ++i) {
        const int stored = flip ? rows - 1 - i : i;
        std::memcpy(at, pixels_.get() + stored * stride_, static_cast<std::size_t>(stride_));
        at += stride_;
    }
}

bool Picture::fill(ColourRef colour, bool notify) {
    PictureDC dc;
    if (!dc.open(*this)) {
        return false;
    }
    dc.painter().fillRect(0, 0, width(), height(), QColor::fromRgb(rgbOf(colour)));
    return dc.release(notify);
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
                *target++ = colourOfValue(valueAt(source, bitCount(), i));
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
            const std::uint32_t stored = valueAt(bytes, bits, x);
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
            setValueAt(bytes, bits, x, value);
        }
    }
}

void Picture::copyValues(const Picture& source, QPoint from, QPoint to, QSize size) {
    if (source.bitCount() != bitCount()) {
        return;
    }
    for (int dy = 0; dy < size.height(); ++dy) {
        const std::span<const std::uint8_t> sourceRow = source.row(from.y() + dy);
        const std::span<std::uint8_t> targetRow = row(to.y() + dy);
        if (sourceRow.empty() || targetRow.empty()) {
            continue;
        }
        for (int dx = 0; dx < size.width(); ++dx) {
            const int sourceX = from.x() + dx;
            const int targetX = to.x() + dx;
            if (sourceX >= 0 && sourceX < source.width() && targetX >= 0 && targetX < width()) {
                setValueAt(
                    targetRow.data(), bitCount(), static_cast<std::size_t>(targetX),
                    valueAt(sourceRow.data(), bitCount(), static_cast<std::size_t>(sourceX)));
            }
        }
    }
}

}  // namespace rova
