// The formatting commands' operations on the selection of a rich-text document: effects
// toggled by the uniform-attribute mask, sizes in twips, colours and when each is ticked; and
// rainbow text, its cycle kept in the settings and the selection coloured per character or per
// word.

#include <gtest/gtest.h>

#include <QByteArray>

#include <vector>

#include "MemorySettingsStore.h"
#include "RichTextDocument.h"
#include "TextFormatting.h"
#include "TextRainbow.h"
#include "TextTestSupport.h"

namespace rova::test {
namespace {

class TextFormattingTest : public test::QtGuiApplicationTest {
  protected:
    void SetUp() override { text_.setDefaultFormat(fullFormat("Arial", 240, 0, kAuto)); }

    // Loads the RTF body (after the font table, font 0 Arial) and selects all of it.
    void load(const char* body) {
        const QByteArray rtf = QByteArray(R"({\rtf1{\fonttbl{\f0 Arial;}}\f0 )") + body + "}";
        ASSERT_TRUE(text_.streamIn(rtf));
        text_.setSelection(0, -1);
    }

    RichTextDocument text_;
};

TEST_F(TextFormattingTest, EffectOnAHalfSetSelectionBecomesTheOppositeOfTheFirstCharacters) {
    const struct {
        const char* body;
        std::uint32_t effect;
        bool result;
    } cases[] = {
        {R"(\b ab\b0 cd)", CharacterFormat::kBold, false},
        {R"(ab\i cd)", CharacterFormat::kItalic, true},
        {R"(\ul ab\ulnone cd)", CharacterFormat::kUnderline, false},
        // Uniform selections simply flip.
        {R"(\b abcd)", CharacterFormat::kBold, false},
        {R"(abcd)", CharacterFormat::kItalic, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.body);
        load(c.body);
        const bool uniformBefore = (text_.selectionFormat().mask & c.effect) != 0;
        EXPECT_EQ(effectChecked(text_.selectionFormat(), c.effect), uniformBefore && !c.result);
        toggleEffect(text_, c.effect);
        const CharacterFormat after = text_.selectionFormat();
        EXPECT_TRUE(after.mask & c.effect) << "the effect is uniform afterwards";
        EXPECT_EQ(effectChecked(after, c.effect), c.result);
        for (const CharacterFormat& format : formatsOf(text_.document(), text_.defaultFormat())) {
            EXPECT_EQ(format.effects & ~c.effect, 0u) << "other effects are left alone";
        }
    }
}

TEST_F(TextFormattingTest, PointSizeIsTickedWhenTheUniformSizeRoundsToIt) {
    const struct {
        const char* body;
        int ticked;  // 0: none of 7 to 16
    } cases[] = {
        {R"(\fs21 ab)", 11},       // 210 twips: (210 + 10) / 20
        {R"(\fs19 ab)", 10},       // 190 twips
        {R"(\fs20 a\fs22 b)", 0},  // mixed sizes
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.body);
        load(c.body);
        for (int points = 7; points <= 16; ++points) {
            EXPECT_EQ(pointSizeChecked(text_.selectionFormat(), points), points == c.ticked)
                << points << " points";
        }
    }
}

TEST_F(TextFormattingTest, SizeCommandsSetTwipsAndIgnoreSizesBelowOnePoint) {
    const struct {
        const char* body;
        int absolute, step;  // absolute 0: the step instead
        bool applied;
        int height;
    } cases[] = {
        {R"(\fs20 ab)", 0, -1, true, 180},
        {R"(\fs2 ab)", 0, -1, false, 20},  // 1-point text stays
        {R"(\fs4 ab)", 0, -1, true, 20},
        {R"(\fs20 a\fs40 b)", 0, +1, true, 220},  // the first character's size, stepped
        {R"(\fs20 ab)", 7, 0, true, 140},
    };
    for (const auto& c : cases) {
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
    // White is the light grey of the lamps' white, not pure white.
    const CharacterFormat bold = fullFormat("Arial", 240, kBold, kAuto),
                          white = fullFormat("Arial", 240, kBold, 0xE0E0E0);
    EXPECT_EQ(formatsOf(text_.document(), text_.defaultFormat()),
              (std::vector<CharacterFormat>{bold, white, white, bold}));
    EXPECT_TRUE(colourChecked(text_.selectionFormat(), text_colour::White));
    EXPECT_FALSE(colourChecked(text_.selectionFormat(), text_colour::Red));
    text_.setSelection(0, 3);
    EXPECT_FALSE(colourChecked(text_.selectionFormat(), text_colour::White));
}

const std::vector<ColourRef> kRgb{kRed, kGreen, kBlue};

TEST(RainbowCycleTest, ParsesUpTo32NumbersUntilTheFirstThatIsNot) {
    const struct {
        QString stored;
        QList<ColourRef> cycle;
    } cases[] = {
        {"255 65280 16711680", {kRed, kGreen, kBlue}},
        {"255 x 65280", {kRed}},
        {"  255\t 65280", {kRed, kGreen}},
        {"255 -1 16777216 16777215 0", {kRed, 0xFFFFFF, 0}},
        {"99999999999999999999 255", {kRed}},
        {"+255", {kRed}},
        {"255,65280", {kRed}},
        {"", {}},
        {"red", {}},
        // 32 numbers are read, those left out included.
        {"-1 " + QString("7 ").repeated(40), QList<ColourRef>(31, 7)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(parseRainbowCycle(c.stored), c.cycle) << c.stored.toStdString();
    }
}

TEST(RainbowSettingsTest, DefaultsToRedGreenBluePerCharacterAndWritesOnlyWhatChanged) {
    MemorySettingsStore store;
    EXPECT_EQ(loadRainbowSettings(store), (RainbowSettings{{kRed, kGreen, kBlue}, false}));
    saveRainbowSettings(store, {{kRed, kGreen, kBlue}, true});
    EXPECT_EQ(store.setting(RainbowSettings::kCycleKey), "255 65280 16711680");
    EXPECT_EQ(store.setting(RainbowSettings::kWordsKey), "1");
    EXPECT_EQ(store.writeCount(), 2);
    EXPECT_EQ(loadRainbowSettings(store), (RainbowSettings{{kRed, kGreen, kBlue}, true}));
    saveRainbowSettings(store, {{kRed, kGreen, kBlue}, false});
    EXPECT_EQ(store.writeCount(), 3) << "the unchanged cycle is not written again";
    EXPECT_EQ(store.setting(RainbowSettings::kWordsKey), "0");
    store.set(RainbowSettings::kWordsKey, "7");
    EXPECT_TRUE(loadRainbowSettings(store).words);
    saveRainbowSettings(store, {QList<ColourRef>(40, kBlue), false});
    EXPECT_EQ(loadRainbowSettings(store).cycle, QList<ColourRef>(32, kBlue)) << "at most 32";
}

TEST_F(TextFormattingTest, RainbowColoursVisibleCharactersOrWordsInTurn) {
    constexpr ColourRef P = kAuto, R = kRed, G = kGreen, B = kBlue;
    const struct {
        const char16_t* text;
        bool words;
        int first, last;
        std::vector<ColourRef> colours;
    } cases[] = {
        {u"ab c", false, 0, 4, {R, G, P, B}},
        {u"abcdefg", false, 0, 7, {R, G, B, R, G, B, R}},
        {u"xab cx", false, 1, 5, {P, R, G, P, B, P}},
        // An accented letter is a blank: it keeps its colour and uses up none.
        {u"a\u00e9b", false, 0, 3, {R, P, G}},
        {u"one two  three", true, 0, 14, {R, R, R, R, G, G, G, G, G, B, B, B, B, B}},
        {u"  ab", true, 0, 4, {P, P, R, R}},
        {u"a\u00e9b c", true, 0, 5, {R, R, G, G, B}},
        // A paragraph break separates words too (it has no format of its own to list).
        {u"ab\ncd", true, 0, 5, {R, R, G, G}},
        {u"ab", false, 1, 1, {P, P}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << text16(c.text).toStdString() << " words " << c.words);
        text_.clear();
        text_.document().setPlainText(text16(c.text));
        text_.setSelection(c.first, c.last);
        applyRainbow(text_, kRgb, c.words);
        EXPECT_EQ(coloursOf(text_.document(), text_.defaultFormat()), c.colours);
        EXPECT_EQ(text_.selection(), (RichTextDocument::Selection{c.first, c.last}));
    }
}

TEST_F(TextFormattingTest, RainbowIsOneEditLeavingOtherAttributesAndTheSelectionsDirection) {
    load(R"(\fs30\b ab\b0\i cd)");
    const std::vector<CharacterFormat> before = formatsOf(text_.document(), text_.defaultFormat());
    std::vector<CharacterFormat> expected = before;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        expected[i].colour = i % 2 == 0 ? kBlue : kGreen;
    }
    text_.setSelection(4, 0);
    applyRainbow(text_, std::vector<ColourRef>{kBlue, kGreen}, false);
    EXPECT_EQ(formatsOf(text_.document(), text_.defaultFormat()), expected);
    EXPECT_EQ(std::pair(text_.cursor().anchor(), text_.cursor().position()), std::pair(4, 0));
    text_.document().undo();
    EXPECT_EQ(formatsOf(text_.document(), text_.defaultFormat()), before);
}

}  // namespace
}  // namespace rova::test
