#pragma once

#include <QRect>
#include <QString>
#include <cstdint>
#include <optional>

class QWidget;

namespace rova {

class SettingsStore;

// The saved placement of one window: a rectangle whose right and bottom edges are exclusive.
// A child window's rectangle is in its parent's coordinates; a top-level window's is relative
// to the top-left corner of the work area of its screen.
struct WindowState {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    static WindowState fromRect(const QRect& rect);

    // Exactly four decimal numbers (each may carry a minus sign) separated by single blanks,
    // as format() writes them; anything else gives nothing.
    static std::optional<WindowState> parse(const QString& text);
    QString format() const;

    // Where a saved rectangle goes within `bounds`: moved inside when it sticks out on one side,
    // then cut to the bounds; the whole bounds when nothing of it is left.
    static QRect placeIn(const WindowState& state, const QRect& bounds);
    // Where a top-level window goes when nothing was saved: the bounds inset by 20 on each side.
    static QRect defaultPlacement(const QRect& bounds);

    friend bool operator==(const WindowState&, const WindowState&) = default;
};

// The settings section that holds window placements, one key per window.
inline const QString kWindowStatesSection = QStringLiteral("Window States");

// Writes the window's normal (not maximised) placement under `key`, unless the stored text is
// already the same.
void saveWindowState(SettingsStore& settings, const QString& key, const QWidget* window);
// Places the window by the state saved under `key`, kept within its parent (a child window) or
// within the work area of its screen (a top-level window). Returns whether a saved state was
// used; without one a top-level window gets the default placement and a child stays put.
bool restoreWindowState(const SettingsStore& settings, const QString& key, QWidget* window);

}  // namespace rova
