#include "CommandKeyword.h"

#include <algorithm>

namespace rova {

std::optional<Keyword> CommandKeyword::known() const {
    const auto found = std::find(kCodes.begin(), kCodes.end(), code_);
    if (found == kCodes.end()) {
        return std::nullopt;
    }
    return static_cast<Keyword>(found - kCodes.begin());
}

int CommandKeyword::index() const {
    const std::optional<Keyword> keyword = known();
    return keyword ? static_cast<int>(*keyword) : -1;
}

bool CommandKeyword::keepsContent() const {
    return *this == Keyword::Solo || *this == Keyword::New || *this == Keyword::Change;
}

}  // namespace rova
