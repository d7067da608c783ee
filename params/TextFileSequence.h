#pragma once

#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <span>

namespace rova {

class Command;
class ParameterFormController;

// The text files a document opens as a sequence of one command.
enum class TextFileKind { Plain, Rich };

// ".txt" names a plain-text file and ".rtf" a rich-text file, in any mix of case; nothing for
// any other extension.
std::optional<TextFileKind> textFileKind(const QString& path);

// The characters of a plain-text file up to its first NUL: UTF-8 when the bytes are valid
// UTF-8 (a byte-order mark is dropped), Windows-1252 otherwise.
QString decodePlainText(std::span<const std::uint8_t> bytes);

// Opens a text file as a document does: the parameter form shows its text (plain text tidied,
// or the RTF stream) with the preset "Scrolling - very long text", and the sequence's one
// command is made from the form's parameters and text: a SOLO command that, when the text
// scrolls, waits and dies after the scroll duration. Nothing, with the form untouched, when
// the file is no text file or cannot be read; nothing also when memory runs out.
std::unique_ptr<Command> sequenceFromTextFile(const QString& path, ParameterFormController& form);

}  // namespace rova
