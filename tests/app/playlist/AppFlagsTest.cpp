#include <gtest/gtest.h>

#include "AppFlags.h"
#include "MemorySettingsStore.h"

namespace rova {
namespace {

TEST(AppFlagsTest, LoadsTheUserSwitchesWithTheirDefaults) {
    MemorySettingsStore store;
    AppFlags flags;
    flags.load(store);
    EXPECT_TRUE(flags.has(AppFlag::AutoRun));
    EXPECT_FALSE(flags.has(AppFlag::AdditiveOpen));
    EXPECT_FALSE(flags.has(AppFlag::RandomOrder));
    EXPECT_FALSE(flags.has(AppFlag::Pickup));
    EXPECT_FALSE(flags.has(AppFlag::OpeningFromList));

    store.set("AutoRun", "0");
    store.set("AdditiveOpen", "-1");
    store.set("RandomOrder", "7");
    store.set("Pickup", "abc");
    flags.load(store);
    EXPECT_FALSE(flags.has(AppFlag::AutoRun));
    EXPECT_TRUE(flags.has(AppFlag::AdditiveOpen));
    EXPECT_TRUE(flags.has(AppFlag::RandomOrder));
    EXPECT_FALSE(flags.has(AppFlag::Pickup)) << "malformed gives the default";

    store.set("AutoRun", "");
    store.set("RandomOrder", "0");
    flags.load(store);
    EXPECT_TRUE(flags.has(AppFlag::AutoRun)) << "empty gives the default";
    EXPECT_FALSE(flags.has(AppFlag::RandomOrder)) << "a stored off turns a set switch off";
}

TEST(AppFlagsTest, TogglingWritesMinusOneOrZero) {
    MemorySettingsStore store;
    AppFlags flags;
    const std::pair<AppFlag, const char*> stored[] = {{AppFlag::AutoRun, "AutoRun"},
                                                      {AppFlag::AdditiveOpen, "AdditiveOpen"},
                                                      {AppFlag::RandomOrder, "RandomOrder"},
                                                      {AppFlag::Pickup, "Pickup"}};
    for (const auto& [flag, key] : stored) {
        flags.toggle(flag, store);
        EXPECT_TRUE(flags.has(flag)) << key;
        EXPECT_EQ(store.setting(key), "-1") << key;
        flags.toggle(flag, store);
        EXPECT_FALSE(flags.has(flag)) << key;
        EXPECT_EQ(store.setting(key), "0") << key;
    }
    // Each toggle touched only its own bit.
    flags.toggle(AppFlag::RandomOrder, store);
    EXPECT_FALSE(flags.has(AppFlag::AutoRun));
    EXPECT_FALSE(flags.has(AppFlag::Pickup));
    EXPECT_TRUE(flags.has(AppFlag::RandomOrder));
}

TEST(AppFlagsTest, OpeningFromListIsNeverStored) {
    MemorySettingsStore store;
    AppFlags flags;
    flags.set(AppFlag::OpeningFromList, true);
    EXPECT_TRUE(flags.has(AppFlag::OpeningFromList));
    flags.toggle(AppFlag::OpeningFromList, store);
    EXPECT_FALSE(flags.has(AppFlag::OpeningFromList));
    EXPECT_EQ(store.writeCount(), 0);

    flags.set(AppFlag::OpeningFromList, true);
    flags.load(store);
    EXPECT_TRUE(flags.has(AppFlag::OpeningFromList)) << "loading keeps the transient bit";
}

}  // namespace
}  // namespace rova
