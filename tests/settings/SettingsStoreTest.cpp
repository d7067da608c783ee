#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "MemorySettingsStore.h"
#include "QtSettingsStore.h"

namespace rova {
namespace {

TEST(SettingsStore, IntegersAreReadFromTheFirstFifteenCharactersSaturatingOrElseTheDefault) {
    MemorySettingsStore store;
    EXPECT_EQ(store.getSettingInt("AutoRun", 1), 1) << "missing";
    constexpr int kMax = std::numeric_limits<int>::max();
    constexpr int kMin = std::numeric_limits<int>::min();
    const std::pair<const char*, int> cases[] = {
        {"0", 0},  {"-1", -1}, {"1", 1}, {"7", 7}, {"  42xyz", 42},
        {"+5", 5}, {"abc", 1}, {"", 1},  {"-", 1}, {" ", 1},
    };
    for (const auto& [text, expected] : cases) {
        store.set("AutoRun", text);
        EXPECT_EQ(store.getSettingInt("AutoRun", 1), expected) << '"' << text << '"';
    }
    store.set("Big", "12345678901234567890");
    EXPECT_EQ(store.getSettingInt("Big", 0), kMax);
    store.set("Big", "          123456");  // the sixteenth character is cut off
    EXPECT_EQ(store.getSettingInt("Big", 0), 12345);
    store.set("Big", "-99999999999");
    EXPECT_EQ(store.getSettingInt("Big", 0), kMin);
    // The parser itself takes any length of digits without overflowing.
    EXPECT_EQ(parseLeadingInteger(QString(400, u'9')), kMax);
    EXPECT_EQ(parseLeadingInteger(u'-' + QString(400, u'9')), kMin);
    EXPECT_EQ(parseLeadingInteger(QStringLiteral("2147483647")), kMax);
    EXPECT_EQ(parseLeadingInteger(QStringLiteral("-2147483648")), kMin);
}

TEST(SettingsStore, AnEqualNonEmptyValueIsNotWrittenAgain) {
    MemorySettingsStore store;
    EXPECT_TRUE(store.setSettingString("Pickup Folder", QString("/srv/in")));
    EXPECT_EQ(store.writeCount(), 1);
    EXPECT_TRUE(store.setSettingString("Pickup Folder", QString("/srv/in")));
    EXPECT_EQ(store.writeCount(), 1) << "same value";
    store.setSettingString("Pickup Folder", QString("/SRV/in"));
    EXPECT_EQ(store.writeCount(), 2) << "letter case differs";
    store.setSettingString("Empty", QString());
    store.setSettingString("Empty", QString());
    EXPECT_EQ(store.writeCount(), 4) << "an empty stored value is always written";
    store.setSettingString("Pickup Folder", std::nullopt);
    EXPECT_EQ(store.readString(SettingsStore::kSettingsSection, "Pickup Folder"), std::nullopt);
}

TEST(SettingsStore, StringsComeBackWholeOrAsTheDefault) {
    MemorySettingsStore store;
    QString value;
    EXPECT_TRUE(store.getSettingString(value, "TextRainbow", "fallback"));
    EXPECT_EQ(value, "fallback");
    store.set("TextRainbow", "");
    EXPECT_FALSE(store.getSettingString(value, "TextRainbow", "fallback"));
    EXPECT_EQ(value, "");
    const QString longValue(2000, u'x');
    store.set("TextRainbow", longValue);
    EXPECT_TRUE(store.getSettingString(value, "TextRainbow", {}));
    EXPECT_EQ(value, longValue);
}

TEST(QtSettingsStore, KeepsTextValuesBySectionInAnIniFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("Rova.ini");
    {
        QtSettingsStore store(path);
        store.setSettingInt("RotorRadius", -74000);
        store.setSettingString("Pickup Folder", QString("/tmp/a, b; c=d"));
        store.writeString("Window States", "Main", QString("0 0 640 480"));
        store.setSettingString("TextRainbow", QString(3000, u'r'));
        store.setSettingString("Gone", QString("soon"));
        store.setSettingString("Gone", std::nullopt);
        store.sync();
    }
    QtSettingsStore reread(path);
    EXPECT_EQ(reread.readString("Settings", "RotorRadius"), QString("-74000"));
    QString folder;
    reread.getSettingString(folder, "Pickup Folder", {});
    EXPECT_EQ(folder, "/tmp/a, b; c=d");
    EXPECT_EQ(reread.readString("Window States", "Main"), QString("0 0 640 480"));
    EXPECT_EQ(reread.readString("Settings", "TextRainbow")->size(), 3000);
    EXPECT_EQ(reread.readString("Settings", "Gone"), std::nullopt);
}

TEST(QtSettingsStore, TheDefaultStoreLivesUnderTheTestsOwnConfigFolder) {
    QtSettingsStore store;
    store.setSettingInt("Probe", 1);
    store.sync();
    const QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    ASSERT_FALSE(config.isEmpty());
    EXPECT_TRUE(QDir(config).exists("Mirelight/Rova.ini"));
}

}  // namespace
}  // namespace rova
