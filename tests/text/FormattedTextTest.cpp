// The document's layout onto other painters, the way text becomes a lamp picture: 72 dots per
// inch, glyphs in their exact colours, nothing drawn where no glyph is.

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QSet>

#include <algorithm>
#include <climits>

#include "RichTextDocument.h"
#include "TextTestSupport.h"

namespace rova {
namespace {

using test::fullFormat;
using test::kGreen;

constexpr QRgb kBackground = qRgb(1, 2, 3);
constexpr int kBandWidth = 400;
constexpr int kBandHeight = 64;
const QRect kBandTwips(0, 0, kBandWidth * 20, kBandHeight * 20);

constexpr char kRedHello[] =
    R"({\rtf1{\fonttbl{\f0 Arial;}}{\colortbl;\red255\green0\blue0;}\f0\fs24\cf1 Hello})";

// Where and in which colours an image differs from the background.
struct Drawn {
    int left = INT_MAX;
    int top = INT_MAX;
    int right = -1;
    int bottom = -1;
    QSet<QRgb> colours;

    int rows() const { return bottom - top + 1; }
    int columns() const { return right - left + 1; }
};

Drawn drawnIn(const QImage& image) {
    Drawn drawn;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (pixel != kBackground) {
                drawn.colours.insert(pixel);
                drawn.left = std::min(drawn.left, x);
                drawn.top = std::min(drawn.top, y);
                drawn.right = std::max(drawn.right, x);
                drawn.bottom = std::max(drawn.bottom, y);
            }
        }
    }
    return drawn;
}

QImage blankBand() {
    QImage band(kBandWidth, kBandHeight, QImage::Format_RGB32);
    band.fill(kBackground);
    return band;
}

class TextLayoutTest : public test::QtGuiApplicationTest {
  protected:
    void SetUp() override { text_.setDefaultFormat(fullFormat("Arial", 240, 0, kGreen)); }

    // Lays the text out in `layout` and draws it into a blank band at `scale`.
    QImage render(const QRect& layout = kBandTwips, qreal scale = 1.0, QRect* used = nullptr) {
        QImage band = blankBand();
        QPainter painter(&band);
        painter.scale(scale, scale);
        const QRect taken = text_.formatRange(&painter, layout);
        if (used != nullptr) {
            *used = taken;
        }
        return band;
    }

    RichTextDocument text_;
};

TEST_F(TextLayoutTest, LaysTextOutAtOnePixelPerPointWithoutAntiAliasing) {
    ASSERT_TRUE(text_.streamIn(kRedHello));
    QRect used;
    const QImage band = render(kBandTwips, 1.0, &used);

    // One line of 12-point type: its height is the font's line spacing, a little over 12.
    EXPECT_EQ(used.topLeft(), QPoint(0, 0));
    EXPECT_GT(used.height(), 12 * 20);
    EXPECT_LE(used.height(), 16 * 20);
    EXPECT_GT(used.width(), 15 * 20) << "five letters of 12-point type";
    EXPECT_LT(used.width(), 40 * 20);

    const Drawn drawn = drawnIn(band);
    EXPECT_EQ(drawn.colours, QSet<QRgb>{qRgb(255, 0, 0)}) << "only the text colour, no shades";
    EXPECT_GE(drawn.rows(), 7) << "the height of a capital at 12 pixels per em";
    EXPECT_LE(drawn.rows(), 12);
    EXPECT_LE(drawn.bottom * 20, used.bottom());
    EXPECT_LE(drawn.right * 20, used.right());

    EXPECT_EQ(render(), band) << "the same text always renders the same pixels";
}

TEST_F(TextLayoutTest, ScalesWithThePainter) {
    ASSERT_TRUE(text_.streamIn(kRedHello));
    const Drawn single = drawnIn(render(kBandTwips, 1.0));
    const Drawn twice = drawnIn(render(kBandTwips, 2.0));
    EXPECT_NEAR(twice.rows(), 2 * single.rows(), 2);
    EXPECT_NEAR(twice.columns(), 2 * single.columns(), 3);
    EXPECT_EQ(twice.colours, QSet<QRgb>{qRgb(255, 0, 0)});
}

TEST_F(TextLayoutTest, DrawsTextWithoutItsOwnColourInTheDefaultColour) {
    ASSERT_TRUE(text_.streamIn(R"({\rtf1 plain})"));
    EXPECT_EQ(drawnIn(render()).colours, QSet<QRgb>{qRgb(0, 255, 0)});
}

TEST_F(TextLayoutTest, DisplaysTheBandLaidOutLast) {
    ASSERT_TRUE(text_.streamIn(kRedHello));
    QImage band = blankBand();
    QPainter painter(&band);
    EXPECT_FALSE(text_.displayBand(painter, QRect(0, 0, kBandWidth, kBandHeight)));

    // Measuring draws nothing and takes the same room as rendering.
    QRect rendered;
    const QImage expected = render(kBandTwips, 1.0, &rendered);
    EXPECT_EQ(text_.formatRange(nullptr, kBandTwips), rendered);
    EXPECT_EQ(band, blankBand());

    EXPECT_TRUE(text_.displayBand(painter, QRect(0, 0, kBandWidth, kBandHeight)));
    painter.end();
    EXPECT_EQ(band, expected);

    text_.dropCachedFormatting();
    QPainter again(&band);
    EXPECT_FALSE(text_.displayBand(again, QRect(0, 0, kBandWidth, kBandHeight)));
}

TEST_F(TextLayoutTest, BreaksLinesAtTheRightEdgeAndStaysInsideTheRectangle) {
    ASSERT_TRUE(text_.streamIn(R"({\rtf1 \fs24 Hello wide world of lamps})"));
    // 60 points wide, starting 10 points in and 20 down.
    const QRect layout(200, 400, 60 * 20, 40 * 20);
    QRect used;
    const Drawn drawn = drawnIn(render(layout, 1.0, &used));
    EXPECT_EQ(used.topLeft(), layout.topLeft());
    EXPECT_LE(used.width(), layout.width());
    EXPECT_GT(used.height(), 2 * 12 * 20) << "the text takes several lines";
    EXPECT_GE(drawn.left, 10);
    EXPECT_GE(drawn.top, 20);
    EXPECT_LT(drawn.right, 70);
    EXPECT_LT(drawn.bottom, 60);

    // A rectangle lower than the text cuts it.
    const QRect low(0, 0, 60 * 20, 10 * 20);
    const Drawn cut = drawnIn(render(low, 1.0, &used));
    EXPECT_EQ(used.height(), low.height());
    EXPECT_LT(cut.bottom, 10);
}

}  // namespace
}  // namespace rova
