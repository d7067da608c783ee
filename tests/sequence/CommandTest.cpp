#include <gtest/gtest.h>

#include <string_view>
#include <vector>

#include "Command.h"

namespace rova {
namespace {

std::vector<std::uint8_t> bufferOf(std::string_view text) {
    return {text.begin(), text.end()};
}

std::string_view textOf(const std::vector<std::uint8_t>& buffer) {
    return {reinterpret_cast<const char*>(buffer.data()), buffer.size()};
}

// The content a text command gets from the editor: plain text, NUL, RTF.
std::vector<std::uint8_t> richText(std::string_view plain) {
    std::string bytes(plain);
    bytes += '\0';
    bytes += "{\\rtf1 ";
    bytes += plain;
    bytes += "}";
    return bufferOf(bytes);
}

// The content of a picture command: path, NUL, the 12-byte display state, a packed picture.
std::vector<std::uint8_t> pictureContent(std::string_view path) {
    std::string bytes(path);
    bytes += '\0';
    bytes += std::string("\x0c\0\0\0\0\0\0\0\0\0\0\0", 12);
    bytes += "BITMAP";
    return bufferOf(bytes);
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

TEST(CommandTest, StartsAsANewSoloCommand) {
    Command command;
    expectNewCommand(command);
}

TEST(CommandTest, ResetForgetsEverything) {
    Command command;
    command.setKeyword(Keyword::Change);
    command.assignContent(content_kind::Rich, richText("Hi"));
    command.setName("typed", false);
    command.parameters().origin = 12.0;
    command.packedContent().allocate(3, 16);
    command.setRepeatCounter(4);

    command.reset();
    expectNewCommand(command);
}

TEST(CommandTest, NameFollowsTextAndPictureContent) {
    Command command;
    command.assignContent(content_kind::Rich, richText("Hello"));
    EXPECT_EQ(command.name(), "Hello");
    EXPECT_EQ(command.contentKind(), content_kind::Rich);

    command.assignContent(content_kind::Picture, pictureContent("C:\\pics\\star.bmp"));
    EXPECT_EQ(command.name(), "star.bmp");
    command.assignContent(content_kind::Picture, pictureContent("/home/me/pics/moon.bmp"));
    EXPECT_EQ(command.name(), "moon.bmp");
    command.assignContent(content_kind::Picture, pictureContent(""));
    EXPECT_EQ(command.name(), "");

    // Content without any NUL is its own name, whole.
    command.assignContent(content_kind::Rich, bufferOf("no terminator"));
    EXPECT_EQ(command.name(), "no terminator");

    command.setName("My title", false);
    command.assignContent(content_kind::Rich, richText("Other"));
    EXPECT_EQ(command.name(), "My title");
}

TEST(CommandTest, KeywordsThatShowNothingDropTheContent) {
    Command named;
    named.assignContent(content_kind::Rich, richText("Hello"));
    named.setKeyword(Keyword::Kill);
    EXPECT_EQ(named.contentKind(), content_kind::None);
    EXPECT_TRUE(named.content().empty());
    EXPECT_TRUE(named.name().empty());

    Command typed;
    typed.assignContent(content_kind::Rich, richText("Hello"));
    typed.setName("Intro", false);
    typed.setKeyword(Keyword::KillAll);
    EXPECT_TRUE(typed.content().empty());
    EXPECT_EQ(typed.name(), "Intro");

    Command changed;
    changed.assignContent(content_kind::Rich, richText("Kept"));
    changed.setKeyword(Keyword::Change);
    changed.setKeyword(Keyword::New);
    EXPECT_EQ(changed.contentKind(), content_kind::Rich);
    EXPECT_EQ(changed.name(), "Kept");
}

TEST(CommandTest, MarkZeroesTheNextCommandTime) {
    Command command;
    command.parameters().nextCommandAfter = 5.0;
    command.setKeyword(Keyword::Repeat);
    EXPECT_EQ(command.parameters().nextCommandAfter, 5.0);
    command.setKeyword(Keyword::Mark);
    EXPECT_EQ(command.parameters().nextCommandAfter, 0.0);
    EXPECT_EQ(command.keyword(), Keyword::Mark);
}

TEST(CommandTest, TakesRawContentBehindANul) {
    Command command;
    command.setName("letter.rtf", false);
    const std::vector<std::uint8_t> rtf{'{', '\\', 'r', 't', 'f', '1', '}'};
    ASSERT_TRUE(command.takeRawContent(content_kind::Rich, rtf));
    EXPECT_EQ(command.contentKind(), content_kind::Rich);
    EXPECT_EQ(textOf(command.content()), std::string_view("\0{\\rtf1}", 8));
    EXPECT_EQ(command.name(), "letter.rtf");

    ASSERT_TRUE(command.takeRawContent(content_kind::Picture, {}));
    EXPECT_EQ(command.contentKind(), content_kind::Picture);
    EXPECT_TRUE(command.content().empty());
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
    EXPECT_EQ(target.parameters().width, -33.0);
    EXPECT_EQ(target.name(), "Typed");
    EXPECT_FALSE(target.nameFollowsContent());
    EXPECT_EQ(target.contentKind(), content_kind::Rich);
    EXPECT_EQ(textOf(target.content()), textOf(source.content()));
    EXPECT_NE(target.content().data(), source.content().data());
    EXPECT_TRUE(target.packedContent().empty());
    EXPECT_EQ(target.repeatCounter(), 0u);
}

TEST(CommandKeywordTest, KnowsTheSevenCodesInTheirOrder) {
    const char* codes[] = {"SOLO", "NEW ", "CHNG", "KILL", "KILA", "MARK", "RPET"};
    for (int i = 0; i < CommandKeyword::kCount; ++i) {
        const CommandKeyword keyword(static_cast<Keyword>(i));
        std::array<std::uint8_t, 4> bytes{};
        keyword.code().toBytes(bytes);
        EXPECT_EQ(std::string(bytes.begin(), bytes.end()), codes[i]);
        EXPECT_EQ(keyword.index(), i);
        EXPECT_EQ(keyword.keepsContent(), i <= 2);
    }
    EXPECT_EQ(CommandKeyword(FourCC("NEWX")).index(), -1);
    EXPECT_EQ(CommandKeyword(FourCC("NEW_")).index(), -1);
    EXPECT_FALSE(CommandKeyword(FourCC("solo")).known());
}

}  // namespace
}  // namespace rova
