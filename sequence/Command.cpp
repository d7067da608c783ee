#include "Command.h"

#include <algorithm>
#include <string_view>

#include "Bytes.h"

namespace rova {

namespace {

// The content read as text up to its first NUL.
std::string_view leadingText(const std::vector<std::uint8_t>& content) {
    const auto end = std::find(content.begin(), content.end(), std::uint8_t{0});
    return {reinterpret_cast<const char*>(content.data()),
            static_cast<std::size_t>(end - content.begin())};
}

// The file name of a picture's path. Paths stored by other systems may use backslashes, so
// both separators end a folder here.
std::string_view fileNameOf(std::string_view path) {
    const auto separator = path.find_last_of("/\\");
    return separator == std::string_view::npos ? path : path.substr(separator + 1);
}

}  // namespace

void Command::reset() {
    parameters_.resetToDefaults();
    packedContent_.release();
    name_.clear();
    nameFollowsContent_ = true;
    keyword_ = Keyword::Solo;
    clearContent();
    repeatCounter_ = 0;
}

void Command::setKeyword(CommandKeyword keyword) {
    keyword_ = keyword;
    if (keyword == Keyword::Mark) {
        parameters_.nextCommandAfter = 0.0;
    }
    if (!keyword.keepsContent()) {
        clearContent();
        refreshName();
    }
}

void Command::setName(std::string name, bool followsContent) {
    name_ = std::move(name);
    nameFollowsContent_ = followsContent;
}

void Command::refreshName() {
    if (!nameFollowsContent_) {
        return;
    }
    if (!keyword_.keepsContent()) {
        name_.clear();
        return;
    }
    const std::string_view text = leadingText(content_);
    name_ = contentKind_ == content_kind::Picture ? fileNameOf(text) : text;
}

void Command::assignContent(FourCC kind, std::vector<std::uint8_t>&& data) {
    restoreContent(kind, std::move(data));
    refreshName();
}

bool Command::takeRawContent(FourCC kind, std::span<const std::uint8_t> bytes) {
    clearContent();
    if (!bytes.empty()) {
        std::vector<std::uint8_t> data;
        if (!tryResize(data, 1) || !tryAppend(data, bytes)) {
            return false;
        }
        content_ = std::move(data);
    }
    contentKind_ = kind;
    return true;
}

void Command::clearContent() {
    content_ = std::vector<std::uint8_t>();  // frees the storage, which clear() would keep
    contentKind_ = content_kind::None;
}

void Command::restoreContent(FourCC kind, std::vector<std::uint8_t>&& data) {
    content_ = std::move(data);
    contentKind_ = kind;
}

bool Command::copyFrom(const Command& source) {
    std::vector<std::uint8_t> content;
    if (!tryAppend(content, source.content_)) {
        return false;
    }
    parameters_ = source.parameters_;
    name_ = source.name_;
    nameFollowsContent_ = source.nameFollowsContent_;
    keyword_ = source.keyword_;
    restoreContent(source.contentKind_, std::move(content));
    return true;
}

}  // namespace rova
