#include "Clock.h"

#include <chrono>

namespace rova {

std::uint32_t SteadyClock::nowMs() {
    const auto sinceEpoch = std::chrono::steady_clock::now().time_since_epoch();
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(sinceEpoch).count();
    return static_cast<std::uint32_t>(ms);  // wraps like a 32-bit millisecond counter
}

void SteadyClock::sleepFor(std::uint32_t ms) {
    std::unique_lock lock(mutex_);
    woken_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return wakePending_; });
    wakePending_ = false;
}

void SteadyClock::wake() {
    {
        std::lock_guard lock(mutex_);
        wakePending_ = true;
    }
    woken_.notify_all();
}

}  // namespace rova
