#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace rova {

// A millisecond clock that wraps at 32 bits, and a way to wait on it. The frame loop and the
// sequence runner read time only through this interface, so tests and headless tools can drive
// them in virtual time.
class Clock {
  public:
    virtual ~Clock() = default;
    virtual std::uint32_t nowMs() = 0;
    // Waits about `ms` milliseconds. Returns early when wake() is called during the wait, or was
    // called since the last wait returned, so a wake-up is never lost.
    virtual void sleepFor(std::uint32_t ms) = 0;
    virtual void wake() = 0;
};

// The machine's monotonic clock.
class SteadyClock final : public Clock {
  public:
    std::uint32_t nowMs() override;
    void sleepFor(std::uint32_t ms) override;
    void wake() override;

  private:
    std::mutex mutex_;
    std::condition_variable woken_;
    bool wakePending_ = false;
};

// Time that moves only when someone sleeps on it or advances it: a sleep of n ms returns at once
// with the clock n ms later. Lets the frame loop run deterministically, as fast as it can.
class VirtualClock final : public Clock {
  public:
    explicit VirtualClock(std::uint32_t startMs = 0) : now_(startMs) {}
    std::uint32_t nowMs() override { return now_.load(); }
    void sleepFor(std::uint32_t ms) override { now_.fetch_add(ms); }
    void wake() override {}

    void set(std::uint32_t ms) { now_.store(ms); }
    void advance(std::uint32_t ms) { now_.fetch_add(ms); }

  private:
    std::atomic<std::uint32_t> now_;
};

}  // namespace rova
