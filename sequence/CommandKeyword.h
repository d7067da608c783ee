#pragma once

#include <array>
#include <optional>

#include "FourCC.h"

namespace rova {

// The seven known keywords, in the order of their index (list icons, "Command Type" items).
enum class Keyword { Solo, New, Change, Kill, KillAll, Mark, Repeat };

// What a command does, as its four-character code: "SOLO", "NEW " (trailing blank), "CHNG",
// "KILL", "KILA", "MARK" or "RPET". A code read from a file may be none of them; it is kept
// as it is and has no index.
class CommandKeyword {
  public:
    static constexpr int kCount = 7;

    constexpr CommandKeyword(Keyword keyword) : code_(kCodes[static_cast<int>(keyword)]) {}
    constexpr explicit CommandKeyword(FourCC code) : code_(code) {}

    constexpr FourCC code() const { return code_; }
    // The known keyword this code spells, if any.
    std::optional<Keyword> known() const;
    // 0 to 6 in the order of Keyword, or -1 for an unknown code.
    int index() const;
    // SOLO, NEW and CHNG show something and so keep content.
    bool keepsContent() const;

    friend constexpr bool operator==(CommandKeyword, CommandKeyword) = default;

  private:
    static constexpr std::array<FourCC, kCount> kCodes{
        FourCC("SOLO"), FourCC("NEW "), FourCC("CHNG"), FourCC("KILL"),
        FourCC("KILA"), FourCC("MARK"), FourCC("RPET"),
    };

    FourCC code_;
};

// Content kinds of a command, as four-character codes.
namespace content_kind {
inline constexpr FourCC None("NONE");
inline constexpr FourCC Rich("RICH");
inline constexpr FourCC Picture("PICT");
}  // namespace content_kind

}  // namespace rova
