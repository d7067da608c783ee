#pragma once

#include <cstdint>

namespace rova {

// The Windows-1252 code page, the "ANSI" code page of Western European systems, in which RTF
// files spell their 8-bit characters and in which the text control hands out its 8-bit text.
// Bytes 0xA0 to 0xFF are Latin-1; 0x80 to 0x9F hold typographic characters. The five bytes the
// code page leaves undefined stand for the same control code points, as on the systems that
// use it, so every byte decodes and encodes back to itself.

char16_t decodeWindows1252(std::uint8_t byte);

// The byte that spells `unit` in Windows-1252, or -1 when the code page lacks the character.
int encodeWindows1252(char16_t unit);

}  // namespace rova
