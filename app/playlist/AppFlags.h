#pragma once

#include <cstdint>

#include "SettingsStore.h"

namespace rova {

// The application's switches, as bits of one word.
enum class AppFlag : std::uint32_t {
    AutoRun = 1,
    AdditiveOpen = 2,
    RandomOrder = 4,
    Pickup = 8,
    // Set only while the application opens or clears a document on behalf of the playlist.
    OpeningFromList = 16,
};

// The switch word. The first four switches are the user's and live in the settings; the last one
// is transient.
class AppFlags {
  public:
    // Reads the user's switches (AutoRun on by default, the others off); a nonzero value is on.
    void load(const SettingsStore& settings);
    bool has(AppFlag flag) const { return (bits_ & static_cast<std::uint32_t>(flag)) != 0; }
    void set(AppFlag flag, bool on);
    // Flips the switch and stores its new state as -1 (on) or 0 (off). OpeningFromList has no
    // setting: it is only flipped.
    void toggle(AppFlag flag, SettingsStore& settings);

  private:
    std::uint32_t bits_ = 0;
};

}  // namespace rova
