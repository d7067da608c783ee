#pragma once

#include <QImage>
#include <QRect>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>

#include "BitmapFormat.h"
#include "Colour.h"

class QPainter;

namespace rova {

// The one image type of the system: a device-independent bitmap held as its 40-byte information
// header, its colour table and its pixel bytes, exactly as they stand in a ".bmp" file. It is
// created blank, draws itself stretched through a QPainter and is drawn on through a PictureDC.
// Reading and writing ".bmp" files and packed bitmaps is BmpCodec.h's part, the whole-picture
// edits of the picture editor are PictureEdits.h's.
//
// Both work through the public interface below rather than as friends, so that the picture's
// invariants stay this class's alone. The one primitive added for them is assignLayout, which
// every load ends with: emptying, allocating and notifying stay in here, and the rule on
// `changed` below holds for loads without the codec touching the pixels' storage. The edits
// need nothing beyond the accessors, create*, moveFrom and PictureDC. PictureDC is the one
// friend: its session converts the pixels to an image and back (toImage, storeImage).
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

    // Fills the stored pixel bytes of a picture being loaded: all header().imageSize of them,
    // the rows in stored order. False when they cannot be read.
    using PixelFiller = std::function<bool(std::span<std::uint8_t> storedBytes)>;
    // The step every load ends with: makes the layout's header and colour table this picture's.
    // Without pixels it ends with changed(false). With pixels the picture gets blank pixels, which
    // `fillPixels` fills, and it ends with changed(true). No layout, a compressed layout with
    // pixels, a lack of memory or a failed fill leave the picture empty without notification.
    bool assignLayout(const std::optional<BitmapLayout>& layout, bool withPixels,
                      const PixelFiller& fillPixels);

    // Stretches the source rectangle of the picture into the target rectangle of the painter.
    // Parts of the source outside the picture count as black. Fails on an empty rectangle, a
    // picture without pixels or when memory runs out.
    bool draw(QPainter& painter, const QRect& target, const QRect& source) const;
    bool drawWhole(QPainter& painter, const QRect& target) const;
    // Draws the whole picture stretched into the target rectangle of another picture, through a
    // PictureDC released with notification (the destination's changed(true)).
    bool drawInto(Picture& destination, const QRect& target) const;

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
    QRgb colourOfValue(std::uint32_t value) const;
    // Colours of `out.size()` pixels of display row y from column x; outside the picture black.
    void readColours(int y, int x, std::span<QRgb> out) const;
    // The whole picture as an RGB32 image (null when memory runs out).
    QImage toImage() const;
    // Stores an image of the picture's size back into its pixels. Pixels whose colour did not
    // change keep their stored value; the others take the packed colour or, with a colour
    // table, the nearest entry.
    void storeImage(const QImage& image);

    BitmapInfoHeader header_;
    ColourTable table_{};
    std::int64_t stride_ = 0;
    std::unique_ptr<std::uint8_t[]> pixels_;
};

}  // namespace rova
