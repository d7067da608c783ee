#pragma once

#include <QString>

#include <cstdint>
#include <span>
#include <vector>

#include "Picture.h"

namespace rova {

// Reading and writing pictures as ".bmp" files and as packed bitmaps, the clipboard's and stored
// contents' form: 40-byte header, colour table, pixels. What a reader accepts is decided by
// parseBitmapLayout (BitmapFormat.h); a load ends with the picture's assignLayout, so it
// notifies the way every operation that replaces the content does.

// Reads a ".bmp" file into the picture. Without pixels only the header and colour table are
// read: changed(false). With pixels changed(true). A failed load leaves the picture empty.
bool loadBmpFile(Picture& picture, const QString& path, bool withPixels);
// Writes a ".bmp" file, bottom-up, through a temporary file that replaces the target only once
// it is complete; missing folders are created. Fails on an empty picture.
bool saveBmpFile(const Picture& picture, const QString& path);
// Reads a packed bitmap: 40-byte header, colour table, pixels, as loadBmpFile.
bool loadPackedBitmap(Picture& picture, std::span<const std::uint8_t> block, bool withPixels);
// Sets the buffer to the packed bitmap as held: header, colour table, pixels.
bool writePackedBitmap(const Picture& picture, std::vector<std::uint8_t>& buffer);
// The packed bitmap as the clipboard takes it: always bottom-up. Empty on failure.
std::vector<std::uint8_t> clipboardBitmap(const Picture& picture);

}  // namespace rova
