#include <gtest/gtest.h>

#include "CommandText.h"

namespace rova {
namespace {

Command commandOf(Keyword keyword) {
    Command command;
    command.setKeyword(keyword);
    return command;
}

TEST(CommandTextTest, NamesColumnsTypesAndDeathTypes) {
    EXPECT_EQ(CommandText::columnHeadings(),
              QStringList({"Name", "Type", "Death", "Death Type", "Next Command"}));
    const QStringList items = {"new solo player", "new player",       "change top player",
                               "kill top player", "kill all players", "repeat marker",
                               "repeat"};
    for (int i = 0; i < CommandKeyword::kCount; ++i) {
        EXPECT_EQ(CommandText::keywordItem(i), items[i]);
    }
    EXPECT_TRUE(CommandText::keywordItem(-1).isEmpty());
    EXPECT_EQ(CommandText::deathTypeItem(0), "immediate");
    EXPECT_EQ(CommandText::deathTypeItem(1), "decimate - fast");
    EXPECT_EQ(CommandText::deathTypeItem(2), "decimate - slow");
    EXPECT_TRUE(CommandText::deathTypeItem(3).isEmpty());
    EXPECT_TRUE(CommandText::deathTypeItem(4).isEmpty());
    EXPECT_TRUE(CommandText::deathTypeItem(77).isEmpty());
}

TEST(CommandTextTest, ShowsAPlayerCommandsDeathAndNextCommand) {
    Command solo = commandOf(Keyword::Solo);
    solo.setName("Intro", false);
    solo.parameters().deathAfter = 2.5;
    solo.parameters().commandFlags |= CommandFlags::DeathAfterEnabled;
    solo.parameters().deathType = 1;
    solo.parameters().nextCommandAfter = 7.25;
    CommandRow row = CommandText::row(solo);
    EXPECT_EQ(row.name, "Intro");
    EXPECT_EQ(row.type, "new solo player");
    EXPECT_EQ(row.death, "after 2.5 sec");
    EXPECT_EQ(row.deathType, "decimate - fast");
    EXPECT_EQ(row.nextCommand, "after 7.3 sec");

    Command player = commandOf(Keyword::New);
    player.parameters().commandFlags &= ~CommandFlags::DeathAfterEnabled;
    player.parameters().deathType = 3;
    row = CommandText::row(player);
    EXPECT_EQ(row.type, "new player");
    EXPECT_EQ(row.death, "indefinite");
    EXPECT_TRUE(row.deathType.isEmpty());
    EXPECT_EQ(row.nextCommand, "after 5 sec");
}

TEST(CommandTextTest, ShowsARepeatCount) {
    Command repeat = commandOf(Keyword::Repeat);
    repeat.parameters().deathAfter = 3.7;
    repeat.parameters().commandFlags |= CommandFlags::DeathAfterEnabled;
    CommandRow row = CommandText::row(repeat);
    EXPECT_EQ(row.type, "repeat");
    EXPECT_EQ(row.death, "3 times");
    EXPECT_TRUE(row.deathType.isEmpty());
    EXPECT_EQ(row.nextCommand, "after 5 sec");

    repeat.parameters().commandFlags &= ~CommandFlags::DeathAfterEnabled;
    EXPECT_EQ(CommandText::row(repeat).death, "infinite");
}

TEST(CommandTextTest, ShowsOnlyWhatOtherCommandsUse) {
    const CommandRow mark = CommandText::row(commandOf(Keyword::Mark));
    EXPECT_EQ(mark.type, "repeat marker");
    EXPECT_TRUE(mark.death.isEmpty());
    EXPECT_TRUE(mark.deathType.isEmpty());
    EXPECT_TRUE(mark.nextCommand.isEmpty());

    for (Keyword keyword : {Keyword::Change, Keyword::Kill, Keyword::KillAll}) {
        Command command = commandOf(keyword);
        command.parameters().commandFlags |= CommandFlags::DeathAfterEnabled;
        command.parameters().nextCommandAfter = 0.5;
        const CommandRow row = CommandText::row(command);
        EXPECT_TRUE(row.death.isEmpty());
        EXPECT_TRUE(row.deathType.isEmpty());
        EXPECT_EQ(row.nextCommand, "after 0.5 sec");
    }

    Command unknown;
    unknown.restoreKeyword(CommandKeyword(FourCC("ABCD")));
    unknown.setName("odd", false);
    const CommandRow row = CommandText::row(unknown);
    EXPECT_EQ(row.name, "odd");
    EXPECT_TRUE(row.type.isEmpty());
    EXPECT_TRUE(row.nextCommand.isEmpty());
}

}  // namespace
}  // namespace rova
