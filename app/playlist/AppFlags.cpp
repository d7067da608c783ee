#include "AppFlags.h"

#include <array>

namespace rova {

namespace {

struct StoredFlag {
    AppFlag flag;
    const char* key;
    int defaultValue;
};

constexpr std::array<StoredFlag, 4> kStoredFlags{{
    {AppFlag::AutoRun, "AutoRun", 1},
    {AppFlag::AdditiveOpen, "AdditiveOpen", 0},
    {AppFlag::RandomOrder, "RandomOrder", 0},
    {AppFlag::Pickup, "Pickup", 0},
}};

}  // namespace

void AppFlags::load(const SettingsStore& settings) {
    for (const StoredFlag& stored : kStoredFlags) {
        set(stored.flag,
            settings.getSettingInt(QString::fromLatin1(stored.key), stored.defaultValue) != 0);
    }
}

void AppFlags::set(AppFlag flag, bool on) {
    const auto bit = static_cast<std::uint32_t>(flag);
    bits_ = on ? bits_ | bit : bits_ & ~bit;
}

void AppFlags::toggle(AppFlag flag, SettingsStore& settings) {
    const bool on = !has(flag);
    set(flag, on);
    for (const StoredFlag& stored : kStoredFlags) {
        if (stored.flag == flag) {
            settings.setSettingInt(QString::fromLatin1(stored.key), on ? -1 : 0);
        }
    }
}

}  // namespace rova
