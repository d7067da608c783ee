#include "KeywordIcons.h"

#include <QString>
#include <array>

#include "CommandKeyword.h"

// The resources live in a static library, whose resource data the linker leaves out unless
// something refers to it. Q_INIT_RESOURCE declares its registration function in the enclosing
// namespace, so it is used at global scope.
static void registerKeywordIcons() {
    Q_INIT_RESOURCE(keyword_icons);
}

namespace rova {

QIcon keywordIcon(int index) {
    static const std::array<QIcon, CommandKeyword::kCount> icons = [] {
        registerKeywordIcons();
        const std::array<const char*, CommandKeyword::kCount> files{
            "new-solo-player", "new-player",       "change-top-player",
            "kill-top-player", "kill-all-players", "repeat-marker",
            "repeat",
        };
        std::array<QIcon, CommandKeyword::kCount> loaded;
        for (std::size_t i = 0; i < files.size(); ++i) {
            loaded[i] = QIcon(QStringLiteral(":/keywords/%1.svg").arg(QLatin1String(files[i])));
        }
        return loaded;
    }();
    if (index < 0 || index >= CommandKeyword::kCount) {
        return {};
    }
    return icons[static_cast<std::size_t>(index)];
}

}  // namespace rova
