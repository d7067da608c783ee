#include "FrameClock.h"

namespace rova {

FrameClock::FrameClock(Clock& clock) : clock_(clock), framesPerSecond_(0.0), period_(0) {
    setFramesPerSecond(kInitialFramesPerSecond);
}

void FrameClock::setFramesPerSecond(double framesPerSecond) {
    const double rate = framesPerSecond >= 1.0 ? framesPerSecond : 1.0;
    framesPerSecond_.store(rate, std::memory_order_relaxed);
    // At least 1 ms: above 2000 frames a second the rounded period would be 0 and the worker
    // would compose without ever waiting.
    const auto period = static_cast<std::uint32_t>(1000.0 / rate + 0.5);
    period_.store(period > 0 ? period : 1, std::memory_order_relaxed);
}

void FrameClock::begin() {
    const std::uint32_t start = clock_.nowMs();
    now_.store(start, std::memory_order_relaxed);
    due_ = start;
    lag_.store(0, std::memory_order_relaxed);
}

void FrameClock::scheduleNext(std::uint32_t now) {
    const std::uint32_t framePeriod = period();
    std::uint32_t lag = lag_.load(std::memory_order_relaxed);
    std::uint32_t nextDue = 0;
    std::uint32_t nextLag = 0;
    do {
        if (lag <= framePeriod) {
            // On time (or within one period): back onto the grid, measured from this frame.
            nextDue = now - lag + framePeriod;
            nextLag = 0;
        } else {
            // More than a period behind: the next frame is due at once, a period less behind.
            nextDue = now;
            nextLag = lag - framePeriod;
        }
    } while (!lag_.compare_exchange_weak(lag, nextLag, std::memory_order_relaxed));
    due_ = nextDue;
}

}  // namespace rova
