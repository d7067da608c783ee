#include "EditedPicture.h"

#include <cstdint>
#include <string>

#include "BitmapFormat.h"
#include "Command.h"
#include "CommandContent.h"

namespace rova {

bool HeldPicture::restore(const Command& command) {
    Picture source;
    std::string fileName;
    PictureState state;
    const bool loaded = putPicture(command, fileName, state, source);
    rows_ = state.rows;
    rebuild(source);
    return loaded;
}

void HeldPicture::rebuild(const Picture& source) {
    const std::int64_t height = source.height();
    const std::int64_t rows = rows_;
    const std::int64_t width = height > 0 ? (source.width() * rows + height / 2) / height : 0;
    // Stored rows come from files: a size no editor could show is refused before allocating.
    const bool showable =
        rows >= 1 && rows <= kMaxLoadedSide && width >= 1 && width <= kMaxLoadedSide;
    if (!showable || !working_.createLamp(static_cast<int>(width), rows_) ||
        !source.drawInto(working_, QRect(0, 0, static_cast<int>(width), rows_))) {
        working_.clear();
    }
}

}  // namespace rova
