#include "XSplitterStatic.h"

#include <QCoreApplication>
#include <QEvent>
#include <QResizeEvent>
#include <algorithm>
#include <numeric>
#include <utility>

namespace rova {

XSplitterStatic::XSplitterStatic(Qt::Orientation orientation, QWidget* parent)
    : QSplitter(orientation, parent) {}

int XSplitterStatic::addPane(QWidget* widget) {
    addWidget(widget);
    const int n = count() - 1;
    setCollapsible(n, true);
    panes_.resize(static_cast<std::size_t>(count()));
    return n;
}

void XSplitterStatic::setFixed(int n, bool fixed) {
    if (isPane(n)) {
        panes_[n].fixed = fixed;
    }
}

void XSplitterStatic::setMaximum(int n, int maximum) {
    if (!isPane(n)) {
        return;
    }
    const int limit = maximum >= kNoLimit ? QWIDGETSIZE_MAX : std::max(maximum, 0);
    if (orientation() == Qt::Horizontal) {
        widget(n)->setMaximumWidth(limit);
    } else {
        widget(n)->setMaximumHeight(limit);
    }
}

int XSplitterStatic::paneSize(int n) const {
    if (!isPane(n)) {
        return 0;
    }
    return panes_[n].pending.value_or(sizes().at(n));
}

void XSplitterStatic::setPaneSize(int n, int size, bool redraw) {
    if (!isPane(n)) {
        return;
    }
    if (hasArea() && redraw) {
        resizePanes({{n, size}});
        return;
    }
    panes_[n].pending = size;
    if (hasArea()) {
        // Lay out on the next pass of the event loop; requests posted meanwhile merge.
        QCoreApplication::postEvent(this, new QEvent(QEvent::LayoutRequest));
    }
}

int XSplitterStatic::naturalSize(int n) const {
    if (!isPane(n)) {
        return 0;
    }
    return extentOf(widget(n)->sizeHint());
}

void XSplitterStatic::activatePane(int n) {
    if (isPane(n)) {
        widget(n)->setFocus(Qt::OtherFocusReason);
    }
}

void XSplitterStatic::showPane(int n) {
    if (paneSize(n) == 0) {
        setPaneSize(n, naturalSize(n), true);
    }
    activatePane(n);
}

bool XSplitterStatic::event(QEvent* event) {
    const bool handled = QSplitter::event(event);
    // QSplitter lays its panes out again when it is shown and on a layout request.
    if (event->type() == QEvent::Show || event->type() == QEvent::LayoutRequest) {
        applyPendingSizes();
    }
    return handled;
}

void XSplitterStatic::resizeEvent(QResizeEvent* event) {
    // QSplitter shares a change of size among all panes; fixed panes get their old size back
    // and the others absorb the change. Sizes before the splitter first had room mean nothing.
    const bool keepFixed =
        hasArea() && extentOf(event->oldSize()) >= 1 && extentOf(event->size()) >= 1;
    const QList<int> before = keepFixed ? sizes() : QList<int>();
    QSplitter::resizeEvent(event);
    if (keepFixed) {
        std::vector<ChosenSize> fixedSizes;
        for (int n = 0; n < paneCount(); ++n) {
            if (panes_[n].fixed) {
                fixedSizes.push_back({n, before.at(n)});
            }
        }
        resizePanes(fixedSizes);
    }
    applyPendingSizes();
}

int XSplitterStatic::extentOf(const QSize& size) const {
    return orientation() == Qt::Horizontal ? size.width() : size.height();
}

int XSplitterStatic::maximumOf(int n) const {
    return extentOf(widget(n)->maximumSize());
}

bool XSplitterStatic::hasArea() const {
    return isVisible() && extentOf(contentsRect().size()) >= 1;
}

int XSplitterStatic::spaceForPanes() const {
    int space = extentOf(contentsRect().size());
    for (int i = 0; i < count(); ++i) {
        if (!handle(i)->isHidden()) {
            space -= extentOf(handle(i)->sizeHint());
        }
    }
    return space;
}

void XSplitterStatic::resizePanes(const std::vector<ChosenSize>& chosen) {
    const QList<int> current = sizes();
    QList<int> wanted = current;
    std::vector<bool> isChosen(static_cast<std::size_t>(paneCount()), false);
    for (const ChosenSize& pane : chosen) {
        wanted[pane.n] = std::clamp(pane.size, 0, maximumOf(pane.n));
        isChosen[pane.n] = true;
    }
    // The panes that take up the difference: neither chosen nor fixed, and not hidden, so that
    // a hidden pane stays hidden until it is given a size of its own.
    std::vector<int> absorbing;
    for (int i = 0; i < paneCount(); ++i) {
        if (!isChosen[i] && !panes_[i].fixed && current.at(i) > 0) {
            absorbing.push_back(i);
        }
    }
    if (!absorbing.empty()) {
        spreadDifference(wanted, absorbing);
    }
    if (wanted != current) {
        setSizes(wanted);
    }
}

void XSplitterStatic::spreadDifference(QList<int>& sizes, const std::vector<int>& absorbing) const {
    const int delta = spaceForPanes() - std::accumulate(sizes.cbegin(), sizes.cend(), 0);
    const int count = static_cast<int>(absorbing.size());
    // From the last pane to the first; the first one visited also takes the remainder. What a
    // limit cuts off is not handed on to another pane.
    int share = delta / count + delta % count;
    for (auto i = absorbing.crbegin(); i != absorbing.crend(); ++i) {
        sizes[*i] = std::clamp(sizes[*i] + share, 0, maximumOf(*i));
        share = delta / count;
    }
}

void XSplitterStatic::applyPendingSizes() {
    if (!hasArea()) {
        return;
    }
    // All pending sizes take effect together, so none of them absorbs another's difference.
    std::vector<ChosenSize> pendingSizes;
    for (int n = 0; n < paneCount(); ++n) {
        if (const std::optional<int> pending = std::exchange(panes_[n].pending, std::nullopt)) {
            pendingSizes.push_back({n, *pending});
        }
    }
    resizePanes(pendingSizes);
}

}  // namespace rova
