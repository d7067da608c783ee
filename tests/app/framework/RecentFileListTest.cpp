#include "RecentFileList.h"

#include <gtest/gtest.h>

#include "MemorySettingsStore.h"

namespace rova {
namespace {

// Nine entries at most: the oldest drops out, but moving an entry to the top drops nothing.
TEST(RecentFileList, KeepsTheNineNewestFirstWithoutRepeats) {
    RecentFileList list;
    list.add("/a.rova");
    list.add("/b.rova");
    list.add("/c.rova");
    list.add("/a.rova");
    list.add("");
    EXPECT_EQ(list.entries(), QStringList({"/a.rova", "/c.rova", "/b.rova"}));
    list.remove("/c.rova");
    list.remove("/not-listed.rova");
    EXPECT_EQ(list.entries(), QStringList({"/a.rova", "/b.rova"}));
    for (int i = 1; i <= 12; ++i) {
        list.add(QStringLiteral("/%1.rova").arg(i));
    }
    list.add("/4.rova");
    EXPECT_EQ(list.entries(), QStringList({"/4.rova", "/12.rova", "/11.rova", "/10.rova", "/9.rova",
                                           "/8.rova", "/7.rova", "/6.rova", "/5.rova"}));
}

// Only a whole folder name is the home folder; names differing in case do not clash.
TEST(RecentFileList, NamesThatClashShowTheirPathWithHomeAsTilde) {
    EXPECT_EQ(RecentFileList::displayNames(
                  {"/home/me/a/show.rova", "/srv/show.rova", "/home/me/other.rova"}, "/home/me"),
              QStringList({"~/a/show.rova", "/srv/show.rova", "other.rova"}));
    EXPECT_EQ(RecentFileList::displayNames({"/home/me2/x.rova", "/home/me/x.rova", "/y/X.rova"},
                                           "/home/me"),
              QStringList({"/home/me2/x.rova", "~/x.rova", "X.rova"}));
}

// Saved as File1, File2, ...: a removed entry does not come back; loading skips empty and
// repeated values and replaces what the list held.
TEST(RecentFileList, SavesAndLoadsThroughTheSettings) {
    MemorySettingsStore settings;
    RecentFileList list;
    list.add("/old.rova");
    list.add("/new.rova");
    list.save(settings);
    RecentFileList loaded;
    loaded.add("/replaced.rova");
    loaded.load(settings);
    EXPECT_EQ(loaded.entries(), QStringList({"/new.rova", "/old.rova"}));
    list.remove("/new.rova");
    list.save(settings);
    EXPECT_EQ(settings.readString("Recent File List", "File1"), "/old.rova");
    EXPECT_EQ(settings.readString("Recent File List", "File2"), std::nullopt);

    settings.writeString("Recent File List", "File2", "");
    settings.writeString("Recent File List", "File3", "/old.rova");
    settings.writeString("Recent File List", "File4", "/b.rova");
    settings.writeString("Recent File List", "File10", "/beyond.rova");
    loaded.load(settings);
    EXPECT_EQ(loaded.entries(), QStringList({"/old.rova", "/b.rova"}));
}

}  // namespace
}  // namespace rova
