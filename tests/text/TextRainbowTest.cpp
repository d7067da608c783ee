// Rainbow text: the cycle kept in the settings, and the selection coloured per character or
// per word, down to the lamp colours the rendered text lands on.

#include <gtest/gtest.h>

#include <QByteArray>

#include <algorithm>
#include <map>
#include <vector>

#include "MemorySettingsStore.h"
#include "Picture.h"
#include "RichTextDocument.h"
#include "TextRainbow.h"
#include "TextRenderer.h"
#include "TextTestSupport.h"

namespace rova {
namespace {

using test::formatsOf;
using test::fullFormat;
using test::text16;

constexpr ColourRef kRed = 0x0000FF;
constexpr ColourRef kGreen = 0x00FF00;
constexpr ColourRef kBlue = 0xFF0000;
// The colour of text the rainbow leaves alone.
constexpr ColourRef kPlain = 0x123456;
const std::vector<ColourRef> kRgb{kRed, kGreen, kBlue};

TEST(RainbowCycleTest, ParsesUpTo32NumbersUntilTheFirstThatIsNot) {
    struct Case {
        const char* stored;
        std::vector<ColourRef> cycle;
    };
    const Case cases[] = {
        {"255 65280 16711680", kRgb},
        {"255 x 65280", {kRed}},
        {"  255\t 65280", {kRed, kGreen}},
        {"255 -1 16777216 16777215 0", {kRed, 0xFFFFFF, 0}},
        {"99999999999999999999 255", {kRed}},
        {"+255", {kRed}},
        {"255,65280", {kRed}},
        {"", {}},
        {"red", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        const QList<ColourRef> parsed = parseRainbowCycle(QString::fromLatin1(c.stored));
        EXPECT_EQ(std::vector<ColourRef>(parsed.begin(), parsed.end()), c.cycle);
    }

    // Only 32 numbers are read, those skipped included.
    QString many = QStringLiteral("-1");
    for (int i = 1; i < 40; ++i) {
        many += u' ' + QString::number(i);
    }
    const QList<ColourRef> parsed = parseRainbowCycle(many);
    ASSERT_EQ(parsed.size(), 31);
    EXPECT_EQ(parsed.front(), 1u);
    EXPECT_EQ(parsed.back(), 31u);
}

TEST(RainbowSettingsTest, DefaultsToRedGreenBluePerCharacter) {
    const MemorySettingsStore store;
    const RainbowSettings settings = loadRainbowSettings(store);
    EXPECT_EQ(std::vector<ColourRef>(settings.cycle.begin(), settings.cycle.end()), kRgb);
    EXPECT_FALSE(settings.words);
}

TEST(RainbowSettingsTest, WritesNumbersWithSingleBlanksAndOnlyWhatChanged) {
    MemorySettingsStore store;
    saveRainbowSettings(store, {{kRed, kGreen, kBlue}, true});
    EXPECT_EQ(store.setting(RainbowSettings::kCycleKey), "255 65280 16711680");
    EXPECT_EQ(store.setting(RainbowSettings::kWordsKey), "1");
    EXPECT_EQ(store.writeCount(), 2);
    const RainbowSettings loaded = loadRainbowSettings(store);
    EXPECT_EQ(loaded, (RainbowSettings{{kRed, kGreen, kBlue}, true}));

    saveRainbowSettings(store, {{kRed, kGreen, kBlue}, false});
    EXPECT_EQ(store.writeCount(), 3) << "the unchanged cycle is not written again";
    EXPECT_EQ(store.setting(RainbowSettings::kWordsKey), "0");

    store.set(RainbowSettings::kWordsKey, "7");
    EXPECT_TRUE(loadRainbowSettings(store).words);
}

TEST(RainbowSettingsTest, StoresAtMost32Colours) {
    MemorySettingsStore store;
    saveRainbowSettings(store, {QList<ColourRef>(40, kBlue), false});
    EXPECT_EQ(loadRainbowSettings(store).cycle, QList<ColourRef>(32, kBlue));
}

class TextRainbowTest : public test::QtGuiApplicationTest {
  protected:
    void SetUp() override { text_.setDefaultFormat(fullFormat("Arial", 240, 0, kPlain)); }

    void load(const QString& plain) {
        text_.clear();
        text_.document().setPlainText(plain);
    }

    std::vector<ColourRef> colours() const {
        std::vector<ColourRef> result;
        for (const CharacterFormat& format : formatsOf(text_.document(), text_.defaultFormat())) {
            result.push_back(format.colour);
        }
        return result;
    }

    RichTextDocument text_;
};

TEST_F(TextRainbowTest, ColoursVisibleCharactersOrWordsInTurn) {
    constexpr ColourRef P = kPlain, R = kRed, G = kGreen, B = kBlue;
    struct Case {
        const char16_t* text;
        bool words;
        int first, last;
        std::vector<ColourRef> colours;
    };
    const Case cases[] = {
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
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << text16(c.text).toStdString() << " words " << c.words);
        load(text16(c.text));
        text_.setSelection(c.first, c.last);
        applyRainbow(text_, kRgb, c.words);
        EXPECT_EQ(colours(), c.colours);
        EXPECT_EQ(text_.selection(), (RichTextDocument::Selection{c.first, c.last}));
    }
}

TEST_F(TextRainbowTest, LeavesOtherAttributesAndTheSelectionsDirectionAlone) {
    ASSERT_TRUE(text_.streamIn(R"({\rtf1{\fonttbl{\f0 Arial;}}\f0\fs30\b ab\b0\i cd})"));
    const std::vector<CharacterFormat> before = formatsOf(text_.document(), text_.defaultFormat());
    text_.setSelection(4, 0);
    applyRainbow(text_, std::vector<ColourRef>{kBlue}, false);

    const std::vector<CharacterFormat> after = formatsOf(text_.document(), text_.defaultFormat());
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i < after.size(); ++i) {
        CharacterFormat expected = before[i];
        expected.colour = kBlue;
        EXPECT_EQ(after[i], expected) << i;
    }
    EXPECT_EQ(text_.cursor().anchor(), 4);
    EXPECT_EQ(text_.cursor().position(), 0);
}

TEST_F(TextRainbowTest, IsUndoneAsOneEdit) {
    load("ab cd ef");
    text_.setSelection(0, -1);
    applyRainbow(text_, kRgb, false);
    ASSERT_EQ(colours().front(), kRed);
    text_.document().undo();
    EXPECT_EQ(colours(), std::vector<ColourRef>(8, kPlain));
}

TEST_F(TextRainbowTest, RenderedRainbowTextLandsOnTheLampColoursInTurn) {
    ASSERT_TRUE(text_.streamIn(R"({\rtf1{\fonttbl{\f0 Arial;}}\f0\fs48 HH H})"));
    text_.setSelection(0, -1);
    applyRainbow(text_, kRgb, false);

    Picture band;
    ASSERT_TRUE(renderText(band, text_.document(), text_.defaultFormat(), 1, 1));
    // Lamp colours: bit 0 blue, bit 1 green, bit 2 red. The columns each colour takes.
    std::map<int, std::pair<int, int>> columns;
    for (int y = 0; y < band.height(); ++y) {
        for (int x = 0; x < band.width(); ++x) {
            const int value = static_cast<int>(band.pixelValue(x, y));
            if (value == 0) {
                continue;
            }
            auto [it, added] = columns.try_emplace(value, x, x);
            it->second.first = std::min(it->second.first, x);
            it->second.second = std::max(it->second.second, x);
        }
    }
    ASSERT_EQ(columns.size(), 3u);
    ASSERT_TRUE(columns.contains(4) && columns.contains(2) && columns.contains(1));
    EXPECT_LT(columns[4].second, columns[2].first) << "red left of green";
    EXPECT_LT(columns[2].second, columns[1].first) << "green left of blue";
}

}  // namespace
}  // namespace rova
