#include "XMainFrame.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLabel>
#include <QScreen>
#include <QStatusBar>
#include <algorithm>

#include "MemorySettingsStore.h"
#include "QtApplicationTest.h"

namespace rova {
namespace {

class XMainFrameTest : public test::QtApplicationTest {
  protected:
    QRect workArea() const { return frame_.screen()->availableGeometry(); }
    QString placement() const {
        return settings_.readString("Window States", "Main").value_or(QString());
    }

    MemorySettingsStore settings_;
    XMainFrame frame_{settings_};
};

// The panes keep the width their initial texts gave; the bar shows unless the setting says not.
TEST_F(XMainFrameTest, StatusBarHasAReadyPaneAndFixedPanesSizedByTheirTexts) {
    const QList<QLabel*> panes = frame_.createStatusBar({"Players: 000", "Documents: 000"});
    ASSERT_EQ(panes.size(), 2);
    EXPECT_EQ(panes[1]->text(), "Documents: 000");
    EXPECT_GE(panes[1]->width(), panes[1]->fontMetrics().horizontalAdvance("Documents: 000"));
    const int width = panes[0]->width();
    panes[0]->setText("Players: 1234567");
    EXPECT_EQ(panes[0]->width(), width);
    const QList<QLabel*> labels = frame_.statusBar()->findChildren<QLabel*>();
    EXPECT_EQ(std::count_if(labels.cbegin(), labels.cend(),
                            [](const QLabel* label) { return label->text() == "Ready"; }),
              1);
    EXPECT_FALSE(frame_.statusBar()->isHidden());
    settings_.set("StatusBarVisible", "0");
    frame_.createStatusBar({"Players: 000"});
    EXPECT_TRUE(frame_.statusBar()->isHidden());
}

TEST_F(XMainFrameTest, SavesPlacementMaximisedStateAndStatusBarVisibility) {
    frame_.createStatusBar({"Players: 000"});
    frame_.setGeometry(QRect(50, 60, 400, 300).translated(workArea().topLeft()));
    frame_.show();
    frame_.savePlacement();
    EXPECT_EQ(placement(), "50 60 450 360");
    EXPECT_EQ(settings_.setting("MainMaximized"), "0");
    EXPECT_EQ(settings_.setting("StatusBarVisible"), "1");

    frame_.statusBar()->hide();
    frame_.showMaximized();
    QCoreApplication::processEvents();
    ASSERT_NE(frame_.geometry().size(), QSize(400, 300));
    frame_.savePlacement();
    // The placement saved is the normal one, not the maximised window's.
    EXPECT_EQ(placement(), "50 60 450 360");
    EXPECT_EQ(settings_.setting("MainMaximized"), "1");
    EXPECT_EQ(settings_.setting("StatusBarVisible"), "0");
}

// Maximised unless saved otherwise; nothing saved places the window in the work area inset by 20.
TEST_F(XMainFrameTest, RestoreAndShowFollowTheSavedPlacementAndMaximisedState) {
    EXPECT_TRUE(frame_.restorePlacement(true));
    EXPECT_FALSE(frame_.restorePlacement(false));
    EXPECT_EQ(frame_.geometry(), workArea().adjusted(20, 20, -20, -20));
    frame_.showRestored();
    EXPECT_TRUE(frame_.isMaximized());
    settings_.set("MainMaximized", "1");
    EXPECT_TRUE(frame_.restorePlacement(false));

    MemorySettingsStore normal;
    normal.set("MainMaximized", "0");
    normal.writeString("Window States", "Main", "10 20 410 320");
    XMainFrame other(normal);
    other.showRestored();
    EXPECT_TRUE(other.isVisible());
    EXPECT_FALSE(other.isMaximized());
    EXPECT_EQ(other.geometry(), QRect(10, 20, 400, 300).translated(workArea().topLeft()));
}

}  // namespace
}  // namespace rova
