#pragma once

#include <string>

#include "PictureRecord.h"

namespace rova {

class Command;
class Picture;
class RichTextDocument;

// Moving a command's content to and from the text and the picture the form edits.

// Makes the text the command's content ("RICH"): the plain text, one NUL, then the
// same text as RTF; the name follows. False, with the content cleared, when a stream fails.
bool takeText(Command& command, const RichTextDocument& text);

// Streams the RTF part of the command's content (everything after its first NUL) into the
// text; an empty content empties the text. False, with the text empty, when the stream is
// refused.
bool putText(const Command& command, RichTextDocument& text);

// Makes a picture the command's content ("PICT"): the record of its file name, the editor's
// display state and the packed picture; the name follows (the file name without its folders).
// False, with the content cleared, when the picture has no pixels or memory runs out.
bool takePicture(Command& command, const std::string& fileName, const PictureState& state,
                 const Picture& picture);

// Reads the command's picture content back: file name, display state and the picture with its
// pixels. When the picture cannot be loaded the result is false and the editor is given a fresh
// picture instead, as if it had been set to black: a black 16 × 16 lamp picture at 16 rows, no
// file name, not a rescaled view.
bool putPicture(const Command& command, std::string& fileName, PictureState& state,
                Picture& picture);

}  // namespace rova
