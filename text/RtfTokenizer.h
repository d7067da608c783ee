#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace rova {

// One lexical unit of an RTF stream.
struct RtfToken {
    enum class Kind {
        End,            // the input is used up
        GroupStart,     // {
        GroupEnd,       // }
        ControlWord,    // \word or \wordN: `word`, `parameter`, `hasParameter`
        ControlSymbol,  // \ followed by one character other than a letter: `symbol`
        HexCharacter,   // \'hh: the character's byte in `byte`
        Text,           // a run of plain characters in `text`, line breaks left out
    };

    Kind kind = Kind::End;
    std::string_view word;
    int parameter = 0;
    bool hasParameter = false;
    char symbol = 0;
    std::uint8_t byte = 0;
    std::string_view text;
};

// Splits RTF bytes into tokens, one pass from front to back. Any byte sequence is accepted:
// control word names are cut at kMaxWordLength letters and parameters are kept within
// ±kMaxParameter, however long their spelling.
class RtfTokenizer {
  public:
    static constexpr std::size_t kMaxWordLength = 32;
    static constexpr int kMaxParameter = 1'000'000'000;

    explicit RtfTokenizer(std::string_view input) : input_(input) {}

    RtfToken next();
    // Passes over the next `count` bytes, or the rest of the input if it is shorter: the data
    // of a \binN word.
    void skipBytes(std::size_t count);

  private:
    RtfToken controlSequence();
    int parameter(bool negative);

    std::string_view input_;
    std::size_t position_ = 0;
};

}  // namespace rova
