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
    // Renders `rtf` and returns the rows and columns its lit pixels span.
    QRect litArea(const std::string& rtf, int numerator = 1, int denominator = 1) {
        Picture band;
        EXPECT_TRUE(renderText(band, *documentOf(rtf), textDefaults(), numerator, denominator));
        return contentBounds(band).value_or(QRect());
    }
};

TEST_F(TextRendererTest, TwelvePointTextTakesAboutTwelveRowsAndTwiceAsManyAtTwoToOne) {
    const std::string hello = colouredText("Hello, World", 255, 0, 0);
    Picture band;
    ASSERT_TRUE(renderText(band, *documentOf(hello), textDefaults(), 1, 1));
    EXPECT_EQ(band.height(), kBandRows);
    EXPECT_TRUE(band.isTopDown());
    EXPECT_EQ(band.bitCount(), 8);

    // From the top of the capitals to the tail of the comma: 12 pixels per em.
    const QRect single = contentBounds(band).value();
    EXPECT_EQ(single.height(), 11);
    EXPECT_GE(single.top(), 1) << "the line's ascent lies above the capitals";
    EXPECT_GT(single.width(), 60);
    EXPECT_LT(single.width(), 80);

    // Glyphs are shaped for the size they are drawn at, so the rows double only roughly.
    const QRect twice = litArea(hello, 2, 1);
    EXPECT_NEAR(twice.height(), 2 * single.height(), 2);
    EXPECT_NEAR(twice.width(), 2 * single.width(), 3);
    EXPECT_NEAR(twice.top(), 2 * single.top(), 1);

    // 2:2 is 1:1.
    EXPECT_EQ(litArea(hello, 2, 2), single);
}

TEST_F(TextRendererTest, EachTextColourLandsOnItsLampColour) {
    struct Case {
        int red, green, blue;
        int lamp;
    };
    // The eight text colours, and white, which is lamp white too; black text stays dark.
    const Case cases[] = {{0, 0, 0, 0},     {255, 0, 0, 4},     {0, 255, 0, 2},
                          {0, 0, 255, 1},   {0, 255, 255, 3},   {255, 0, 255, 5},
                          {255, 255, 0, 6}, {224, 224, 224, 7}, {255, 255, 255, 7}};
    for (const Case& c : cases) {
        Picture band;
        ASSERT_TRUE(renderText(band, *documentOf(colouredText("Lamp", c.red, c.green, c.blue)),
                               textDefaults(), 3, 1));
        const std::map<int, int> counts = valueCounts(band);
        EXPECT_EQ(counts.size(), c.lamp == 0 ? 1u : 2u) << "lamp " << c.lamp;
        EXPECT_GT(counts.at(c.lamp), 0) << "lamp " << c.lamp;
        EXPECT_GT(counts.at(0), 0) << "uncovered pixels stay 0";
    }
}

TEST_F(TextRendererTest, LargeGlyphsDrawnAtAScaleStillGiveOnlyTheirLampColour) {
    // Glyphs over 64 pixels under a scale are drawn as outlines with soft edges; every edge
    // pixel still ends as the text's lamp colour or dark.
    const std::string rtf =
        R"({\rtf1{\fonttbl{\f0 Arial;}}{\colortbl;\red255\green0\blue255;}\f0\fs60\cf1 bOg})";
    Picture band;
    ASSERT_TRUE(renderText(band, *documentOf(rtf), textDefaults(), 5, 2));
    const std::map<int, int> counts = valueCounts(band);
    EXPECT_EQ(counts.size(), 2u);
    EXPECT_GT(counts.at(5), 100);
}

TEST_F(TextRendererTest, EmptyTextGivesABlackBand) {
    Picture band;
    ASSERT_TRUE(renderText(band, QTextDocument(), textDefaults(), 1, 1));
    EXPECT_EQ(band.height(), kBandRows);
    EXPECT_EQ(valueCounts(band).size(), 1u);
    EXPECT_FALSE(contentBounds(band).has_value());
}

TEST_F(TextRendererTest, TellsTheTargetOnceItHoldsTheBand) {
    WatchedPicture target;
    ASSERT_TRUE(target.createLamp(5, 5));
    target.notifications.clear();
    ASSERT_TRUE(
        renderText(target, *documentOf(colouredText("Hi", 255, 255, 255)), textDefaults(), 1, 1));
    EXPECT_EQ(target.notifications, std::vector<bool>{true});
    EXPECT_EQ(target.height(), kBandRows);
    EXPECT_TRUE(contentBounds(target).has_value());

    // A scale that is not positive fails and leaves the target empty.
    target.notifications.clear();
    EXPECT_FALSE(
        renderText(target, *documentOf(colouredText("Hi", 255, 255, 255)), textDefaults(), 0, 1));
    EXPECT_FALSE(target.hasPixels());
    EXPECT_EQ(target.notifications, std::vector<bool>{false});
}

TEST_F(TextRendererTest, TextTallerThanTheBandIsCutAtItsBottom) {
    // 100-point capitals reach far below row 63.
    const QRect lit = litArea(R"({\rtf1{\fonttbl{\f0 Arial;}}\f0\fs200 HH})");
    EXPECT_EQ(lit.bottom(), kBandRows - 1);
}

TEST_F(TextRendererTest, TheBandHoldsGlyphsThatLeanPastTheEndOfTheLine) {
    // A large italic f leans out to the right of its advance by about an eighth of its size,
    // further than the small full stop after it reaches.
    Picture band;
    ASSERT_TRUE(renderText(
        band, *documentOf(R"({\rtf1{\fonttbl{\f0 Times New Roman;}}\f0{\fs96\i f}{\fs8 .}})"),
        textDefaults(), 1, 1));
    const QRect lit = contentBounds(band).value();
    EXPECT_LT(lit.right(), band.width() - 1) << "the ink must not reach the band's edge";
}

TEST_F(TextRendererTest, LongTextIsNotCutAt32000Columns) {
    std::string words;
    for (int i = 0; i < 700; ++i) {
        words += "Hello, World ";
    }
    // Twice the text takes twice the columns, far beyond 32000.
    const QRect half = litArea(colouredText(words, 255, 255, 0));
    const QRect whole = litArea(colouredText(words + words, 255, 255, 0));
    EXPECT_GT(half.width(), 32000);
    EXPECT_NEAR(whole.width(), 2 * half.width() + 13 * 4, 13 * 4);
}

TEST_F(TextRendererTest, TextWiderThanTheLargestBandIsCutThere) {
    // 12 points at 50:1 are 600 pixels a line: a few thousand letters pass a million columns.
    std::string letters(8000, 'I');
    Picture band;
    ASSERT_TRUE(
        renderText(band, *documentOf(colouredText(letters, 255, 255, 255)), textDefaults(), 50, 1));
    EXPECT_EQ(band.width(), kMaxBandColumns);
}

}  // namespace
}  // namespace rova
