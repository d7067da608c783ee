#pragma once

#include <QString>

class QIODevice;
class QImage;

namespace rova {

class Picture;

// How a load went: on failure the message says why, for the status bar.
struct PictureLoad {
    bool ok = false;
    QString message;

    explicit operator bool() const { return ok; }
};

// Reads a PNG, JPEG or GIF image from the device into the picture as a 24-bit picture, drawn
// over black where it is transparent. The size the image claims is checked against the limits
// of loaded bitmaps (kMaxLoadedSide, kMaxPixelBytes) before anything is decoded, and the decoder
// may allocate no more than such a picture needs, so a small file claiming a huge image is
// refused at once. Other formats are not tried. On failure the message is the reason alone and
// the picture is left empty, as after a failed ".bmp" load.
PictureLoad readCheckedImage(QIODevice& device, Picture& picture);

// Replaces the picture by a 24-bit copy of the image, within the same limits. On failure the
// message is the reason alone and the picture is left empty.
PictureLoad pictureFromImage(const QImage& image, Picture& picture);

// Loads a picture file with its pixels: ".bmp" files through the program's own reader, any
// other through readCheckedImage. On failure the message names the file and the reason, and
// the picture is left empty.
PictureLoad loadPictureFile(Picture& picture, const QString& path);

}  // namespace rova
