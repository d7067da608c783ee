#pragma once

#include <QByteArrayView>

#include <cstddef>

class QTextDocument;

namespace rova {

// Limits past which an RTF stream is refused, so that no file can make the reader take
// unbounded time or memory: the size of the stream, and how deep its groups may nest.
inline constexpr std::size_t kMaxRtfBytes = 32 * 1024 * 1024;
inline constexpr int kMaxRtfGroupDepth = 256;

// Replaces the contents of `document` with the text of the RTF stream `rtf`: its characters,
// paragraphs and line breaks, and per character the face, size, bold, italic, underline and
// colour. Everything else RTF can say (paragraph layout, pictures, fields' instructions, notes,
// document information, unknown control words and "\*" destinations) is passed over. Text
// without a colour of its own is left without one, so it shows in the reader's default colour.
//
// Characters spelt as bytes are read in the Windows-1252 code page. The paragraph mark that
// ends the last paragraph closes it; it does not open an empty one after it.
//
// Returns false, with the document left empty, when the bytes do not begin with "{\rtf", are
// longer than kMaxRtfBytes or nest groups deeper than kMaxRtfGroupDepth. Anything else is
// read: a missing closing brace ends the text where the bytes end, and bytes after the
// closing brace are ignored.
bool readRtf(QByteArrayView rtf, QTextDocument& document);

}  // namespace rova
