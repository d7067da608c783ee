#include <gtest/gtest.h>

#include "CommandText.h"

namespace rova {
namespace {

// One command as the sequence list shows it.
struct RowCase {
    CommandKeyword keyword;
    bool deathEnabled;
    double deathAfter;
    std::uint32_t deathType;
    double nextCommandAfter;
    const char* type;
    const char* death;
    const char* deathTypeText;
    const char* nextCommand;
};

TEST(CommandTextTest, RowShowsOnlyWhatEachKeywordUsesWithOneDecimal) {
    const RowCase cases[] = {
        {Keyword::Solo, true, 2.5, 1, 7.25, "new solo player", "after 2.5 sec", "decimate - fast",
         "after 7.3 sec"},
        {Keyword::New, false, 2.5, 3, 5.0, "new player", "indefinite", "", "after 5 sec"},
        {Keyword::New, true, 0.04, 2, 0.0, "new player", "after 0 sec", "decimate - slow",
         "after 0 sec"},
        {Keyword::Solo, true, 1.0, 0, 1.0, "new solo player", "after 1 sec", "immediate",
         "after 1 sec"},
        {Keyword::Change, true, 2.5, 1, 0.5, "change top player", "", "", "after 0.5 sec"},
        {Keyword::Kill, true, 2.5, 1, 0.5, "kill top player", "", "", "after 0.5 sec"},
        {Keyword::KillAll, true, 2.5, 1, 0.5, "kill all players", "", "", "after 0.5 sec"},
        {Keyword::Mark, true, 2.5, 1, 0.5, "repeat marker", "", "", ""},
        // The repeat count is the death time taken as a whole number.
        {Keyword::Repeat, true, 3.7, 1, 5.0, "repeat", "3 times", "", "after 5 sec"},
        {Keyword::Repeat, false, 3.7, 1, 5.0, "repeat", "infinite", "", "after 5 sec"},
        {CommandKeyword(FourCC("ABCD")), true, 2.5, 1, 5.0, "", "", "", ""},
    };
    for (const RowCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.keyword.index() << " " << c.type);
        Command command;
        command.restoreKeyword(c.keyword);
        command.setName("Intro", false);
        PlayerParameters& parameters = command.parameters();
        parameters.commandFlags = c.deathEnabled ? CommandFlags::DeathAfterEnabled : 0;
        parameters.deathAfter = c.deathAfter;
        parameters.deathType = c.deathType;
        parameters.nextCommandAfter = c.nextCommandAfter;
        const CommandRow row = CommandText::row(command);
        EXPECT_EQ(row.name, "Intro");
        EXPECT_EQ(row.type, c.type);
        EXPECT_EQ(row.death, c.death);
        EXPECT_EQ(row.deathType, c.deathTypeText);
        EXPECT_EQ(row.nextCommand, c.nextCommand);
    }
}

}  // namespace
}  // namespace rova
