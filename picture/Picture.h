#pragma once

#include <QImage>
#include <QRect>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "BitmapFormat.h"
#include "Colour.h"

class QPainter;

namespace rova {

// The one image type of the system: a device-independent bitmap held as its 40-byte information
// header, its colour table and its pixel bytes, exactly as they stand in a ".bmp" file. It reads
// and writes ".bmp" files and packed bitmaps (the clipboard's and stored contents' form), draws
// itself stretched through a QPainter, and offers the whole-picture edits the picture editor
// needs. Drawing on it goes through a PictureDC.
//
// A lamp picture is an 8-bit top-down picture with the lamp colour table: its pixel values are
// lamp colours.
//
// Coordinates are display coordinates, row 0 the top row, whatever the stored orientation.
// Stretching averages areas and then maps each colour to the nearest table entry (see
// NearestColour). Qt paints only on true-colour surfaces, so no palette is ever needed to show
// a picture. A picture is never copied; it changes hands only through moveFrom.
//
// Every operation that replaces the content ends by calling `changed` and returns its result:
// with false when the picture was cleared or only its header read, with true when new pixels
// are in place.
class Picture {
  public:
    Picture() = default;
    virtual ~Picture() = default;
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;

    // Replaces the picture by a blank one (all pixel bytes 0): resolution 2834, both colour
    // counts `colourCount`, the first entries of the table from `table` (the rest zero).
    // Fails on a size below 1 or an invalid format. changed(false).
    bool create(int width, int height, bool topDown, int bitCount,
                std::span<const TableEntry> table, int colourCount);
    // create with the model's orientation, bit count and colour table.
    bool createLike(int width, int height, const Picture& model);
    // create a top-down 8-bit picture with the lamp table, or its nine-entry text variant.
    bool createLamp(int width, int height, bool nineEntries = false);
    // createLamp (8 entries), then fills it with the table entry nearest to `colour`;
    // changed(true).
    bool createLampFilled(int width, int height, ColourRef colour);
    // Empties the picture. changed(false).
    bool clear();
    // Takes over the other picture's header, table and pixels; the other is left empty without
    // being notified. changed(true).
    bool moveFrom(Picture& other);
    // Sets every pixel byte to 0. changed(true).
    bool zeroPixels();
    // Replaces every pixel byte equal to `from` by `to` (meant for 8-bit pictures). No
    // notification.
    void replaceValue(std::uint8_t from, std::uint8_t to);

    // Reads a ".bmp" file. Without pixels only the header and colour table are read:
    // changed(false). With pixels changed(true). A failed load leaves the picture empty.
    bool loadFile(const QString& path, bool withPixels);
    // Writes a ".bmp" file, bottom-up, through a temporary file that replaces the target only
    // once it is complete; missing folders are created. Fails on an empty picture.
    bool saveFile(const QString& path) const;
    // Reads a packed bitmap: 40-byte header, colour table, pixels, as loadFile.
    bool loadMemory(std::span<const std::uint8_t> block, bool withPixels);
    // Sets the buffer to the packed bitmap as held: header, colour table, pixels.
    bool writePacked(std::vector<std::uint8_t>& buffer) const;
    // The packed bitmap as the clipboard takes it: always bottom-up. Empty on failure.
    std::vector<std::uint8_t> clipboardBlock() const;

    // Stretches the source rectangle of the picture into the target rectangle of the painter.
    // Parts of the source outside the picture count as black. Fails on an empty rectangle, a
    // picture without pixels or when memory runs out.
    bool draw(QPainter& painter, const QRect& target, const QRect& source) const;
    bool drawWhole(QPainter& painter, const QRect& target) const;
    // Draws the whole picture stretched into the target rectangle of another picture, through a
    // PictureDC released with notification (the destination's changed(true)).
    bool drawInto(Picture& destination, const QRect& target) const;

    // Inverts every pixel's colour: pictures of 16 bits or more invert every pixel bit; pictures
    // with a colour table take the entry nearest to the inverted colour (lamp index i becomes
    // 7 - i). No notification.
    bool invert();
    // The smallest rectangle holding every pixel with a nonzero byte (in a lamp picture every lit
    // lamp). None for an empty or all-zero picture, or one of fewer than 8 bits.
    std::optional<QRect> contentBounds() const;

    // The operations below build their result aside and take it over with moveFrom, so the source
    // may be this picture itself and a failure leaves this picture as it was.

    // Replaces this picture by the given rectangle of the source, copied 1:1 into a top-down
    // picture of the source's format; parts outside the source get the fill colour.
    bool cropFrom(const Picture& source, const QRect& rect, ColourRef fill);
    // Replaces this picture by a width × height one like the source that holds the source's
    // centre 1:1 on the fill colour. Growing puts an odd surplus column or row at the right or
    // bottom; shrinking keeps the centre.
    bool resizeFrom(const Picture& source, int width, int height, ColourRef fill);
    // Replaces this picture by one like the source of width × height holding the whole source
    // stretched.
    bool scaleFrom(const Picture& source, int width, int height);
    bool resize(int width, int height, ColourRef fill);
    bool scale(int width, int height);

    const BitmapInfoHeader& header() const { return header_; }
    int width() const { return header_.width; }
    // Rows, whatever the orientation.
    int height() const { return header_.height < 0 ? -header_.height : header_.height; }
    bool isTopDown() const { return header_.height < 0; }
    int bitCount() const { return header_.bitCount; }
    bool hasPixels() const { return pixels_ != nullptr; }
    std::span<const TableEntry> colourTable() const { return {table_.data(), header_.coloursUsed}; }
    std::int64_t stride() const { return stride_; }
    // The stored bytes of display row y (stride bytes); empty without pixels.
    std::span<const std::uint8_t> row(int y) const;
    std::span<std::uint8_t> row(int y);
    // The stored value of one pixel: a table index, or the packed colour of a 16-, 24- or 32-bit
    // pixel (blue in the lowest bits).
    std::uint32_t pixelValue(int x, int y) const;

  protected:
    // Called last by every operation that replaces the content; its result becomes theirs.
    virtual bool changed(bool pixelsLoaded);

  private:
    friend class PictureDC;

    // Empties the picture without notification.
    void reset();
    // Makes a validated header and its table this picture's, with blank pixels when
    // `withPixels`. On failure the picture is left empty.
    bool adopt(const BitmapInfoHeader& header, const ColourTable& table, bool withPixels);
    // Appends header, colour table and pixels, the rows in stored order or bottom-up.
    void appendPacked(std::vector<std::uint8_t>& out, bool bottomUp) const;
    // Fills the picture with the entry nearest to the colour.
    bool fill(ColourRef colour, bool notify);
    QRgb colourOfValue(std::uint32_t value) const;
    // Colours of `out.size()` pixels of display row y from column x; outside the picture black.
    void readColours(int y, int x, std::span<QRgb> out) const;
    // The whole picture as an RGB32 image (null when memory runs out).
    QImage toImage() const;
    // Stores an image of the picture's size back into its pixels. Pixels whose colour did not
    // change keep their stored value; the others take the packed colour or, with a colour
    // table, the nearest entry.
    void storeImage(const QImage& image);
    // Copies stored values 1:1 from `from` in the source to `to` in this picture, clipped to
    // both; the two must have the same bit count.
    void copyValues(const Picture& source, QPoint from, QPoint to, QSize size);

    BitmapInfoHeader header_;
    ColourTable table_{};
    std::int64_t stride_ = 0;
    std::unique_ptr<std::uint8_t[]> pixels_;
};

}  // namespace rova
