#include "WindowState.h"

#include <QScreen>
#include <QStringList>
#include <QWidget>
#include <algorithm>

#include "SettingsStore.h"

namespace rova {

namespace {

constexpr int kDefaultInset = 20;

// A decimal number as format() writes it: an optional minus sign, then digits only.
std::optional<std::int32_t> parseNumber(const QString& text) {
    const qsizetype firstDigit = text.startsWith(u'-') ? 1 : 0;
    if (text.size() == firstDigit) {
        return std::nullopt;
    }
    for (qsizetype i = firstDigit; i < text.size(); ++i) {
        if (text[i] < u'0' || text[i] > u'9') {
            return std::nullopt;
        }
    }
    bool inRange = false;
    const int value = text.toInt(&inRange);
    return inRange ? std::optional<std::int32_t>(value) : std::nullopt;
}

// How far [low, high) must move to start inside [boundLow, boundHigh), or else end inside it.
// Saved numbers may be anything, so the arithmetic is done in 64 bits.
std::int64_t shiftInto(std::int64_t low, std::int64_t high, std::int64_t boundLow,
                       std::int64_t boundHigh) {
    if (low < boundLow) {
        return boundLow - low;
    }
    if (high > boundHigh) {
        return boundHigh - high;
    }
    return 0;
}

// The rectangle a window keeps when it shows normally, also while it is maximised.
QRect normalGeometry(const QWidget& window) {
    if (window.isWindow() && (window.isMaximized() || window.isFullScreen())) {
        return window.normalGeometry();
    }
    return window.geometry();
}

// The origin of a window's saved coordinates and the bounds it is placed in: its parent's
// client area for a child, the work area of its screen for a top-level window. Nothing when a
// top-level window has no screen.
struct Frame {
    QPoint origin;
    QRect bounds;
};

std::optional<Frame> frameOf(const QWidget& window) {
    if (!window.isWindow()) {
        return Frame{{0, 0}, window.parentWidget()->rect()};
    }
    const QScreen* screen = window.screen();
    if (screen == nullptr) {
        return std::nullopt;
    }
    const QRect workArea = screen->availableGeometry();
    return Frame{workArea.topLeft(), QRect({0, 0}, workArea.size())};
}

}  // namespace

WindowState WindowState::fromRect(const QRect& rect) {
    return {rect.x(), rect.y(), rect.x() + rect.width(), rect.y() + rect.height()};
}

std::optional<WindowState> WindowState::parse(const QString& text) {
    const QStringList parts = text.split(u' ');
    if (parts.size() != 4) {
        return std::nullopt;
    }
    const auto left = parseNumber(parts[0]);
    const auto top = parseNumber(parts[1]);
    const auto right = parseNumber(parts[2]);
    const auto bottom = parseNumber(parts[3]);
    if (!left || !top || !right || !bottom) {
        return std::nullopt;
    }
    return WindowState{*left, *top, *right, *bottom};
}

QString WindowState::format() const {
    return QStringLiteral("%1 %2 %3 %4").arg(left).arg(top).arg(right).arg(bottom);
}

QRect WindowState::placeIn(const WindowState& state, const QRect& bounds) {
    const WindowState limits = fromRect(bounds);
    const std::int64_t dx = shiftInto(state.left, state.right, limits.left, limits.right);
    const std::int64_t dy = shiftInto(state.top, state.bottom, limits.top, limits.bottom);
    const std::int64_t left = std::max<std::int64_t>(state.left + dx, limits.left);
    const std::int64_t right = std::min<std::int64_t>(state.right + dx, limits.right);
    const std::int64_t top = std::max<std::int64_t>(state.top + dy, limits.top);
    const std::int64_t bottom = std::min<std::int64_t>(state.bottom + dy, limits.bottom);
    if (left >= right || top >= bottom) {
        return bounds;
    }
    // Cut to the bounds, every number fits an int again.
    return QRect(static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
                 static_cast<int>(bottom - top));
}

QRect WindowState::defaultPlacement(const QRect& bounds) {
    const QRect inset =
        bounds.adjusted(kDefaultInset, kDefaultInset, -kDefaultInset, -kDefaultInset);
    return inset.isEmpty() ? bounds : inset;
}

void saveWindowState(SettingsStore& settings, const QString& key, const QWidget* window) {
    const std::optional<Frame> frame = frameOf(*window);
    if (!frame) {
        return;
    }
    const QString text =
        WindowState::fromRect(normalGeometry(*window).translated(-frame->origin)).format();
    if (settings.readString(kWindowStatesSection, key) != text) {
        settings.writeString(kWindowStatesSection, key, text);
    }
}

bool restoreWindowState(const SettingsStore& settings, const QString& key, QWidget* window) {
    const std::optional<Frame> frame = frameOf(*window);
    if (!frame) {
        return false;
    }
    const std::optional<QString> text = settings.readString(kWindowStatesSection, key);
    const std::optional<WindowState> state = text ? WindowState::parse(*text) : std::nullopt;
    if (state) {
        window->setGeometry(WindowState::placeIn(*state, frame->bounds).translated(frame->origin));
        return true;
    }
    if (window->isWindow()) {
        window->setGeometry(WindowState::defaultPlacement(frame->bounds).translated(frame->origin));
    }
    return false;
}

}  // namespace rova
