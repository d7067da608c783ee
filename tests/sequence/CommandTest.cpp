#include <gtest/gtest.h>

#include <string_view>
#include <vector>

#include "Command.h"

namespace rova {
namespace {

std::vector<std::uint8_t> bufferOf(std::string_view text) {
    return {text.begin(), text.end()};
}

// The content a text command gets from the editor: plain text, NUL, RTF.
std::vector<std::uint8_t> richText(const std::string& plain) {
    return bufferOf(plain + '\0' + "{\\rtf1 " + plain + "}");
}

// The content of a picture command: path, NUL, then the display state and the packed picture.
std::vector<std::uint8_t> pictureContent(const std::string& path) {
    return bufferOf(path + '\0' + "display state, BITMAP");
}

// Checks everything a new command holds: keyword "SOLO", an empty name that follows the
// content, default parameters, no content and no repeats.
void expectNewCommand(const Command& command) {
    EXPECT_EQ(command.keyword(), Keyword::Solo);
    EXPECT_TRUE(command.name().empty());
    EXPECT_TRUE(command.nameFollowsContent());
    EXPECT_EQ(command.parameters().toBytes(), PlayerParameters{}.toBytes());
    EXPECT_EQ(command.contentKind(), content_kind::None);
    EXPECT_TRUE(command.content().empty());
    EXPECT_TRUE(command.packedContent().empty());
    EXPECT_EQ(command.repeatCounter(), 0u);
}

TEST(CommandTest, NewAndResetCommandsAreEmptySoloCommands) {
    Command command;
    expectNewCommand(command);
    command.setKeyword(Keyword::Change);
    command.assignContent(content_kind::Rich, richText("Hi"));
    command.setName("typed", false);
    command.parameters().origin = 12.0;
    command.packedContent().allocate(3, 16);
    command.setRepeatCounter(4);
    command.reset();
    expectNewCommand(command);
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
    command.assignContent(content_kind::Rich, bufferOf("no terminator"));
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
    EXPECT_EQ(target.keyword(), Keyword::New);
    EXPECT_EQ(target.parameters().toBytes(), source.parameters().toBytes());
    EXPECT_EQ(target.name(), "Typed");
    EXPECT_FALSE(target.nameFollowsContent());
    EXPECT_EQ(target.contentKind(), content_kind::Rich);
    EXPECT_EQ(target.content(), source.content());
    EXPECT_TRUE(target.packedContent().empty());
    EXPECT_EQ(target.repeatCounter(), 0u);
}

}  // namespace
}  // namespace rova
