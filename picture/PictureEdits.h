#pragma once

#include <QRect>

#include <optional>

#include "ColourRef.h"
#include "Picture.h"

namespace rova {

// The whole-picture edits of the picture editor: Auto-Crop is contentBounds then cropPicture,
// Invert is invertPicture, and a new row count stretches the picture (scalePicture) or changes
// its canvas around the centre (resizePicture).
//
// The edits that replace the target build their result aside and hand it over with the target's
// moveFrom, so they end with the target's changed(true) and return its result; the source may
// be the target itself, and a failure leaves the target as it was.

// Inverts every pixel's colour: pictures of 16 bits or more invert every pixel bit; pictures
// with a colour table take the entry nearest to the inverted colour (lamp index i becomes
// 7 - i). No notification.
bool invertPicture(Picture& picture);
// The smallest rectangle holding every pixel with a nonzero byte (in a lamp picture every lit
// lamp). None for an empty or all-zero picture, or one of fewer than 8 bits.
std::optional<QRect> contentBounds(const Picture& picture);

// Replaces the target by the given rectangle of the source, copied 1:1 into a top-down picture
// of the source's format; parts outside the source get the fill colour.
bool cropPicture(Picture& target, const Picture& source, const QRect& rect, ColourRef fill);
// Replaces the target by a width × height picture like the source that holds the source's
// centre 1:1 on the fill colour. Growing puts an odd surplus column or row at the right or
// bottom; shrinking keeps the centre.
bool resizePicture(Picture& target, const Picture& source, int width, int height, ColourRef fill);
// Replaces the target by a picture like the source of width × height holding the whole source
// stretched.
bool scalePicture(Picture& target, const Picture& source, int width, int height);
// The two above with the picture as its own source.
bool resizePicture(Picture& picture, int width, int height, ColourRef fill);
bool scalePicture(Picture& picture, int width, int height);

}  // namespace rova
