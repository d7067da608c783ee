#include "XSplitterStatic.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <numeric>

#include "QtApplicationTest.h"

namespace rova {
namespace {

// A pane that asks for a given size and may be squeezed to 10 pixels.
class Pane final : public QWidget {
  public:
    explicit Pane(QSize natural) : natural_(natural) {}
    QSize sizeHint() const override { return natural_; }
    QSize minimumSizeHint() const override { return {10, 10}; }

  private:
    QSize natural_;
};

class XSplitterStaticTest : public test::QtApplicationTest {
  protected:
    // Three rows; their natural heights are 120, 200 and 90.
    void addRows() {
        for (const int height : {120, 200, 90}) {
            rows_.addPane(new Pane({100, height}));
        }
    }
    int space() const {
        const QList<int> sizes = rows_.sizes();
        return std::accumulate(sizes.cbegin(), sizes.cend(), 0);
    }
    void showAt(int height) {
        rows_.resize(200, height);
        rows_.show();
    }

    XSplitterStatic rows_{Qt::Vertical};
};

TEST_F(XSplitterStaticTest, AFixedRowKeepsItsSizeWhenTheSplitterIsResized) {
    addRows();
    rows_.setFixed(1, true);
    showAt(500);
    rows_.setPaneSize(1, 100);
    ASSERT_EQ(rows_.paneSize(1), 100);
    const int before0 = rows_.paneSize(0);
    const int before2 = rows_.paneSize(2);

    rows_.resize(200, 700);
    EXPECT_EQ(rows_.paneSize(1), 100);
    EXPECT_GT(rows_.paneSize(0), before0);
    EXPECT_GT(rows_.paneSize(2), before2);
    EXPECT_EQ(rows_.paneSize(0) + rows_.paneSize(2), before0 + before2 + 200);

    rows_.resize(200, 400);
    EXPECT_EQ(rows_.paneSize(1), 100);
    EXPECT_EQ(rows_.paneSize(0) + rows_.paneSize(2), before0 + before2 - 100);
}

TEST_F(XSplitterStaticTest, TheDifferenceGoesToTheOtherLooseRowsFromTheLast) {
    addRows();
    showAt(500);
    const int room = space();
    rows_.setSizes({100, 150, room - 250});
    ASSERT_EQ(rows_.sizes(), QList<int>({100, 150, room - 250}));

    // 7 more for row 0: each other row gives 7 / 2 = 3, and row 2, visited first, also the
    // remainder 1.
    rows_.setPaneSize(0, 107);
    EXPECT_EQ(rows_.sizes(), QList<int>({107, 147, room - 254}));

    // A fixed row is left out of the spreading.
    rows_.setFixed(2, true);
    rows_.setPaneSize(0, 57);
    EXPECT_EQ(rows_.sizes(), QList<int>({57, 197, room - 254}));
}

TEST_F(XSplitterStaticTest, SizesSetBeforeTheSplitterIsShownTakeEffectAtTheNextLayout) {
    addRows();
    rows_.setPaneSize(0, 120);
    rows_.setPaneSize(2, 0);
    EXPECT_EQ(rows_.paneSize(0), 120);
    EXPECT_EQ(rows_.paneSize(2), 0);

    showAt(500);
    EXPECT_EQ(rows_.sizes(), QList<int>({120, space() - 120, 0}));
    // Applied once: later sizes are the splitter's own.
    rows_.setPaneSize(0, 80);
    EXPECT_EQ(rows_.paneSize(0), 80);
    EXPECT_EQ(rows_.sizes().at(1), space() - 80);

    // Without redraw a size also waits, until the event loop lays the splitter out.
    rows_.setPaneSize(0, 100, false);
    rows_.setPaneSize(2, 30, false);
    EXPECT_EQ(rows_.paneSize(0), 100);
    EXPECT_EQ(rows_.sizes(), QList<int>({80, space() - 80, 0}));
    QCoreApplication::processEvents();
    EXPECT_EQ(rows_.sizes(), QList<int>({100, space() - 130, 30}));
}

TEST_F(XSplitterStaticTest, HiddenRowsStayHiddenWhileOtherRowsChange) {
    addRows();
    showAt(500);
    rows_.setPaneSize(2, 0);
    rows_.setPaneSize(0, 50);
    EXPECT_EQ(rows_.sizes(), QList<int>({50, space() - 50, 0}));
    rows_.setPaneSize(0, 0);
    EXPECT_EQ(rows_.sizes(), QList<int>({0, space(), 0}));
    rows_.resize(200, 700);
    EXPECT_EQ(rows_.sizes(), QList<int>({0, space(), 0}));
}

TEST_F(XSplitterStaticTest, APaneNeverGrowsBeyondItsMaximum) {
    addRows();
    rows_.setMaximum(0, 60);
    showAt(500);
    rows_.setPaneSize(0, 200);
    EXPECT_EQ(rows_.paneSize(0), 60);
    EXPECT_EQ(space(), rows_.paneSize(0) + rows_.paneSize(1) + rows_.paneSize(2));

    // A loose row with a maximum absorbs growth only up to it.
    rows_.resize(200, 900);
    EXPECT_EQ(rows_.paneSize(0), 60);
    rows_.setMaximum(2, 150);
    rows_.setPaneSize(1, 100);
    EXPECT_EQ(rows_.paneSize(2), 150);
    EXPECT_EQ(rows_.paneSize(0), 60);
}

TEST_F(XSplitterStaticTest, AHiddenRowShowsAgainAtItsNaturalSizeAndGetsTheFocus) {
    addRows();
    rows_.setFixed(0, true);
    rows_.setFixed(2, true);
    showAt(600);
    rows_.setPaneSize(0, 120);
    rows_.setPaneSize(2, 0);
    EXPECT_EQ(rows_.paneSize(2), 0);
    EXPECT_TRUE(rows_.isCollapsible(2));
    EXPECT_EQ(rows_.sizes(), QList<int>({120, space() - 120, 0}));

    EXPECT_EQ(rows_.naturalSize(2), 90);
    rows_.showPane(2);
    EXPECT_EQ(rows_.sizes(), QList<int>({120, space() - 210, 90}));
    EXPECT_EQ(rows_.focusWidget(), rows_.widget(2));

    // Showing a visible pane only activates it.
    rows_.showPane(0);
    EXPECT_EQ(rows_.paneSize(0), 120);
    EXPECT_EQ(rows_.focusWidget(), rows_.widget(0));
}

TEST_F(XSplitterStaticTest, ColumnsAreSizedByWidth) {
    XSplitterStatic columns(Qt::Horizontal);
    columns.addPane(new Pane({150, 40}));
    columns.addPane(new Pane({300, 40}));
    columns.setFixed(0, true);
    columns.setPaneSize(0, 0);
    columns.resize(600, 200);
    columns.show();
    const QList<int> sizes = columns.sizes();
    const int room = sizes.at(0) + sizes.at(1);
    EXPECT_EQ(sizes.at(0), 0);

    EXPECT_EQ(columns.naturalSize(0), 150);
    columns.showPane(0);
    EXPECT_EQ(columns.sizes(), QList<int>({150, room - 150}));
    columns.resize(800, 200);
    EXPECT_EQ(columns.sizes(), QList<int>({150, room + 50}));
}

}  // namespace
}  // namespace rova
