#include <gtest/gtest.h>

#include <string_view>
#include <tuple>
#include <vector>

#include "Command.h"
#include "CommandText.h"
#include "TestCommands.h"

namespace rova {
namespace {

using test::bytesOf;

// The content a text command gets from the editor: plain text, NUL, RTF.
std::vector<std::uint8_t> richText(const std::string& plain) {
    return bytesOf(plain + '\0' + "{\\rtf1 " + plain + "}");
}

// The content of a picture command: path, NUL, then the display state and the packed picture.
std::vector<std::uint8_t> pictureContent(const std::string& path) {
    return bytesOf(path + '\0' + "display state, BITMAP");
}

// Everything a command holds, as one value: keyword, name, whether the name follows the content,
// the record's bytes, content kind and bytes, packed columns and the repeat counter.
auto held(const Command& c) {
    return std::tuple(c.keyword(), c.name(), c.nameFollowsContent(), c.parameters().toBytes(),
                      c.contentKind(), c.content(), c.packedContent().columnCount(),
                      c.repeatCounter());
}

TEST(CommandTest, NewAndResetCommandsAreEmptySoloCommands) {
    const auto empty =
        std::tuple(CommandKeyword(Keyword::Solo), std::string(), true, PlayerParameters{}.toBytes(),
                   content_kind::None, std::vector<std::uint8_t>{}, 0u, 0u);
    Command command;
    EXPECT_EQ(held(command), empty);
    command.setKeyword(Keyword::Change);
    command.assignContent(content_kind::Rich, richText("Hi"));
    command.setName("typed", false);
    command.parameters().origin = 12.0;
    command.packedContent().allocate(3, 16);
    command.setRepeatCounter(4);
    command.reset();
    EXPECT_EQ(held(command), empty);
}

TEST(CommandTest, NameFollowsTextAndPictureContentUntilOneIsTyped) {
    Command command;
    command.assignContent(content_kind::Rich, richText("Hello"));
    EXPECT_EQ(command.name(), "Hello");
    // Paths stored on other systems may use backslashes.
    for (const auto& [path, name] : {std::pair{"C:\\pics\\star.bmp", "star.bmp"},
                                     {"/home/me/pics/moon.bmp", "moon.bmp"},
                                     {"", ""}}) {
        command.assignContent(content_kind::Picture, pictureContent(path));
        EXPECT_EQ(command.name(), name);
    }
    // Content without any NUL is its own name, whole.
    command.assignContent(content_kind::Rich, bytesOf("no terminator"));
    EXPECT_EQ(command.name(), "no terminator");

    command.setName("My title", false);
    command.assignContent(content_kind::Rich, richText("Other"));
    EXPECT_EQ(command.name(), "My title");
}

TEST(CommandTest, KeywordsThatShowNothingDropTheContentAndMarkDropsItsTime) {
    for (const Keyword keyword :
         {Keyword::Kill, Keyword::KillAll, Keyword::Mark, Keyword::Repeat}) {
        SCOPED_TRACE(static_cast<int>(keyword));
        Command command;
        command.assignContent(content_kind::Rich, richText("Hello"));
        command.parameters().nextCommandAfter = 5.0;
        command.setKeyword(keyword);
        EXPECT_EQ(command.contentKind(), content_kind::None);
        EXPECT_TRUE(command.content().empty());
        EXPECT_TRUE(command.name().empty()) << "a name that followed the content goes with it";
        EXPECT_EQ(command.parameters().nextCommandAfter, keyword == Keyword::Mark ? 0.0 : 5.0);
    }
    Command typed;
    typed.assignContent(content_kind::Rich, richText("Hello"));
    typed.setName("Intro", false);
    typed.setKeyword(Keyword::KillAll);
    EXPECT_EQ(typed.name(), "Intro");

    Command changed;
    changed.assignContent(content_kind::Rich, richText("Kept"));
    changed.setKeyword(Keyword::Change);
    changed.setKeyword(Keyword::New);
    EXPECT_EQ(changed.contentKind(), content_kind::Rich);
    EXPECT_EQ(changed.name(), "Kept");
}

TEST(CommandTest, CopiesTheRecordButNotItsRunTimeState) {
    Command source;
    source.setKeyword(Keyword::New);
    source.parameters().width = -33.0;
    source.assignContent(content_kind::Rich, richText("Copied"));
    source.setName("Typed", false);
    source.packedContent().allocate(5, 16);
    source.setRepeatCounter(3);

    Command target;
    ASSERT_TRUE(target.copyFrom(source));
    auto expected = held(source);
    std::get<6>(expected) = 0;  // no packed columns
    std::get<7>(expected) = 0;  // nor repeats
    EXPECT_EQ(held(target), expected);
}

TEST(CommandTextTest, RowShowsOnlyWhatEachKeywordUsesWithOneDecimal) {
    const struct {
        CommandKeyword keyword;
        bool deathEnabled;
        double deathAfter;
        std::uint32_t deathType;
        double nextCommandAfter;
        const char* shown;  // type, death, death type and next command, '|' between them
    } cases[] = {
        {Keyword::Solo, true, 2.5, 1, 7.25,
         "new solo player|after 2.5 sec|decimate - fast|after 7.3 sec"},
        {Keyword::New, false, 2.5, 3, 5.0, "new player|indefinite||after 5 sec"},
        {Keyword::New, true, 0.04, 2, 0.0, "new player|after 0 sec|decimate - slow|after 0 sec"},
        {Keyword::Change, true, 2.5, 1, 0.5, "change top player|||after 0.5 sec"},
        {Keyword::Mark, true, 2.5, 1, 0.5, "repeat marker|||"},
        // The repeat count is the death time taken as a whole number.
        {Keyword::Repeat, true, 3.7, 1, 5.0, "repeat|3 times||after 5 sec"},
        {Keyword::Repeat, false, 3.7, 1, 5.0, "repeat|infinite||after 5 sec"},
        {CommandKeyword(FourCC("ABCD")), true, 2.5, 1, 5.0, "|||"},
    };
    for (const auto& c : cases) {
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
        EXPECT_EQ(QStringList({row.type, row.death, row.deathType, row.nextCommand}).join('|'),
                  c.shown);
    }
}

}  // namespace
}  // namespace rova
