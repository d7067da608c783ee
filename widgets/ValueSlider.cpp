#include "ValueSlider.h"

#include <QtGlobal>
#include <algorithm>
#include <cmath>

namespace rova {
namespace {

// The tick interval, in positions, for a slider whose longer side is `length` pixels and that
// has `count` positions; 0 when not even one tick fits.
int ticksApart(int length, int count) {
    const int most = (length - 10) / 3;
    if (most <= 0) {
        return 0;
    }
    const int intervals = count - 1;
    if (intervals <= most) {
        return 1;
    }
    int interval = 2;
    while (intervals / interval > most) {
        ++interval;
    }
    return interval;
}

}  // namespace

ValueSlider::ValueSlider(double from, double to, double step, Qt::Orientation orientation,
                         QWidget* parent)
    : QSlider(orientation, parent),
      first_(from),
      step_(to <= from ? -std::abs(step) : std::abs(step)),
      count_(static_cast<int>((to - from) / step_) + 1) {
    Q_ASSERT(step > 0.0);
    setRange(0, count_ - 1);
    // One page is a fifth of the range, as on the platform's own trackbars.
    setPageStep(std::max(1, (count_ - 1) / 5));
    setTickPosition(TicksBelow);
    if (orientation == Qt::Vertical) {
        // Position 0 at the top; the up arrow key and the wheel turned up move towards it.
        setInvertedAppearance(true);
        setInvertedControls(true);
    }
}

int ValueSlider::positionOf(double value) const {
    const double position = std::trunc((value - first_) / step_ + 0.5);
    // Also catches a value that is not a number: every comparison with it is false.
    if (!(position > 0.0)) {
        return 0;
    }
    return position < count_ - 1 ? static_cast<int>(position) : count_ - 1;
}

void ValueSlider::setUp() {
    const int interval = ticksApart(std::max(width(), height()), count_);
    setTickPosition(interval > 0 ? TicksBelow : NoTicks);
    setTickInterval(interval);
}

void ValueSlider::resizeEvent(QResizeEvent* event) {
    QSlider::resizeEvent(event);
    setUp();
}

}  // namespace rova
