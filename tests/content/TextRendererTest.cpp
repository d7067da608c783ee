// Rich text drawn into the lamp band: one pixel per point, glyphs in lamp colours, the band as
// wide as the text.

#include <gtest/gtest.h>

#include <QTextDocument>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "ContentTestSupport.h"
#include "Picture.h"
#include "PictureEdits.h"
#include "TextRenderer.h"

namespace rova {
namespace {

using test::colouredText;
using test::documentOf;
using test::textDefaults;
using test::valueCounts;

// A picture that records how it was told of new content.
class WatchedPicture : public Picture {
  public:
    std::vector<bool> notifications;

  protected:
    bool changed(bool pixelsLoaded) override {
        notifications.push_back(pixelsLoaded);
        return Picture::changed(pixelsLoaded);
    }
};

class TextRendererTest : public test::QtGuiApplicationTest {
  protected:
    static bool render(Picture& band, const std::string& rtf, int numerator, int denominator) {
        return renderText(band, *documentOf(rtf), textDefaults(), numerator, denominator);
    }

    // Renders `rtf` and returns the rows and columns its lit pixels span.
    static QRect litArea(const std::string& rtf, int numerator = 1, int denominator = 1) {
        Picture band;
        EXPECT_TRUE(render(band, rtf, numerator, denominator));
        return contentBounds(band).value_or(QRect());
    }
};

TEST_F(TextRendererTest, TwelvePointTextTakesAboutTwelveRowsAtOneToOne) {
    const std::string hello = colouredText("Hello, World", 255, 0, 0);
    Picture band;
    ASSERT_TRUE(render(band, hello, 1, 1));
    EXPECT_TRUE(band.isTopDown());
    EXPECT_EQ(band.bitCount(), 8);

    // From the top of the capitals to the tail of the comma: 12 pixels per em.
    const QRect single = contentBounds(band).value();
    EXPECT_EQ(single.height(), 11);
    EXPECT_GE(single.top(), 1) << "the line's ascent lies above the capitals";
    EXPECT_GT(single.width(), 60);
    EXPECT_LT(single.width(), 80);

    // 2:2 is 1:1. Other scales are the content builder's Fit test.
    EXPECT_EQ(litArea(hello, 2, 2), single);
}

// The eight text colours, and white, which is lamp white too; black text stays dark. Glyphs over
// 64 pixels under a scale are drawn as outlines with soft edges; every edge pixel still ends as
// the text's lamp colour or dark.
TEST_F(TextRendererTest, EachTextColourLandsOnItsLampColourAtAnySize) {
    const struct {
        int red, green, blue;
        int lamp;
    } cases[] = {{0, 0, 0, 0},     {255, 0, 0, 4},     {0, 255, 0, 2},
                 {0, 0, 255, 1},   {0, 255, 255, 3},   {255, 0, 255, 5},
                 {255, 255, 0, 6}, {224, 224, 224, 7}, {255, 255, 255, 7}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "lamp " << c.lamp);
        for (const char* text : {"Lamp", R"(\fs60 bOg)"}) {
            Picture band;
            ASSERT_TRUE(render(band, colouredText(text, c.red, c.green, c.blue), 5, 2));
            const std::map<int, int> counts = valueCounts(band);
            EXPECT_EQ(counts.size(), c.lamp == 0 ? 1u : 2u) << text;
            EXPECT_GT(counts.at(c.lamp), 0) << text;
            EXPECT_GT(counts.at(0), 0) << "uncovered pixels stay 0";
        }
    }
}

TEST_F(TextRendererTest, TellsTheTargetOnceItHoldsTheBandAndAnEmptyTextGivesABlackOne) {
    WatchedPicture target;
    ASSERT_TRUE(target.createLamp(5, 5));
    target.notifications.clear();
    const std::string hi = colouredText("Hi", 255, 255, 255);
    ASSERT_TRUE(render(target, hi, 1, 1));
    EXPECT_EQ(target.notifications, std::vector<bool>{true});
    EXPECT_EQ(target.height(), kBandRows);
    EXPECT_TRUE(contentBounds(target).has_value());

    ASSERT_TRUE(renderText(target, QTextDocument(), textDefaults(), 1, 1));
    EXPECT_EQ(target.height(), kBandRows);
    EXPECT_EQ(valueCounts(target).size(), 1u);
    EXPECT_FALSE(contentBounds(target).has_value());

    // A scale that is not positive fails and leaves the target empty.
    target.notifications.clear();
    EXPECT_FALSE(render(target, hi, 0, 1));
    EXPECT_FALSE(target.hasPixels());
    EXPECT_EQ(target.notifications, std::vector<bool>{false});
}

// A large italic f leans out to the right of its advance by about an eighth of its size, further
// than the small full stop after it reaches; 100-point capitals reach far below row 63.
TEST_F(TextRendererTest, TheBandHoldsGlyphsThatLeanPastTheLineButCutsThoseBelowIt) {
    Picture band;
    ASSERT_TRUE(
        render(band, R"({\rtf1{\fonttbl{\f0 Times New Roman;}}\f0{\fs96\i f}{\fs8 .}})", 1, 1));
    EXPECT_LT(contentBounds(band).value().right(), band.width() - 1)
        << "the ink must not reach the band's edge";
    EXPECT_EQ(litArea(R"({\rtf1{\fonttbl{\f0 Arial;}}\f0\fs200 HH})").bottom(), kBandRows - 1);
}

// Twice the text takes twice the columns, far beyond 32000; 12 points at 50:1 are 600 pixels a
// line, so a few thousand letters pass a million columns.
TEST_F(TextRendererTest, WideTextIsCutOnlyAtTheLargestBand) {
    std::string words;
    for (int i = 0; i < 700; ++i) {
        words += "Hello, World ";
    }
    const QRect half = litArea(colouredText(words, 255, 255, 0));
    const QRect whole = litArea(colouredText(words + words, 255, 255, 0));
    EXPECT_GT(half.width(), 32000);
    EXPECT_NEAR(whole.width(), 2 * half.width() + 13 * 4, 13 * 4);
    Picture band;
    ASSERT_TRUE(render(band, colouredText(std::string(8000, 'I'), 255, 255, 255), 50, 1));
    EXPECT_EQ(band.width(), kMaxBandColumns);
}

}  // namespace
}  // namespace rova
