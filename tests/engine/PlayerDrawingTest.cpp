// Drawing a player into the lamp frame: lamp mapping, column sampling (squeezed, stretched,
// mirrored), projections, wrap past 360, the clip window, vertical shift bounds, and the rules
// that retire a player that can never be seen again.

#include <gtest/gtest.h>

#include "EngineTestSupport.h"

namespace rova {
namespace {

using test::countingFrom;
using test::lampColumn;
using test::litColumns;
using test::numberedColumns;
using test::PlayerRig;
using test::PlayerSetup;

// Blue lamp words expected from frame column `first` on.
struct Segment {
    int first;
    std::vector<int> words;
};

// The same words in each of `copies` projections spaced evenly around the circle.
std::vector<Segment> copies(int first, int count, const std::vector<int>& words) {
    std::vector<Segment> segments;
    for (int k = 0; k < count; ++k) {
        segments.push_back({(first + k * (360 / count)) % 360, words});
    }
    return segments;
}

// `columns` numbered content columns drawn with `setup`: the blue words expected in each segment
// and nothing lit elsewhere.
struct SamplingCase {
    const char* name;
    PlayerSetup setup;
    int columns;
    std::vector<Segment> expected;
};
SamplingCase sampled(const char* name, PlayerSetup setup, int columns,
                     std::vector<Segment> expected) {
    return {name, setup, columns, std::move(expected)};
}

TEST(PlayerDrawing, SamplesContentColumnsOntoTheDegreeColumnsOfItsSpan) {
    constexpr std::uint32_t kMirror = PlayerFlags::MirrorAtZero;
    constexpr OriginAnchor kMiddle = OriginAnchor::Middle;
    const std::vector<int> ten = countingFrom(1, 10);
    const std::vector<int> fours{4, 4, 4, 4, 3, 3, 3, 3, 2, 2, 2, 2, 1, 1, 1, 1};
    const SamplingCase cases[] = {
        sampled("a column a degree", {.origin = 10, .width = 20}, 20, {{10, countingFrom(1, 20)}}),
        sampled("stretched: 4 columns over 16 degrees, first sample at 0.125",
                {.origin = 0, .width = 16}, 4,
                {{0, {1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4}}}),
        sampled("stretched and mirrored over 5..20", {.origin = 20, .width = -16, .flags = kMirror},
                4, {{5, fours}}),
        sampled("stretched, mirrored and clipped at 9: skip −1 keeps the picture in place",
                {.origin = 20, .width = -16, .flags = kMirror, .clipStart = 9}, 4,
                {{9, {fours.begin() + 4, fours.end()}}}),
        sampled("mirrored middle: left edge 160, span 21..160",
                {.width = -140, .flags = kMirror, .anchor = kMiddle}, 140,
                {{21, countingFrom(140, 140, -1)}}),
        sampled(
            "mirrored and clipped: skip −79, first sample column 60",
            {.width = -140, .flags = kMirror, .anchor = kMiddle, .clipStart = 100, .clipEnd = 200},
            140, {{100, countingFrom(61, 61, -1)}}),
        sampled("clipped start: skip 20",
                {.origin = 80, .width = 40, .clipStart = 100, .clipEnd = 200}, 40,
                {{100, countingFrom(21, 20)}}),
        sampled("the window's end column is drawn",
                {.origin = 190, .width = 40, .clipStart = 100, .clipEnd = 200}, 40,
                {{190, countingFrom(1, 11)}}),
        sampled("a copy past 360 lands at 120", {.origin = 300, .width = 10, .projections = 2}, 10,
                copies(300, 2, ten)),
        sampled("stored projections 0 draw once", {.origin = 5, .width = 10, .projections = 0}, 10,
                {{5, ten}}),
        sampled("stored projections 1000 draw six", {.origin = 5, .width = 10, .projections = 1000},
                10, copies(5, 6, ten)),
        sampled("wrap: 350..370 becomes −10..10",
                {.origin = 350, .width = 21, .flags = PlayerFlags::WrapAround}, 21,
                {{350, ten}, {0, countingFrom(11, 11)}}),
        sampled("a wrapped window 0..359 is no window either",
                {.origin = 350, .width = 21, .flags = PlayerFlags::WrapAround, .clipEnd = 359}, 21,
                {{350, ten}, {0, countingFrom(11, 11)}}),
        sampled("no wrap: the window cuts at 359", {.origin = 350, .width = 21}, 21, {{350, ten}}),
    };
    for (const SamplingCase& c : cases) {
        SCOPED_TRACE(c.name);
        PlayerRig rig;
        rig.start(test::record(c.setup), numberedColumns(c.columns));
        std::vector<int> expected(LampFrame::kColumns, 0), shown;
        for (const Segment& segment : c.expected) {
            std::copy(segment.words.begin(), segment.words.end(), expected.begin() + segment.first);
        }
        for (const LampFrame::Column& column : rig.draw().columns) {
            shown.push_back(column[0]);
        }
        EXPECT_EQ(shown, expected);
    }
}

TEST(PlayerDrawing, SixteenRowsMapOneToOneOntoTheLampsOfEachPlane) {
    PlayerRig rig;
    rig.start(test::record({.origin = 7.0, .width = 1.0}), {lampColumn(0x8001, 0x1234, 0xFFFF)});
    LampFrame expected;
    expected.columns[7] = {0x8001, 0x1234, 0xFFFF};
    EXPECT_EQ(rig.draw().columns, expected.columns);
}

TEST(PlayerDrawing, SqueezingOrsTheColumnsOfADegreeSoThinLinesStay) {
    using Words = std::vector<std::pair<int, int>>;  // (column, blue lamp word)
    const Words lines{{5, 0x0001}, {137, 0x0100}, {199, 0x8000}};
    const PlayerSetup tenADegree{.origin = 100, .width = 20};
    const PlayerSetup mirrored{.origin = 100, .width = -20, .flags = PlayerFlags::MirrorAtZero};
    const struct {
        const char* name;
        PlayerSetup setup;
        Words content;  // the lit columns of 200, dark elsewhere
        Words shown;
    } cases[] = {
        {"all 200 in one degree column", {.origin = 50, .width = 1}, lines, {{50, 0x8101}}},
        // 5, 137 and 199 fall into degrees 0, 13 and 19.
        {"ten a degree", tenADegree, lines, {{100, 1}, {113, 0x100}, {119, 0x8000}}},
        // Degree k of 81..100 takes columns 199 − 10k down to 190 − 10k.
        {"mirrored", mirrored, lines, {{81, 0x8000}, {87, 0x100}, {100, 1}}},
        {"mirrored, column 0 too", mirrored, {{0, 2}, {199, 0x4000}}, {{81, 0x4000}, {100, 2}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<ContentColumn> columns(200, lampColumn(0));
        for (const auto& [column, word] : c.content) {
            columns[column] = lampColumn(static_cast<std::uint16_t>(word));
        }
        PlayerRig rig;
        rig.start(test::record(c.setup), columns);
        const LampFrame frame = rig.draw();
        Words shown;
        for (const int column : litColumns(frame)) {
            shown.emplace_back(column, frame.columns[column][0]);
        }
        EXPECT_EQ(shown, c.shown);
    }
}

// A one-column picture of `rows` rows whose only content word is `word`, drawn at `yShift`.
struct ShiftCase {
    std::uint32_t rows;
    std::uint32_t word;
    double yShift;
    int lamps;  // the blue lamp word drawn
    bool retiring = false;
    double verticalSpeed = 0.0;
    std::uint32_t flags = 0;
};

TEST(PlayerDrawing, VerticalShiftPlacesRowsOnTheLampsAndRetiresWhenNoneCanComeBack) {
    const std::uint32_t eight = 0xFF000000;
    const std::uint32_t edges = 0x80000001;
    const ShiftCase cases[] = {
        // 8 rows, centre c = 20, shift s = c + y: lit while 8 < s < 32.
        {8, eight, 0.0, 0x0FF0},    // s = 20: rows on lamps 11..4
        {8, eight, -11.0, 0x8000},  // s = 9: the bottom row on lamp 15
        {8, eight, 11.0, 0x0001},   // s = 31: the top row on lamp 0
        // Wholly above (s = 8) or below (s = 32): retiring unless moving back or bouncing.
        {8, eight, -12.0, 0, true},
        {8, eight, -12.0, 0, false, 8.0},
        {8, eight, -12.0, 0, true, -8.0},
        {8, eight, -12.0, 0, false, 0.0, PlayerFlags::VerticalBounce},
        {8, eight, 12.0, 0, true},
        {8, eight, 12.0, 0, false, -8.0},
        {8, eight, 12.0, 0, true, 8.0},
        // 7 rows: c = 41 / 2 = 20 in whole rows before y is added, so y = 0.5 gives s = 20.
        {7, 0xFE000000, 0.5, 0x0FE0},
        // 32 rows, c = 8: a negative s shifts left.
        {32, edges, -10.0, 0x0004},  // s = −2
        {32, edges, -23.0, 0x8000},  // s = −15: the bottom row on top
        {32, edges, -24.0, 0, true},
        // 8 − 8.5 truncates toward zero to s = 0 (flooring would give −1 and lose row 16).
        {32, 0x00008000, -8.5, 0x8000},
        // 100 rows, more than packing makes but the content allows: c = (48 − 100) / 2 = −26.
        // Whatever s is, only the rows of the word that reach the lamps are drawn.
        {100, ~0u, -6.0, 0},        // s = −32: the whole word is above them
        {100, ~0u, -40.0, 0},       // s = −66
        {100, ~0u, 16.0, 0xFC00},   // s = −10: the low rows of the word stay above the lamps
        {100, ~0u, 58.0, 0, true},  // s = 32: the whole word is below them
    };
    for (const ShiftCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.rows << " rows, y " << c.yShift << ", speed "
                                        << c.verticalSpeed << ", flags " << c.flags);
        PlayerRig rig;
        PlayerParameters record = test::record({.origin = 0.0, .width = 1.0});
        record.yShift = c.yShift;
        record.verticalSpeed = c.verticalSpeed;
        record.playerFlags = c.flags;
        rig.start(record, {ContentColumn{c.word, 0, 0}}, c.rows);
        EXPECT_EQ(rig.draw().columns[0][0], c.lamps);
        EXPECT_EQ(test::isRetiring(rig.player), c.retiring);
    }
}

// A player 10 wide in the window 100..200.
PlayerSetup windowed(PlayerSetup s) {
    s.width = 10;
    s.clipStart = 100;
    s.clipEnd = 200;
    return s;
}

TEST(PlayerDrawing, ADarkPlayerRetiresOnlyWhenItCanNeverBeSeenAgain) {
    constexpr std::uint32_t kSync = PlayerFlags::OriginSync, kWrap = PlayerFlags::WrapAround,
                            kMirror = PlayerFlags::MirrorAtZero,
                            kBounce = PlayerFlags::BounceAtZero;
    // Origin 20 puts 20..29 before the window, 250 puts 250..259 after it. A negative width
    // shows only with MirrorAtZero.
    const struct {
        const char* name;
        PlayerSetup setup;
        bool retires;
    } cases[] = {
        {"still, before", windowed({.origin = 20}), true},
        {"moving in from before", windowed({.origin = 20, .speed = 1}), false},
        {"moving away before", windowed({.origin = 20, .speed = -1}), true},
        {"accelerating in from before", windowed({.origin = 20, .accel = 1}), false},
        {"moving in from after", windowed({.origin = 250, .speed = -1}), false},
        {"moving away after", windowed({.origin = 250, .speed = 1}), true},
        {"accelerating in from after", windowed({.origin = 250, .accel = -1}), false},
        {"window travels with it", windowed({.origin = 20, .speed = 1, .flags = kSync}), true},
        {"width accelerating", windowed({.origin = 20, .widthAccel = 1}), false},
        {"width growing", windowed({.origin = 20, .widthSpeed = 1}), false},
        {"shrinking, mirrors", windowed({.origin = 20, .widthSpeed = -1, .flags = kMirror}), false},
        {"shrinking, bounces", windowed({.origin = 20, .widthSpeed = -1, .flags = kBounce}), false},
        {"shrinking", windowed({.origin = 20, .widthSpeed = -1}), true},
        {"wraps round", windowed({.origin = 20, .speed = 1, .flags = kWrap}), false},
        {"wraps but still", windowed({.origin = 20, .flags = kWrap}), true},
        {"negative width, shrinking: frozen", {.width = -140, .widthSpeed = -1}, true},
        {"negative width, bouncing", {.width = -140, .widthSpeed = -1, .flags = kBounce}, false},
        {"negative width, growing back", {.width = -140, .widthSpeed = 1}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PlayerRig rig(8.0);
        rig.start(test::record(c.setup), numberedColumns(10));
        EXPECT_TRUE(test::frameIsDark(rig.draw()));
        EXPECT_EQ(test::isRetiring(rig.player), c.retires);
        const bool frozen = c.retires && c.setup.width < 0;
        EXPECT_EQ(rig.state().widthSpeed, frozen ? 0.0 : c.setup.widthSpeed);
    }
}

}  // namespace
}  // namespace rova
