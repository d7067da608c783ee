#pragma once

#include <QByteArray>

#include "CharacterFormat.h"

class QTextDocument;

namespace rova {

// The text of `document` as an RTF stream that word processors read back: a font table, a
// colour table, and every paragraph with each character's face, size (\fs, half points),
// bold, italic, underline and colour. Attributes the text leaves open are written as
// `defaults` (a full format) gives them, so the stream shows the text as it looked.
//
// Characters of the Windows-1252 code page are written as themselves or as \'hh, all others
// as \uN with "?" for readers that do not know Unicode. Every paragraph ends with \par; an
// empty paragraph carries the format at its mark. Control characters other than tab, and
// the placeholders of pictures and other objects, are left out.
//
// What readRtf() reads back from the stream has the same characters and the same full format
// for each of them.
QByteArray writeRtf(const QTextDocument& document, const CharacterFormat& defaults);

}  // namespace rova
