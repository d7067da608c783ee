// The formatting commands' operations on the selection of a rich-text document: effects
// toggled by the uniform-attribute mask, sizes in twips, colours, and when each is ticked.

#include <gtest/gtest.h>

#include <QByteArray>

#include "RichTextDocument.h"
#include "TextFormatting.h"
#include "TextTestSupport.h"

namespace rova {
namespace {

using test::formatsOf;
using test::fullFormat;

class TextFormattingTest : public test::QtGuiApplicationTest {
  protected:
    void SetUp() override { text_.setDefaultFormat(fullFormat("Arial", 240, 0, 0)); }

    // Loads the RTF body (after the font table, font 0 Arial) and selects all of it.
    void load(const char* body) {
        const QByteArray rtf = QByteArray(R"({\rtf1{\fonttbl{\f0 Arial;}}\f0 )") + body + "}";
        ASSERT_TRUE(text_.streamIn(rtf));
        text_.setSelection(0, -1);
    }

    std::vector<CharacterFormat> formats() const {
        return formatsOf(text_.document(), text_.defaultFormat());
    }

    RichTextDocument text_;
};

TEST_F(TextFormattingTest, EffectOnAHalfSetSelectionBecomesTheOppositeOfTheFirstCharacters) {
    struct Case {
        const char* body;
        std::uint32_t effect;
        bool result;
    };
    const Case cases[] = {
        {R"(\b ab\b0 cd)", CharacterFormat::kBold, false},
        {R"(ab\b cd)", CharacterFormat::kBold, true},
        {R"(\i ab\i0 cd)", CharacterFormat::kItalic, false},
        {R"(ab\i cd)", CharacterFormat::kItalic, true},
        {R"(\ul ab\ulnone cd)", CharacterFormat::kUnderline, false},
        {R"(ab\ul cd)", CharacterFormat::kUnderline, true},
        // Uniform selections simply flip.
        {R"(\b abcd)", CharacterFormat::kBold, false},
        {R"(abcd)", CharacterFormat::kItalic, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.body);
        load(c.body);
        const bool uniformBefore = (text_.selectionFormat().mask & c.effect) != 0;
        EXPECT_EQ(effectChecked(text_.selectionFormat(), c.effect), uniformBefore && !c.result);

        toggleEffect(text_, c.effect);

        const CharacterFormat after = text_.selectionFormat();
        EXPECT_TRUE(after.mask & c.effect) << "the effect is uniform afterwards";
        EXPECT_EQ(effectChecked(after, c.effect), c.result);
        for (const CharacterFormat& format : formats()) {
            EXPECT_EQ(format.effects & ~c.effect, 0u) << "other effects are left alone";
        }
    }
}

TEST_F(TextFormattingTest, PointSizeIsTickedWhenTheUniformSizeRoundsToIt) {
    struct Case {
        const char* body;
        int ticked;  // 0: none of 7 to 16
    };
    const Case cases[] = {
        {R"(\fs20 ab)", 10},  // 200 twips
        {R"(\fs21 ab)", 11},  // 210 twips: (210 + 10) / 20
        {R"(\fs19 ab)", 10},  // 190 twips
        {R"(\fs14 ab)", 7},       {R"(\fs32 ab)", 16}, {R"(\fs34 ab)", 0},  // 17 points
        {R"(\fs20 a\fs22 b)", 0},                                           // mixed sizes
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.body);
        load(c.body);
        for (int points = 7; points <= 16; ++points) {
            EXPECT_EQ(pointSizeChecked(text_.selectionFormat(), points), points == c.ticked)
                << points << " points";
        }
    }
}

TEST_F(TextFormattingTest, SizeCommandsSetTwipsAndIgnoreSizesBelowOnePoint) {
    struct Case {
        const char* body;
        int absolute;  // 0: a step instead
        int step;
        bool applied;
        int height;
    };
    const Case cases[] = {
        {R"(\fs20 ab)", 0, +1, true, 220},
        {R"(\fs20 ab)", 0, -1, true, 180},
        {R"(\fs2 ab)", 0, -1, false, 20},  // 1-point text stays
        {R"(\fs4 ab)", 0, -1, true, 20},
        {R"(\fs20 a\fs40 b)", 0, +1, true, 220},  // the first character's size, stepped
        {R"(\fs20 ab)", 7, 0, true, 140},
        {R"(\fs20 ab)", 16, 0, true, 320},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.body << " " << c.absolute << " " << c.step);
        load(c.body);
        const bool applied =
            c.absolute > 0 ? setPointSize(text_, c.absolute) : stepPointSize(text_, c.step);
        EXPECT_EQ(applied, c.applied);
        const CharacterFormat after = text_.selectionFormat();
        EXPECT_TRUE(after.mask & CharacterFormat::kHeight);
        EXPECT_EQ(after.height, c.height);
    }
}

TEST_F(TextFormattingTest, ColourIsSetOnTheSelectionAloneAndTickedWhenUniform) {
    load(R"(\b abcd)");
    text_.setSelection(1, 3);
    setTextColour(text_, text_colour::White);

    const std::vector<CharacterFormat> after = formats();
    // White is the light grey of the lamps' white, not pure white.
    const ColourRef colours[] = {0, 0xE0E0E0, 0xE0E0E0, 0};
    for (std::size_t i = 0; i < std::size(colours); ++i) {
        EXPECT_EQ(after[i].colour, colours[i]) << i;
        EXPECT_EQ(after[i].effects, CharacterFormat::kBold) << i;
    }
    EXPECT_TRUE(colourChecked(text_.selectionFormat(), text_colour::White));
    EXPECT_FALSE(colourChecked(text_.selectionFormat(), text_colour::Red));
    text_.setSelection(0, 3);
    EXPECT_FALSE(colourChecked(text_.selectionFormat(), text_colour::White));
}

}  // namespace
}  // namespace rova
