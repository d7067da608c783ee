#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "CommandKeyword.h"
#include "FourCC.h"
#include "PlayerContent.h"
#include "PlayerParameters.h"

namespace rova {

// One step of a sequence: a keyword, a full parameter record and, for the commands that show
// something, content bytes of a kind:
//   "NONE"  nothing;
//   "RICH"  the plain text, one NUL, then the same text as an RTF stream;
//   "PICT"  the picture's path and a NUL, a 12-byte display state, then the packed picture.
// The name shown in the sequence list either follows the content (the plain text, or the
// picture's file name) or was typed by the user.
//
// The operations that fill the content from the rich-text control or the picture editor live
// with those controls: they build the bytes and hand them over with assignContent().
class Command {
  public:
    Command() = default;
    Command(Command&&) noexcept = default;
    Command& operator=(Command&&) noexcept = default;
    // Copies can fail for lack of memory: see copyFrom.
    Command(const Command&) = delete;
    Command& operator=(const Command&) = delete;

    // Back to the state of a new command: keyword "SOLO", empty name that follows the content,
    // default parameters, no content, repeat counter 0.
    void reset();

    // Sets the keyword with its consequences: "MARK" zeroes the next-command time, and every
    // keyword that shows nothing drops the content and refreshes the name.
    void setKeyword(CommandKeyword keyword);
    void setName(std::string name, bool followsContent);
    // Derives the name from the content when it follows the content; otherwise does nothing.
    void refreshName();

    // Replaces the content with `data` of the given kind and refreshes the name.
    void assignContent(FourCC kind, std::vector<std::uint8_t>&& data);
    // Replaces the content with a NUL followed by `bytes` (the form of a text whose plain part
    // is empty); with no bytes, only the kind is set. The name is left alone. False, with the
    // content cleared, when the buffer cannot be allocated.
    bool takeRawContent(FourCC kind, std::span<const std::uint8_t> bytes);
    // Frees the content; the kind becomes "NONE".
    void clearContent();

    // Keyword and content exactly as a file holds them, without the rules of setKeyword and
    // without touching the name: for readers of stored commands.
    void restoreKeyword(CommandKeyword keyword) { keyword_ = keyword; }
    void restoreContent(FourCC kind, std::vector<std::uint8_t>&& data);

    // Copies parameters, name and its flag, keyword, content kind and content from `source`;
    // not the packed content nor the repeat counter. False, with this command unchanged, when
    // the content cannot be allocated.
    bool copyFrom(const Command& source);

    PlayerParameters& parameters() { return parameters_; }
    const PlayerParameters& parameters() const { return parameters_; }
    // The player content last built from this command: a cache, never stored.
    PlayerContent& packedContent() { return packedContent_; }
    const PlayerContent& packedContent() const { return packedContent_; }
    const std::string& name() const { return name_; }
    bool nameFollowsContent() const { return nameFollowsContent_; }
    CommandKeyword keyword() const { return keyword_; }
    FourCC contentKind() const { return contentKind_; }
    const std::vector<std::uint8_t>& content() const { return content_; }
    // Passes made by a running "RPET"; run-time only.
    std::uint32_t repeatCounter() const { return repeatCounter_; }
    void setRepeatCounter(std::uint32_t count) { repeatCounter_ = count; }

  private:
    PlayerParameters parameters_;
    PlayerContent packedContent_;
    std::string name_;
    bool nameFollowsContent_ = true;
    CommandKeyword keyword_ = Keyword::Solo;
    FourCC contentKind_ = content_kind::None;
    std::vector<std::uint8_t> content_;
    std::uint32_t repeatCounter_ = 0;
};

}  // namespace rova
