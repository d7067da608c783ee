#include "RecentFileList.h"

#include <gtest/gtest.h>

#include "MemorySettingsStore.h"

namespace rova {
namespace {

TEST(RecentFileList, KeepsTheNewestFirstWithoutRepeats) {
    RecentFileList list;
    list.add("/a.rova");
    list.add("/b.rova");
    list.add("/c.rova");
    EXPECT_EQ(list.entries(), QStringList({"/c.rova", "/b.rova", "/a.rova"}));

    list.add("/a.rova");
    EXPECT_EQ(list.entries(), QStringList({"/a.rova", "/c.rova", "/b.rova"}));

    list.add("");
    list.remove("/c.rova");
    list.remove("/not-listed.rova");
    EXPECT_EQ(list.entries(), QStringList({"/a.rova", "/b.rova"}));
}

TEST(RecentFileList, NamesThatClashShowTheirPathWithHomeAsTilde) {
    const QString home = QStringLiteral("/home/me");
    const struct {
        QStringList paths;
        QStringList shown;
    } cases[] = {
        {{"/home/me/a/show.rova", "/srv/show.rova", "/home/me/other.rova"},
         {"~/a/show.rova", "/srv/show.rova", "other.rova"}},
        // Only a whole folder name is the home folder; names differing in case do not clash.
        {{"/home/me2/x.rova", "/home/me/x.rova", "/y/X.rova"},
         {"/home/me2/x.rova", "~/x.rova", "X.rova"}},
        {{"/a/b.rova"}, {"b.rova"}},
    };
    for (const auto& [paths, shown] : cases) {
        EXPECT_EQ(RecentFileList::displayNames(paths, home), shown)
            << paths.join(u' ').toStdString();
    }
}

TEST(RecentFileList, DropsTheOldestBeyondNineEntries) {
    RecentFileList list;
    for (int i = 1; i <= 12; ++i) {
        list.add(QStringLiteral("/%1.rova").arg(i));
    }
    ASSERT_EQ(list.entries().size(), 9);
    EXPECT_EQ(list.entries().first(), "/12.rova");
    EXPECT_EQ(list.entries().last(), "/4.rova");

    // Moving an entry of a full list to the top drops nothing.
    list.add("/4.rova");
    ASSERT_EQ(list.entries().size(), 9);
    EXPECT_EQ(list.entries().first(), "/4.rova");
    EXPECT_EQ(list.entries().last(), "/5.rova");
}

TEST(RecentFileList, SavesAndLoadsThroughTheSettings) {
    MemorySettingsStore settings;
    RecentFileList list;
    list.add("/old.rova");
    list.add("/new.rova");
    list.save(settings);
    EXPECT_EQ(settings.readString("Recent File List", "File1"), "/new.rova");
    EXPECT_EQ(settings.readString("Recent File List", "File2"), "/old.rova");
    EXPECT_EQ(settings.readString("Recent File List", "File3"), std::nullopt);

    RecentFileList loaded;
    loaded.load(settings);
    EXPECT_EQ(loaded.entries(), list.entries());

    // A removed entry does not come back from the settings.
    list.remove("/new.rova");
    list.save(settings);
    EXPECT_EQ(settings.readString("Recent File List", "File1"), "/old.rova");
    EXPECT_EQ(settings.readString("Recent File List", "File2"), std::nullopt);
}

TEST(RecentFileList, LoadingSkipsEmptyAndRepeatedValues) {
    MemorySettingsStore settings;
    settings.writeString("Recent File List", "File1", "/a.rova");
    settings.writeString("Recent File List", "File2", "");
    settings.writeString("Recent File List", "File3", "/a.rova");
    settings.writeString("Recent File List", "File4", "/b.rova");
    settings.writeString("Recent File List", "File10", "/beyond.rova");
    RecentFileList list;
    list.add("/replaced.rova");
    list.load(settings);
    EXPECT_EQ(list.entries(), QStringList({"/a.rova", "/b.rova"}));
}

}  // namespace
}  // namespace rova
