#include "WindowState.h"

#include <gtest/gtest.h>

#include <QScreen>
#include <QWidget>
#include <limits>

#include "MemorySettingsStore.h"
#include "QtApplicationTest.h"

namespace rova {
namespace {

TEST(WindowStateText, ParsesExactlyFourNumbersSeparatedBySingleBlanks) {
    EXPECT_EQ(WindowState::parse("22 22 800 600"), (WindowState{22, 22, 800, 600}));
    EXPECT_EQ(WindowState::parse("-8 -8 1928 1048"), (WindowState{-8, -8, 1928, 1048}));
    EXPECT_EQ(WindowState::parse("-2147483648 0 2147483647 0"),
              (WindowState{std::numeric_limits<std::int32_t>::min(), 0,
                           std::numeric_limits<std::int32_t>::max(), 0}));
    const WindowState state{-4, 7, 1024, 768};
    EXPECT_EQ(state.format(), "-4 7 1024 768");
    EXPECT_EQ(WindowState::parse(state.format()), state);
    for (const char* text :
         {"", "22 22 800", "22 22 800 600 5", "22  22 800 600", " 22 22 800 600", "22 22 800 600 ",
          "22\t22 800 600", "22 22 8O0 600", "22 22 800 600x", "22 22 +800 600", "- 22 800 600",
          "22 22 800 0x10", "2147483648 0 1 1", "0 -2147483649 1 1"}) {
        EXPECT_EQ(WindowState::parse(text), std::nullopt) << '"' << text << '"';
    }
}

// A rectangle sticking out on one side is moved inside, then cut to the bounds; the whole bounds
// when nothing of it is left.
TEST(WindowStatePlacement, MovesARectangleInsideAndCutsIt) {
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    const QRect bounds(0, 0, 1000, 700);
    const struct {
        const char* name;
        WindowState state;
        QRect bounds;
        QRect placed;
    } cases[] = {
        {"inside", {22, 22, 800, 600}, bounds, {22, 22, 778, 578}},
        {"off the right", {600, 100, 1200, 500}, bounds, {400, 100, 600, 400}},
        {"off the left and top", {-50, -30, 250, 170}, bounds, {0, 0, 300, 200}},
        {"off the bottom", {10, 650, 110, 750}, bounds, {10, 600, 100, 100}},
        {"bounds off the origin", {0, 0, 100, 100}, {50, 60, 400, 300}, {50, 60, 100, 100}},
        {"wider than the bounds", {100, 50, 1400, 600}, bounds, {0, 50, 1000, 550}},
        {"larger on every side", {-100, -100, 1500, 900}, bounds, bounds},
        {"empty", {300, 300, 300, 500}, bounds, bounds},
        {"inside out", {500, 400, 100, 200}, bounds, bounds},
        {"the widest numbers", {kMin, kMin, kMax, kMax}, bounds, bounds},
        {"far off the right", {kMax - 10, 0, kMax, 10}, bounds, {990, 0, 10, 10}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WindowState::placeIn(c.state, c.bounds), c.placed) << c.name;
    }
    EXPECT_EQ(WindowState::defaultPlacement(bounds), QRect(20, 20, 960, 660));
    EXPECT_EQ(WindowState::defaultPlacement(QRect(0, 0, 30, 500)), QRect(0, 0, 30, 500));
}

class WindowStateStoreTest : public test::QtApplicationTest {
  protected:
    static QRect workArea(const QWidget& window) { return window.screen()->availableGeometry(); }
    MemorySettingsStore settings_;
};

// Restoring a top-level window the main window's tests cover.
TEST_F(WindowStateStoreTest, TopLevelPlacementIsWrittenOnlyWhenItChanged) {
    QWidget saved;
    saved.setGeometry(QRect(30, 40, 300, 200).translated(workArea(saved).topLeft()));
    saveWindowState(settings_, "Main", &saved);
    saveWindowState(settings_, "Main", &saved);
    EXPECT_EQ(settings_.writeCount(), 1);
    EXPECT_EQ(settings_.readString("Window States", "Main"), "30 40 330 240");
    saved.move(saved.pos() + QPoint(5, 0));
    saveWindowState(settings_, "Main", &saved);
    EXPECT_EQ(settings_.writeCount(), 2);
    EXPECT_EQ(settings_.readString("Window States", "Main"), "35 40 335 240");
}

TEST_F(WindowStateStoreTest, ChildPlacementIsKeptWithinItsParent) {
    QWidget parent;
    parent.resize(400, 300);
    auto* child = new QWidget(&parent);
    child->setGeometry(10, 20, 100, 50);
    EXPECT_FALSE(restoreWindowState(settings_, "Child", child));
    EXPECT_EQ(child->geometry(), QRect(10, 20, 100, 50)) << "no state: a child stays put";
    saveWindowState(settings_, "Child", child);
    EXPECT_EQ(settings_.readString("Window States", "Child"), "10 20 110 70");
    settings_.writeString("Window States", "Child", "350 10 450 60");
    EXPECT_TRUE(restoreWindowState(settings_, "Child", child));
    EXPECT_EQ(child->geometry(), QRect(300, 10, 100, 50));
}

}  // namespace
}  // namespace rova
