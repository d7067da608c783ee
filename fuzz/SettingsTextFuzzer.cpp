// Values read back from the settings file, which anyone can edit: the leading number of an
// integer setting and a saved window placement. A placement that parses must format back to
// the same numbers and always land inside the bounds it is placed in.
#include <QRect>
#include <QString>
#include <cstdint>
#include <cstdlib>

#include "SettingsStore.h"
#include "WindowState.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    (void)rova::parseLeadingInteger(text);

    const std::optional<rova::WindowState> state = rova::WindowState::parse(text);
    if (!state) {
        return 0;
    }
    if (rova::WindowState::parse(state->format()) != state) {
        std::abort();
    }
    const QRect bounds(0, 0, 1280, 800);
    if (!bounds.contains(rova::WindowState::placeIn(*state, bounds))) {
        std::abort();
    }
    return 0;
}
