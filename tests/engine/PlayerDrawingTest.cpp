// Drawing a player into the lamp frame: lamp mapping, column sampling (squeezed, stretched,
// mirrored), projections, wrap past 360, the clip window, vertical shift bounds, flashing, and
// the rules that retire a player that can never be seen again.

#include <gtest/gtest.h>

#include "EngineTestSupport.h"

namespace rova {
namespace {

using test::columnRange;
using test::lampColumn;
using test::litColumns;
using test::numberedColumns;
using test::plainRecord;
using test::PlayerRig;

PlayerParameters recordAt(double origin, double width) {
    PlayerParameters record = plainRecord();
    record.origin = origin;
    record.width = width;
    return record;
}

// The blue words of frame columns first..last.
std::vector<int> blueWords(const LampFrame& frame, int first, int last) {
    std::vector<int> words;
    for (int c = first; c <= last; ++c) {
        words.push_back(frame.columns[c][0]);
    }
    return words;
}

std::vector<int> countingFrom(int first, int count, int step = 1) {
    std::vector<int> values;
    for (int k = 0; k < count; ++k) {
        values.push_back(first + k * step);
    }
    return values;
}

std::vector<int> concat(std::vector<int> a, const std::vector<int>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(PlayerDrawing, SixteenRowsMapOneToOneOntoTheLamps) {
    PlayerRig rig;
    // Width 1 at 7 covers the single column 7.
    rig.start(recordAt(7.0, 1.0), {lampColumn(0x8001, 0x1234, 0xFFFF)});
    const LampFrame frame = rig.draw();
    EXPECT_EQ(frame.columns[7], (LampFrame::Column{0x8001, 0x1234, 0xFFFF}));
    for (int plane = 0; plane < 3; ++plane) {
        EXPECT_EQ(litColumns(frame, plane), std::vector<int>{7});
    }
    EXPECT_EQ(frame.colourAt(7, 15), 5);  // blue and red
    EXPECT_EQ(frame.colourAt(7, 2), 6);   // green and red

    // 8 rows are centred: s = 20 puts rows 31..24 of the word on lamps 11..4; AlignTop's
    // y-shift of −4 gives s = 16 and the top row on lamp 15.
    rig.start(recordAt(7.0, 1.0), {ContentColumn{0xFF000000, 0, 0}}, 8);
    EXPECT_EQ(rig.draw().columns[7][0], 0x0FF0);
    PlayerParameters top = recordAt(7.0, 1.0);
    top.yShift = -4.0;
    rig.start(top, {ContentColumn{0xFF000000, 0, 0}}, 8);
    EXPECT_EQ(rig.draw().columns[7][0], 0xFF00);
}

TEST(PlayerDrawing, EqualWidthSamplesOneColumnPerDegree) {
    PlayerRig rig;
    rig.start(recordAt(10.0, 20.0), numberedColumns(20));
    const LampFrame frame = rig.draw();
    EXPECT_EQ(litColumns(frame), columnRange(10, 29));
    EXPECT_EQ(blueWords(frame, 10, 29), countingFrom(1, 20));
}

TEST(PlayerDrawing, SqueezingKeepsThinLines) {
    // 200 columns, dark except three one-column lines.
    std::vector<ContentColumn> lines(200, lampColumn(0));
    lines[5] = lampColumn(0x0001);
    lines[137] = lampColumn(0x0100);
    lines[199] = lampColumn(0x8000);
    PlayerRig rig;

    // All 200 columns fall into one degree column.
    rig.start(recordAt(50.0, 1.0), lines);
    LampFrame frame = rig.draw();
    EXPECT_EQ(litColumns(frame), std::vector<int>{50});
    EXPECT_EQ(frame.columns[50][0], 0x8101);

    // Ten content columns a degree: 5 → degree 0, 137 → degree 13, 199 → degree 19.
    rig.start(recordAt(100.0, 20.0), lines);
    frame = rig.draw();
    EXPECT_EQ(litColumns(frame), (std::vector<int>{100, 113, 119}));

    // Mirrored over 81..100 (left edge 100, width −20): degree k takes columns 199 − 10k down
    // to 190 − 10k, so 199 → 81, 137 → 87 and 5 → 100.
    PlayerParameters mirrored = recordAt(100.0, -20.0);
    mirrored.playerFlags = PlayerFlags::MirrorAtZero;
    rig.start(mirrored, lines);
    frame = rig.draw();
    EXPECT_EQ(litColumns(frame), (std::vector<int>{81, 87, 100}));
    EXPECT_EQ(frame.columns[81][0], 0x8000);
    EXPECT_EQ(frame.columns[87][0], 0x0100);
    EXPECT_EQ(frame.columns[100][0], 0x0001);

    // The mirrored picture's last degree column still takes content column 0.
    std::vector<ContentColumn> edges(200, lampColumn(0));
    edges[0] = lampColumn(0x0002);
    edges[199] = lampColumn(0x4000);
    rig.start(mirrored, edges);
    frame = rig.draw();
    EXPECT_EQ(litColumns(frame), (std::vector<int>{81, 100}));
    EXPECT_EQ(frame.columns[100][0], 0x0002);
}

TEST(PlayerDrawing, StretchingRepeatsEachColumn) {
    PlayerRig rig;
    // 4 columns over 16 degrees: step 0.25, first sample at 0.125.
    rig.start(recordAt(0.0, 16.0), numberedColumns(4));
    EXPECT_EQ(blueWords(rig.draw(), 0, 15),
              (std::vector<int>{1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4}));

    // Mirrored over 5..20: step −0.25, first sample at 4 − 0.125.
    PlayerParameters mirrored = recordAt(20.0, -16.0);
    mirrored.playerFlags = PlayerFlags::MirrorAtZero;
    rig.start(mirrored, numberedColumns(4));
    EXPECT_EQ(blueWords(rig.draw(), 5, 20),
              (std::vector<int>{4, 4, 4, 4, 3, 3, 3, 3, 2, 2, 2, 2, 1, 1, 1, 1}));
}

TEST(PlayerDrawing, MirroredWidthDrawsRightToLeft) {
    PlayerRig rig;
    PlayerParameters record = recordAt(90.0, 140.0);
    record.originAnchor = static_cast<std::uint32_t>(OriginAnchor::Middle);
    record.playerFlags = PlayerFlags::MirrorAtZero;

    // Unmirrored: 20..159 shows columns 0..139.
    rig.start(record, numberedColumns(140));
    LampFrame frame = rig.draw();
    EXPECT_EQ(litColumns(frame), columnRange(20, 159));
    EXPECT_EQ(blueWords(frame, 20, 159), countingFrom(1, 140));

    // Mirrored: left = 90 + 70 = 160, span 21..160, columns 139 down to 0.
    record.width = -140.0;
    rig.start(record, numberedColumns(140));
    frame = rig.draw();
    EXPECT_EQ(litColumns(frame), columnRange(21, 160));
    EXPECT_EQ(blueWords(frame, 21, 160), countingFrom(140, 140, -1));

    // Clipped to 100..200 the visible part is the same as unclipped: skip = −79, so the first
    // sample is column 60 (value 61).
    record.clipStart = 100.0;
    record.clipEnd = 200.0;
    rig.start(record, numberedColumns(140));
    frame = rig.draw();
    EXPECT_EQ(litColumns(frame), columnRange(100, 160));
    EXPECT_EQ(blueWords(frame, 100, 160), countingFrom(61, 61, -1));
}

TEST(PlayerDrawing, NegativeWidthWithoutMirrorIsDark) {
    PlayerRig rig;
    PlayerParameters record = recordAt(90.0, -140.0);
    record.widthSpeed = -8.0;
    rig.start(record, numberedColumns(10));
    EXPECT_TRUE(test::frameIsDark(rig.draw()));
    // Still shrinking and nothing to bring it back: frozen and retiring.
    EXPECT_EQ(rig.state().widthSpeed, 0.0);
    EXPECT_EQ(rig.state().widthAccel, 0.0);
    EXPECT_TRUE(test::isRetiring(rig.player));

    // BounceAtZero will turn it around, and a growing width comes back: both keep it.
    record.playerFlags = PlayerFlags::BounceAtZero;
    rig.start(record, numberedColumns(10));
    EXPECT_TRUE(test::frameIsDark(rig.draw()));
    EXPECT_FALSE(test::isRetiring(rig.player));
    EXPECT_EQ(rig.state().widthSpeed, -1.0);
    record.playerFlags = 0;
    record.widthSpeed = 8.0;
    rig.start(record, numberedColumns(10));
    EXPECT_TRUE(test::frameIsDark(rig.draw()));
    EXPECT_FALSE(test::isRetiring(rig.player));
}

TEST(PlayerDrawing, ProjectionsRepeatTheSpanAroundTheCircle) {
    PlayerRig rig;
    PlayerParameters record = recordAt(5.0, 10.0);
    record.projections = 3;
    rig.start(record, numberedColumns(10));
    LampFrame frame = rig.draw();
    EXPECT_EQ(litColumns(frame),
              concat(concat(columnRange(5, 14), columnRange(125, 134)), columnRange(245, 254)));
    EXPECT_EQ(blueWords(frame, 125, 134), countingFrom(1, 10));
    EXPECT_EQ(blueWords(frame, 245, 254), countingFrom(1, 10));

    // The second copy of 300..309 lands past 360, at 120..129.
    record.origin = 300.0;
    record.projections = 2;
    rig.start(record, numberedColumns(10));
    frame = rig.draw();
    EXPECT_EQ(litColumns(frame), concat(columnRange(120, 129), columnRange(300, 309)));

    // Stored counts outside 1..6: 0 draws once, 1000 draws six copies 60 degrees apart.
    record.origin = 5.0;
    record.projections = 0;
    rig.start(record, numberedColumns(10));
    EXPECT_EQ(litColumns(rig.draw()), columnRange(5, 14));
    record.projections = 1000;
    rig.start(record, numberedColumns(10));
    frame = rig.draw();
    EXPECT_EQ(litColumns(frame).size(), 60u);
    EXPECT_EQ(blueWords(frame, 305, 314), countingFrom(1, 10));
}

TEST(PlayerDrawing, WrapAroundDrawsPast360) {
    PlayerRig rig;
    // 21 wide from 350: the span 350..370 becomes −10..10.
    PlayerParameters record = recordAt(350.0, 21.0);
    record.playerFlags = PlayerFlags::WrapAround;
    rig.start(record, numberedColumns(21));
    LampFrame frame = rig.draw();
    EXPECT_EQ(litColumns(frame), concat(columnRange(0, 10), columnRange(350, 359)));
    EXPECT_EQ(blueWords(frame, 350, 359), countingFrom(1, 10));
    EXPECT_EQ(blueWords(frame, 0, 10), countingFrom(11, 11));

    // Without wrap the active window 0..359 cuts it at 359.
    record.playerFlags = 0;
    rig.start(record, numberedColumns(21));
    frame = rig.draw();
    EXPECT_EQ(litColumns(frame), columnRange(350, 359));
    EXPECT_EQ(blueWords(frame, 350, 359), countingFrom(1, 10));
}

TEST(PlayerDrawing, ClipWindowCutsTheSpan) {
    PlayerRig rig;
    PlayerParameters record = recordAt(80.0, 40.0);
    record.clipStart = 100.0;
    record.clipEnd = 200.0;
    // 80..119 in 100..200: skip = 20, so column 100 shows content column 20.
    rig.start(record, numberedColumns(40));
    LampFrame frame = rig.draw();
    EXPECT_EQ(litColumns(frame), columnRange(100, 119));
    EXPECT_EQ(blueWords(frame, 100, 119), countingFrom(21, 20));

    // 190..229: the window's end column 200 is still drawn.
    record.origin = 190.0;
    rig.start(record, numberedColumns(40));
    frame = rig.draw();
    EXPECT_EQ(litColumns(frame), columnRange(190, 200));
    EXPECT_EQ(blueWords(frame, 190, 200), countingFrom(1, 11));
}

// Draws a one-column picture of `rows` rows whose only content word is `word`, at y-shift
// `yShift`, and returns the blue lamp word.
struct ShiftCase {
    std::uint32_t rows;
    std::uint32_t word;
    double yShift;
    double verticalSpeed = 0.0;
    std::uint32_t flags = 0;
};

struct ShiftResult {
    int lamps;
    bool retiring;
};

ShiftResult drawShifted(const ShiftCase& shift) {
    PlayerRig rig;
    PlayerParameters record = recordAt(0.0, 1.0);
    record.yShift = shift.yShift;
    record.verticalSpeed = shift.verticalSpeed;
    record.playerFlags = shift.flags;
    rig.start(record, {ContentColumn{shift.word, 0, 0}}, shift.rows);
    return {rig.draw().columns[0][0], test::isRetiring(rig.player)};
}

TEST(PlayerDrawing, VerticalShiftBounds) {
    // 8 rows, c = 20: lit while 8 < s < 32.
    const std::uint32_t eight = 0xFF000000;
    EXPECT_EQ(drawShifted({8, eight, 4.0}).lamps, 0x00FF);    // s = 24: bottom row on lamp 0
    EXPECT_EQ(drawShifted({8, eight, -11.0}).lamps, 0x8000);  // s = 9: only the bottom row
    EXPECT_EQ(drawShifted({8, eight, 11.0}).lamps, 0x0001);   // s = 31: only the top row

    // Wholly above (s = 8) or below (s = 32): dark, and retiring unless moving back or
    // bouncing.
    ShiftResult result = drawShifted({8, eight, -12.0});
    EXPECT_EQ(result.lamps, 0);
    EXPECT_TRUE(result.retiring);
    EXPECT_FALSE(drawShifted({8, eight, -12.0, 8.0}).retiring);
    EXPECT_TRUE(drawShifted({8, eight, -12.0, -8.0}).retiring);
    EXPECT_FALSE(drawShifted({8, eight, -12.0, 0.0, PlayerFlags::VerticalBounce}).retiring);
    result = drawShifted({8, eight, 12.0});
    EXPECT_EQ(result.lamps, 0);
    EXPECT_TRUE(result.retiring);
    EXPECT_FALSE(drawShifted({8, eight, 12.0, -8.0}).retiring);
    EXPECT_TRUE(drawShifted({8, eight, 12.0, 8.0}).retiring);

    // 7 rows: c = 41 / 2 = 20 in whole rows before the y-shift is added, so y = 0.5 still
    // gives s = 20 (rows 31..25 on lamps 11..5).
    EXPECT_EQ(drawShifted({7, 0xFE000000, 0.5}).lamps, 0x0FE0);

    // 32 rows, c = 8: a negative s shifts left. Top and bottom rows set.
    const std::uint32_t edges = 0x80000001;
    EXPECT_EQ(drawShifted({32, edges, -10.0}).lamps, 0x0004);  // s = −2
    EXPECT_EQ(drawShifted({32, edges, -23.0}).lamps, 0x8000);  // s = −15: bottom row on top
    EXPECT_EQ(drawShifted({32, edges, -24.0}).lamps, 0);       // s = −16: wholly above
    // 8 − 8.5 = −0.5 truncates toward zero to s = 0 (flooring would give −1 and lose row 16).
    EXPECT_EQ(drawShifted({32, 0x00008000, -8.5}).lamps, 0x8000);
}

TEST(PlayerDrawing, FlashDutyThresholdDarkensSomeFrames) {
    PlayerRig rig(8.0);
    PlayerParameters record = recordAt(0.0, 1.0);
    // 4.8828125 Hz at 8 frames a second: the phase after one frame is 0.6103515625 × 65536 =
    // 40000, above the default threshold 32768; the rate is then held at 0.5, giving 7232.
    record.flashing = 4.8828125;
    rig.start(record, numberedColumns(1));
    EXPECT_FALSE(test::frameIsDark(rig.frame()));
    EXPECT_EQ(rig.state().flashPhase, 40000);
    EXPECT_TRUE(test::frameIsDark(rig.frame()));
    EXPECT_EQ(rig.state().flashPhase, 7232);
    EXPECT_FALSE(test::frameIsDark(rig.frame()));

    // 2 Hz: phases 0, 16384, 32768 (at the threshold: lit), 49152 (dark), 0.
    record.flashing = 2.0;
    rig.start(record, numberedColumns(1));
    std::vector<bool> lit;
    for (int i = 0; i < 5; ++i) {
        lit.push_back(!test::frameIsDark(rig.frame()));
    }
    EXPECT_EQ(lit, (std::vector<bool>{true, true, true, false, true}));

    // The highest threshold keeps it lit in every phase.
    record.flashDutyThreshold = 0xFFFF;
    rig.start(record, numberedColumns(1));
    for (int i = 0; i < 5; ++i) {
        EXPECT_FALSE(test::frameIsDark(rig.frame()));
    }
}

// One case of a player drawn outside its clip window 100..200.
struct OutsideCase {
    const char* name;
    double origin;
    double speed;  // deg/frame at 8 frames a second
    double accel = 0.0;
    double widthSpeed = 0.0;
    double widthAccel = 0.0;
    std::uint32_t flags = 0;
    bool retires = true;
};

TEST(PlayerDrawing, OutsideTheWindowRetiresOnlyWhenItCanNeverComeBack) {
    // Origin 20 puts 20..29 before the window, 250 puts 250..259 after it.
    const OutsideCase cases[] = {
        {"still, before", 20.0, 0.0},
        {"moving in from before", 20.0, 1.0, 0.0, 0.0, 0.0, 0, false},
        {"moving away before", 20.0, -1.0},
        {"accelerating in from before", 20.0, 0.0, 1.0, 0.0, 0.0, 0, false},
        {"moving in from after", 250.0, -1.0, 0.0, 0.0, 0.0, 0, false},
        {"moving away after", 250.0, 1.0},
        {"accelerating in from after", 250.0, 0.0, -1.0, 0.0, 0.0, 0, false},
        {"window travels with it", 20.0, 1.0, 0.0, 0.0, 0.0, PlayerFlags::OriginSync, true},
        {"width accelerating", 20.0, 0.0, 0.0, 0.0, 1.0, 0, false},
        {"width growing", 20.0, 0.0, 0.0, 1.0, 0.0, 0, false},
        {"shrinking, mirrors", 20.0, 0.0, 0.0, -1.0, 0.0, PlayerFlags::MirrorAtZero, false},
        {"shrinking, bounces", 20.0, 0.0, 0.0, -1.0, 0.0, PlayerFlags::BounceAtZero, false},
        {"shrinking", 20.0, 0.0, 0.0, -1.0, 0.0, 0, true},
        {"wraps round", 20.0, 1.0, 0.0, 0.0, 0.0, PlayerFlags::WrapAround, false},
        {"wraps but still", 20.0, 0.0, 0.0, 0.0, 0.0, PlayerFlags::WrapAround, true},
    };
    for (const OutsideCase& c : cases) {
        SCOPED_TRACE(c.name);
        PlayerRig rig(8.0);
        PlayerParameters record = recordAt(c.origin, 10.0);
        record.clipStart = 100.0;
        record.clipEnd = 200.0;
        record.originSpeed = c.speed * 8.0;
        record.originAccel = c.accel * 64.0;
        record.widthSpeed = c.widthSpeed * 8.0;
        record.widthAccel = c.widthAccel * 64.0;
        record.playerFlags = c.flags;
        rig.start(record, numberedColumns(10));
        EXPECT_TRUE(test::frameIsDark(rig.draw()));
        EXPECT_EQ(test::isRetiring(rig.player), c.retires);
        if (c.retires) {
            EXPECT_EQ(rig.state().deathCountdown, 80.0);  // ten seconds
        }
    }

    // A player with its own death time keeps it instead of retiring.
    PlayerRig rig(8.0);
    PlayerParameters timed = recordAt(20.0, 10.0);
    timed.clipStart = 100.0;
    timed.clipEnd = 200.0;
    timed.deathAfter = 3.0;
    timed.commandFlags = CommandFlags::DeathAfterEnabled;
    rig.start(timed, numberedColumns(10));
    rig.draw();
    EXPECT_FALSE(test::isRetiring(rig.player));
    EXPECT_EQ(rig.state().deathCountdown, 24.0);
}

}  // namespace
}  // namespace rova
