#include "WindowState.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <limits>

#include "MemorySettingsStore.h"
#include "QtApplicationTest.h"

namespace rova {
namespace {

TEST(WindowStateText, ParsesFourNumbersSeparatedBySingleBlanks) {
    EXPECT_EQ(WindowState::parse("22 22 800 600"), (WindowState{22, 22, 800, 600}));
    EXPECT_EQ(WindowState::parse("-8 -8 1928 1048"), (WindowState{-8, -8, 1928, 1048}));
    EXPECT_EQ(WindowState::parse("-2147483648 0 2147483647 0"),
              (WindowState{std::numeric_limits<std::int32_t>::min(), 0,
                           std::numeric_limits<std::int32_t>::max(), 0}));

    const WindowState state{-4, 7, 1024, 768};
    EXPECT_EQ(state.format(), "-4 7 1024 768");
    EXPECT_EQ(WindowState::parse(state.format()), state);
}

TEST(WindowStateText, RejectsAnythingButExactlyFourNumbers) {
    for (const char* text :
         {"", "22 22 800", "22 22 800 600 5", "22  22 800 600", " 22 22 800 600", "22 22 800 600 ",
          "22\t22 800 600", "22 22 8O0 600", "22 22 800 600x", "22 22 +800 600", "- 22 800 600",
          "22 22 800 0x10", "2147483648 0 1 1", "0 -2147483649 1 1"}) {
        EXPECT_EQ(WindowState::parse(text), std::nullopt) << '"' << text << '"';
    }
}

TEST(WindowStatePlacement, MovesARectangleStickingOutBackInside) {
    const QRect bounds(0, 0, 1000, 700);
    // Off the right edge: moved left until its right edge meets the bounds'.
    EXPECT_EQ(WindowState::placeIn({600, 100, 1200, 500}, bounds), QRect(400, 100, 600, 400));
    // Off the left and top edges.
    EXPECT_EQ(WindowState::placeIn({-50, -30, 250, 170}, bounds), QRect(0, 0, 300, 200));
    // Off the bottom edge only.
    EXPECT_EQ(WindowState::placeIn({10, 650, 110, 750}, bounds), QRect(10, 600, 100, 100));
    // Inside: left alone.
    EXPECT_EQ(WindowState::placeIn({22, 22, 800, 600}, bounds), QRect(22, 22, 778, 578));
    // Bounds that do not start at the origin.
    EXPECT_EQ(WindowState::placeIn({0, 0, 100, 100}, QRect(50, 60, 400, 300)),
              QRect(50, 60, 100, 100));
}

TEST(WindowStatePlacement, CutsAnOversizedRectangleAndFallsBackToTheBounds) {
    const QRect bounds(0, 0, 1000, 700);
    EXPECT_EQ(WindowState::placeIn({-100, -100, 1500, 900}, bounds), bounds);
    EXPECT_EQ(WindowState::placeIn({100, 50, 1400, 600}, bounds), QRect(0, 50, 1000, 550));
    // Nothing left after the move and cut: the whole bounds.
    EXPECT_EQ(WindowState::placeIn({300, 300, 300, 500}, bounds), bounds);
    EXPECT_EQ(WindowState::placeIn({500, 400, 100, 200}, bounds), bounds);
    // The widest numbers a saved text can hold do not overflow.
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    EXPECT_EQ(WindowState::placeIn({kMin, kMin, kMax, kMax}, bounds), bounds);
    EXPECT_EQ(WindowState::placeIn({kMax - 10, 0, kMax, 10}, bounds), QRect(990, 0, 10, 10));
}

TEST(WindowStatePlacement, DefaultPlacementIsTheBoundsInsetBy20) {
    EXPECT_EQ(WindowState::defaultPlacement(QRect(0, 0, 1000, 700)), QRect(20, 20, 960, 660));
    EXPECT_EQ(WindowState::defaultPlacement(QRect(0, 0, 30, 500)), QRect(0, 0, 30, 500));
}

class WindowStateStoreTest : public test::QtApplicationTest {
  protected:
    static QRect workArea(const QWidget& window) { return window.screen()->availableGeometry(); }

    MemorySettingsStore settings_;
};

TEST_F(WindowStateStoreTest, TopLevelPlacementRoundTripsRelativeToTheWorkArea) {
    QWidget saved;
    const QPoint origin = workArea(saved).topLeft();
    saved.setGeometry(QRect(30, 40, 300, 200).translated(origin));
    saveWindowState(settings_, "Main", &saved);
    EXPECT_EQ(settings_.readString("Window States", "Main"), "30 40 330 240");

    QWidget restored;
    EXPECT_TRUE(restoreWindowState(settings_, "Main", &restored));
    EXPECT_EQ(restored.geometry(), saved.geometry());
}

TEST_F(WindowStateStoreTest, AnEqualPlacementIsNotWrittenAgain) {
    QWidget window;
    window.setGeometry(QRect(10, 10, 200, 100).translated(workArea(window).topLeft()));
    saveWindowState(settings_, "Main", &window);
    saveWindowState(settings_, "Main", &window);
    EXPECT_EQ(settings_.writeCount(), 1);

    window.move(window.pos() + QPoint(5, 0));
    saveWindowState(settings_, "Main", &window);
    EXPECT_EQ(settings_.writeCount(), 2);
    EXPECT_EQ(settings_.readString("Window States", "Main"), "15 10 215 110");
}

TEST_F(WindowStateStoreTest, TopLevelWindowWithoutAUsableStateGetsTheInsetWorkArea) {
    for (const char* stored : {"", "22 22 800", "junk"}) {
        settings_.writeString("Window States", "Main", QString::fromLatin1(stored));
        QWidget window;
        window.setGeometry(5, 5, 50, 50);
        EXPECT_FALSE(restoreWindowState(settings_, "Main", &window)) << stored;
        EXPECT_EQ(window.geometry(), workArea(window).adjusted(20, 20, -20, -20)) << stored;
    }
}

TEST_F(WindowStateStoreTest, ChildPlacementIsKeptWithinItsParent) {
    QWidget parent;
    parent.resize(400, 300);
    auto* child = new QWidget(&parent);
    child->setGeometry(10, 20, 100, 50);

    // No state: a child stays where it is.
    EXPECT_FALSE(restoreWindowState(settings_, "Child", child));
    EXPECT_EQ(child->geometry(), QRect(10, 20, 100, 50));

    saveWindowState(settings_, "Child", child);
    EXPECT_EQ(settings_.readString("Window States", "Child"), "10 20 110 70");

    settings_.writeString("Window States", "Child", "350 10 450 60");
    EXPECT_TRUE(restoreWindowState(settings_, "Child", child));
    EXPECT_EQ(child->geometry(), QRect(300, 10, 100, 50));
}

}  // namespace
}  // namespace rova
