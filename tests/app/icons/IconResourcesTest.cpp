#include <gtest/gtest.h>

#include <QColor>
#include <QIcon>
#include <QImage>
#include <QImageReader>
#include <QPixmap>
#include <QSet>
#include <QStringList>

#include "IconResources.h"
#include "QtApplicationTest.h"

namespace rova {
namespace {

// The names the main frame's toolbar asks for, one per button, left to right.
QStringList toolbarIconNames() {
    return QStringLiteral(
               "new open save cut copy paste select-all bold italic underline font rainbow "
               "decrease-pointsize increase-pointsize black red green blue cyan magenta yellow "
               "white default-parameters reset-top-player kill-top-player kill-all-players "
               "run-from-top run-stop previous-command next-command metrics parameters sequence "
               "hide-all about run-demo")
        .split(u' ');
}

QString iconPath(const QString& name) {
    return QStringLiteral(":/icons/%1.svg").arg(name);
}

// Draws the icon the way a toolbar button does, through QIcon and its SVG engine.
QImage renderIcon(const QString& name, QSize size) {
    return QIcon(iconPath(name)).pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32);
}

// Pixels at least half covered by the drawing.
int solidPixelCount(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += qAlpha(image.pixel(x, y)) >= 128 ? 1 : 0;
        }
    }
    return count;
}

int distinctColourCount(const QImage& image) {
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            colours.insert(image.pixel(x, y));
        }
    }
    return static_cast<int>(colours.size());
}

class IconResourcesTest : public test::QtApplicationTest {
  protected:
    static void SetUpTestSuite() {
        test::QtApplicationTest::SetUpTestSuite();
        initIconResources();
    }
};

TEST_F(IconResourcesTest, EveryToolbarIconIsASixteenByFifteenDrawingThatRendersAtBothScales) {
    const QStringList names = toolbarIconNames();
    ASSERT_EQ(names.size(), 36);
    for (const QString& name : names) {
        EXPECT_EQ(QImageReader(iconPath(name)).size(), QSize(16, 15)) << qPrintable(name);
        for (const QSize size : {QSize(16, 15), QSize(32, 30)}) {
            const QImage image = renderIcon(name, size);
            ASSERT_EQ(image.size(), size) << qPrintable(name);
            // A real picture covers a good part of the button and is more than one flat colour.
            EXPECT_GT(solidPixelCount(image), size.width() * size.height() / 8) << qPrintable(name);
            EXPECT_GE(distinctColourCount(image), 3) << qPrintable(name);
        }
    }
}

TEST_F(IconResourcesTest, ColourSwatchesShowTheTextColoursInsideADarkOutlineAndALightRim) {
    const std::pair<const char*, QColor> swatches[] = {
        {"black", QColor(0, 0, 0)},      {"red", QColor(255, 0, 0)},
        {"green", QColor(0, 255, 0)},    {"blue", QColor(0, 0, 255)},
        {"cyan", QColor(0, 255, 255)},   {"magenta", QColor(255, 0, 255)},
        {"yellow", QColor(255, 255, 0)}, {"white", QColor(224, 224, 224)},
    };
    for (const auto& [name, colour] : swatches) {
        for (const int scale : {1, 2}) {
            const QImage image = renderIcon(name, QSize(16, 15) * scale);
            EXPECT_EQ(image.pixelColor(8 * scale, 7 * scale), colour) << name << " x" << scale;
            const QColor outline = image.pixelColor(1 * scale, 7 * scale);
            EXPECT_EQ(outline.alpha(), 255) << qPrintable(name);
            EXPECT_LT(outline.lightness(), 48) << qPrintable(name);
            // The light rim outside the outline keeps the black swatch visible on dark toolbars.
            const QColor rim = image.pixelColor(0, 7 * scale);
            EXPECT_GT(rim.alpha(), 128) << qPrintable(name);
            EXPECT_GT(rim.lightness(), 200) << qPrintable(name);
        }
    }
}

TEST_F(IconResourcesTest, ApplicationIconIsARoundDiscAtEverySize) {
    for (const int side : {16, 48, 256}) {
        const QImage image = renderIcon(QStringLiteral("rova"), QSize(side, side));
        ASSERT_EQ(image.size(), QSize(side, side));
        EXPECT_EQ(image.pixelColor(0, 0).alpha(), 0) << side << ": corners outside the disc";
        EXPECT_EQ(image.pixelColor(side / 2, side / 2).alpha(), 255) << side;
        EXPECT_GE(distinctColourCount(image), 8) << side << ": coloured lamps on a dark disc";
    }
}

}  // namespace
}  // namespace rova
