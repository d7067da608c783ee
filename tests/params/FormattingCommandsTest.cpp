// The formatting commands routed by content kind: when each is enabled and ticked for text, a
// picture or no content, and what it does to the picture editor.

#include <gtest/gtest.h>

#include <QByteArray>

#include <vector>

#include "CharacterFormat.h"
#include "CommandKeyword.h"
#include "FormattingCommands.h"
#include "PictureEditorModel.h"
#include "QtGuiApplicationTest.h"
#include "RichTextDocument.h"

namespace rova {
namespace {

using C = FormattingCommand;
using State = FormattingCommandState;

constexpr ColourRef kWhite = 0xE0E0E0;

class CountingOwner final : public PictureEditorOwner {
  public:
    void pictureContentChanged() override { ++changes; }
    int changes = 0;
};

C sizeCommand(int points) {
    return static_cast<C>(static_cast<int>(C::Size7Points) + points - 7);
}

C colourCommand(int index) {
    return static_cast<C>(static_cast<int>(C::ColourBlack) + index);
}

// Every formatting command.
std::vector<C> allCommands() {
    std::vector<C> commands{C::Bold,
                            C::Italic,
                            C::Underline,
                            C::Font,
                            C::Rainbow,
                            C::DecreasePointsize,
                            C::IncreasePointsize};
    for (int points = 7; points <= 16; ++points) {
        commands.push_back(sizeCommand(points));
    }
    for (int index = 0; index < 8; ++index) {
        commands.push_back(colourCommand(index));
    }
    return commands;
}

class FormattingCommandsTest : public test::QtGuiApplicationTest {
  protected:
    void SetUp() override {
        // Bold 10-point white text, all selected; a 16-row picture with the red pen.
        ASSERT_TRUE(text_.streamIn(R"({\rtf1{\fonttbl{\f0 Arial;}}{\colortbl;)"
                                   R"(\red224\green224\blue224;}\f0\fs20\b\cf1 abc})"));
        text_.setSelection(0, -1);
        picture_.ensurePicture();
        picture_.setOwner(&owner_);
    }

    FormattingTarget target(FourCC kind) { return {kind, text_, picture_}; }
    State state(C command, FourCC kind) { return formattingCommandState(command, target(kind)); }

    RichTextDocument text_;
    CountingOwner owner_;
    PictureEditorModel picture_;
};

TEST_F(FormattingCommandsTest, StatesFollowTheContentKindAndWithoutContentNothingHappens) {
    struct Case {
        C command;
        State rich;
        State picture;
    };
    constexpr State off{false, false};
    constexpr State on{true, false};
    constexpr State ticked{true, true};
    const Case cases[] = {
        {C::Bold, ticked, off},         {C::Italic, on, off},
        {C::Underline, on, off},        {C::Font, on, off},
        {C::Rainbow, on, off},          {C::DecreasePointsize, on, on},
        {C::IncreasePointsize, on, on}, {sizeCommand(7), on, on},
        {sizeCommand(10), ticked, on},  {sizeCommand(16), on, ticked},
        {colourCommand(0), off, on},                                     // Black: the pen only
        {colourCommand(1), on, ticked},                                  // Red
        {colourCommand(2), on, on},     {colourCommand(7), ticked, on},  // White
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.command));
        EXPECT_EQ(state(c.command, content_kind::Rich), c.rich);
        EXPECT_EQ(state(c.command, content_kind::Picture), c.picture);
    }
    // Without content every command is off and does nothing.
    QByteArray rtfBefore;
    ASSERT_TRUE(text_.streamOutRtf(rtfBefore));
    for (const C command : allCommands()) {
        EXPECT_EQ(state(command, content_kind::None), off) << static_cast<int>(command);
        EXPECT_FALSE(performFormattingCommand(command, target(content_kind::None)));
    }
    QByteArray rtfAfter;
    ASSERT_TRUE(text_.streamOutRtf(rtfAfter));
    EXPECT_EQ(rtfAfter, rtfBefore);
    EXPECT_EQ(picture_.rows(), 16);
    EXPECT_EQ(picture_.penColour(), PictureEditorModel::kInitialPenColour);
}

TEST_F(FormattingCommandsTest, TextCommandsFormatTheSelection) {
    ASSERT_TRUE(performFormattingCommand(C::Bold, target(content_kind::Rich)));
    ASSERT_TRUE(performFormattingCommand(C::IncreasePointsize, target(content_kind::Rich)));
    ASSERT_TRUE(performFormattingCommand(colourCommand(4), target(content_kind::Rich)));  // Cyan
    const CharacterFormat format = text_.selectionFormat();
    EXPECT_EQ(format.effects & CharacterFormat::kBold, 0u);
    EXPECT_EQ(format.height, 220);
    EXPECT_EQ(format.colour, 0xFFFF00u);
    EXPECT_TRUE(state(sizeCommand(11), content_kind::Rich).checked);

    // Dialogs are the form's.
    EXPECT_FALSE(performFormattingCommand(C::Font, target(content_kind::Rich)));
    EXPECT_FALSE(performFormattingCommand(C::Rainbow, target(content_kind::Rich)));
    EXPECT_EQ(picture_.rows(), 16) << "text commands leave the picture alone";
}

TEST_F(FormattingCommandsTest, SizeAndColourCommandsSetTheRowsAndThePen) {
    struct Case {
        int rowsBefore;
        C command;
        int rowsAfter;
    };
    const Case cases[] = {
        {16, C::IncreasePointsize, 17}, {1, C::DecreasePointsize, 1}, {2, C::DecreasePointsize, 1},
        {16, sizeCommand(7), 7},        {3, sizeCommand(16), 16},     {16, C::Bold, 16},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.command));
        picture_.setRows(c.rowsBefore);
        const int changesBefore = owner_.changes;
        performFormattingCommand(c.command, target(content_kind::Picture));
        EXPECT_EQ(picture_.rows(), c.rowsAfter);
        EXPECT_EQ(picture_.workingPicture().height(), c.rowsAfter);
        EXPECT_EQ(owner_.changes > changesBefore, c.rowsAfter != c.rowsBefore)
            << "the form hears of changed rows";
    }

    EXPECT_TRUE(performFormattingCommand(colourCommand(7), target(content_kind::Picture)));
    EXPECT_EQ(picture_.penColour(), kWhite);
    EXPECT_TRUE(performFormattingCommand(colourCommand(0), target(content_kind::Picture)));
    EXPECT_EQ(picture_.penColour(), 0u);
    EXPECT_TRUE(state(colourCommand(0), content_kind::Picture).checked);
    EXPECT_EQ(text_.selectionFormat().colour, kWhite) << "the text keeps its colour";
}

}  // namespace
}  // namespace rova
