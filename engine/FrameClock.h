#pragma once

#include <atomic>
#include <cstdint>

#include "Clock.h"

namespace rova {

// Produces frames on a fixed grid of `period` milliseconds, catching up back to back when it
// falls behind, and tells how far the produced frames have reached (the frame time). Time is
// read through the injected Clock.
//
// Thread use: the worker thread runs tick(); the user-interface thread sets the rate, resets the
// lag and reads the frame time, without a lock. The lag is written by both: a tick settles it
// with a compare-and-swap, so a reset that lands while a frame is being composed is never
// overwritten by the tick's older value.
class FrameClock {
  public:
    static constexpr double kInitialFramesPerSecond = 8.0;

    explicit FrameClock(Clock& clock);

    Clock& clock() { return clock_; }

    double framesPerSecond() const { return framesPerSecond_.load(std::memory_order_relaxed); }
    std::uint32_t period() const { return period_.load(std::memory_order_relaxed); }
    // Rates below 1 frame per second (and NaN) become 1.
    void setFramesPerSecond(double framesPerSecond);

    // Starts the schedule: the first frame is due now and nothing lags.
    void begin();
    // Records the clock reading that the next tick works with.
    void readNow() { now_.store(clock_.nowMs(), std::memory_order_relaxed); }

    // Composes one frame when one is due and returns the milliseconds until the next is due
    // (zero or less: due at once).
    template <typename Compose>
    std::int32_t tick(Compose&& compose) {
        const std::uint32_t now = now_.load(std::memory_order_relaxed);
        const std::int32_t remaining = static_cast<std::int32_t>(due_ - now);
        if (remaining > 0) {
            return remaining;
        }
        lag_.fetch_add(now - due_, std::memory_order_relaxed);
        compose();
        scheduleNext(now);
        return static_cast<std::int32_t>(due_ - clock_.nowMs());
    }

    void resetLag() { lag_.store(0, std::memory_order_relaxed); }

    std::uint32_t now() const { return now_.load(std::memory_order_relaxed); }
    std::uint32_t due() const { return due_; }
    std::uint32_t lag() const { return lag_.load(std::memory_order_relaxed); }
    // The time up to which frames have been produced: now − lag.
    std::uint32_t frameTime() const { return now() - lag(); }

    // Stop handshake between the owner and the worker. The request bit is cleared only when a
    // worker is about to start, never by the loop itself, so a stop requested before the loop
    // begins still ends it.
    void prepareWorker() { state_.store(0); }
    void requestStop() { state_.fetch_or(kStopRequested); }
    bool stopRequested() const { return (state_.load() & kStopRequested) != 0; }
    void clearStopped() { state_.fetch_and(~kStopped); }
    void markStopped() { state_.fetch_or(kStopped); }
    bool stopped() const { return (state_.load() & kStopped) != 0; }

  private:
    static constexpr std::uint32_t kStopRequested = 0x1;
    static constexpr std::uint32_t kStopped = 0x2;

    void scheduleNext(std::uint32_t now);

    Clock& clock_;
    std::atomic<double> framesPerSecond_;
    std::atomic<std::uint32_t> period_;
    std::atomic<std::uint32_t> now_{0};
    std::atomic<std::uint32_t> lag_{0};
    std::uint32_t due_ = 0;  // touched by the worker (and begin) only
    std::atomic<std::uint32_t> state_{0};
};

}  // namespace rova
