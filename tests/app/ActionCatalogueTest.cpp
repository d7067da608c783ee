// The commands as the menus and the toolbar show them, and the pictures they show.
#include <QIcon>
#include <QImage>
#include <QImageReader>
#include <QSet>

#include "ActionCatalogue.h"
#include "IconResources.h"
#include "QtApplicationTest.h"

namespace rova {
namespace {

using C = ActionId;

// The menus draw each accelerator label from the key sequence; no text carries one of its own.
TEST(ActionCatalogue, EveryCommandIsListedOnceWithoutTabsAndEveryMenuItemAndButtonExists) {
    QSet<C> ids;
    for (const ActionInfo& info : ActionCatalogue::actions()) {
        EXPECT_FALSE(ids.contains(info.id)) << static_cast<int>(info.id);
        EXPECT_FALSE(info.menuText.contains(u'\t') || info.toolTip.contains(u'\t'))
            << info.menuText.toStdString();
        ids.insert(info.id);
    }
    QList<C> shown = ActionCatalogue::toolbar();
    for (const MenuInfo& menu : ActionCatalogue::menus()) {
        shown += menu.items;
    }
    for (const C id : shown) {
        EXPECT_TRUE(id == C{0} || ids.contains(id)) << static_cast<int>(id);
    }
}

class IconTest : public test::QtApplicationTest {};

// Drawn the way a toolbar button draws it, through QIcon and its SVG engine, a real picture covers
// a good part of the button and is more than one flat colour.
TEST_F(IconTest, EveryToolbarButtonHasASixteenByFifteenDrawingThatRendersAtDoubleSize) {
    initIconResources();
    int buttons = 0;
    for (const C id : ActionCatalogue::toolbar()) {
        if (id == C{0}) {
            continue;
        }
        ++buttons;
        const QString name = ActionCatalogue::info(id).iconName;
        const QString path = ":/icons/" + name + ".svg";
        ASSERT_FALSE(name.isEmpty()) << static_cast<int>(id);
        EXPECT_EQ(QImageReader(path).size(), QSize(16, 15)) << qPrintable(name);
        const QImage image = QIcon(path).pixmap(QSize(32, 30)).toImage();
        ASSERT_EQ(image.size(), QSize(32, 30)) << qPrintable(name);
        int solid = 0;
        QSet<QRgb> colours;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                solid += qAlpha(image.pixel(x, y)) >= 128 ? 1 : 0;
                colours.insert(image.pixel(x, y));
            }
        }
        EXPECT_GT(solid, 32 * 30 / 8) << qPrintable(name);
        EXPECT_GE(colours.size(), 3) << qPrintable(name);
    }
    EXPECT_GT(buttons, 30);
}

}  // namespace
}  // namespace rova
