#pragma once

class QClipboard;

namespace rova {

class Picture;

// Pictures on the system clipboard. A copied picture goes there twice in one offer: as a packed
// device-independent bitmap (the clipboard bitmap of the BMP codec) under kBitmapType, which
// another copy of the program pastes without loss, and as an image for every other program.
// Pasting prefers the packed bitmap; otherwise it reads PNG, GIF or JPEG bytes with the checks
// of the editor's Load, and takes any image the platform decoded last.
class PictureClipboard {
  public:
    static constexpr const char* kBitmapType = "image/bmp";

    // The application's clipboard when none is given.
    explicit PictureClipboard(QClipboard* clipboard = nullptr);

    // Replaces the clipboard's content by the picture. False when the picture has no pixels or
    // memory runs out; the clipboard is then left as it was.
    bool copy(const Picture& picture) const;
    // Loads the clipboard's picture, with its pixels, into the target: the packed bitmap when
    // one is offered and readable, otherwise the image as a 24-bit picture. False when nothing
    // is offered (the target is untouched) or what is offered cannot be read (the target is left
    // empty, as by a failed load).
    bool paste(Picture& target) const;
    // Whether the clipboard offers something paste() takes.
    bool canPaste() const;

  private:
    QClipboard* clipboard_;
};

}  // namespace rova
