// Records come from files anyone can write. Players with NaN, infinite, huge or out-of-range
// values must compose frames without crashing or hanging, and still die when killed.

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <limits>
#include <random>

#include "EngineTestSupport.h"

namespace rova {
namespace {

using namespace std::chrono_literals;
using test::EngineRig;
using test::makeSet;

constexpr double kInfinity = std::numeric_limits<double>::infinity();

const double kHostileValues[] = {
    std::numeric_limits<double>::quiet_NaN(),
    kInfinity,
    -kInfinity,
    1e300,
    -1e300,
    1e-300,
    -1e-300,
    4.5e18,  // just past what a 64-bit integer holds
    -4.5e18,
    -0.0,
};

using DoubleField = double PlayerParameters::*;
const DoubleField kDoubleFields[] = {
    &PlayerParameters::deathAfter,    &PlayerParameters::origin,
    &PlayerParameters::originSpeed,   &PlayerParameters::originAccel,
    &PlayerParameters::width,         &PlayerParameters::widthSpeed,
    &PlayerParameters::widthAccel,    &PlayerParameters::clipStart,
    &PlayerParameters::clipEnd,       &PlayerParameters::yShift,
    &PlayerParameters::verticalSpeed, &PlayerParameters::flashing,
    &PlayerParameters::flashingAccel,
};

// Three kinds of player that between them use every motion rule.
struct BaseCase {
    PlayerParameters record;
    std::uint32_t rows;
};

std::vector<BaseCase> baseCases() {
    // The defaults (springs, mirror, wrap, vertical bounce) with a death time and decimation.
    PlayerParameters defaults;
    defaults.commandFlags |= CommandFlags::DeathAfterEnabled;
    defaults.deathAfter = 1.0;
    defaults.deathType = static_cast<std::uint32_t>(DeathType::DecimateFast);

    // Every flag bit set, three projections, everything moving.
    PlayerParameters everything = test::plainRecord();
    everything.playerFlags = 0xFFFFFFFF;
    everything.projections = 3;
    everything.originSpeed = 40.0;
    everything.widthSpeed = -30.0;
    everything.verticalSpeed = 5.0;
    everything.flashing = 3.0;
    everything.deathType = static_cast<std::uint32_t>(DeathType::DecimateSlow);

    // Bouncing in a clip window, without wrap.
    PlayerParameters bouncing = test::plainRecord();
    bouncing.playerFlags = PlayerFlags::BounceAtStart | PlayerFlags::BounceAtEnd |
                           PlayerFlags::BounceAtZero | PlayerFlags::MirrorAtZero |
                           PlayerFlags::VerticalBounce;
    bouncing.clipStart = 100.0;
    bouncing.clipEnd = 200.0;
    bouncing.origin = 150.0;
    bouncing.width = 40.0;
    bouncing.originSpeed = 50.0;
    bouncing.widthSpeed = 20.0;
    bouncing.widthAccel = -5.0;
    bouncing.verticalSpeed = -7.0;

    return {{defaults, 16}, {everything, 1}, {bouncing, 32}};
}

// Adds the record, runs frames, changes the top player to it again, kills everything and
// checks that every player is gone once the longest decimation (16 frames) is over.
void exercise(const PlayerParameters& record, std::uint32_t rows) {
    EngineRig rig;
    rig.engine.seedRandom(1);
    const ParameterSet set = makeSet(record, test::numberedColumns(50), rows);
    ASSERT_TRUE(rig.engine.addPlayer(set, false));
    rig.engine.compose(12);
    rig.engine.changeTopPlayer(set, true, false, false);
    rig.engine.compose(12);
    rig.engine.changeTopPlayer(set, true, true, false);
    rig.engine.killAllPlayers(false);
    rig.engine.compose(16);
    EXPECT_EQ(rig.engine.playerCount(), 0u);
}

TEST(PlayerRobustness, HostileValueInAnyDoubleField) {
    test::Watchdog watchdog(60s);
    for (const BaseCase& base : baseCases()) {
        for (std::size_t field = 0; field < std::size(kDoubleFields); ++field) {
            for (const double value : kHostileValues) {
                PlayerParameters record = base.record;
                record.*kDoubleFields[field] = value;
                SCOPED_TRACE(testing::Message() << "flags " << record.playerFlags << ", field "
                                                << field << ", value " << value);
                exercise(record, base.rows);
            }
        }
    }
}

TEST(PlayerRobustness, OutOfRangeWholeNumbers) {
    test::Watchdog watchdog(60s);
    for (const BaseCase& base : baseCases()) {
        for (const std::uint32_t projections : {0u, 7u, 1000u, 0xFFFFFFFFu}) {
            PlayerParameters record = base.record;
            record.projections = projections;
            exercise(record, base.rows);
        }
        for (const std::uint32_t deathType : {3u, 4u, 99u, 0xFFFFFFFFu}) {
            PlayerParameters record = base.record;
            record.deathType = deathType;
            exercise(record, base.rows);
        }
        for (const std::uint32_t anchor : {3u, 0xFFFFFFFFu}) {
            PlayerParameters record = base.record;
            record.originAnchor = anchor;
            exercise(record, base.rows);
        }
        for (const std::uint16_t threshold : {std::uint16_t{0}, std::uint16_t{0xFFFF}}) {
            PlayerParameters record = base.record;
            record.flashDutyThreshold = threshold;
            exercise(record, base.rows);
        }
        PlayerParameters record = base.record;
        record.commandFlags = 0xFFFFFFFF;
        exercise(record, base.rows);
    }
}

TEST(PlayerRobustness, RecordsOfRandomBytes) {
    test::Watchdog watchdog(60s);
    std::mt19937 random(77);
    for (int i = 0; i < 300; ++i) {
        PlayerParameters::Bytes bytes;
        for (std::uint8_t& byte : bytes) {
            byte = static_cast<std::uint8_t>(random());
        }
        SCOPED_TRACE(i);
        exercise(PlayerParameters::fromBytes(bytes), 1 + random() % 32);
    }
}

TEST(PlayerRobustness, WrapKeepsHugePositionsOnTheCircle) {
    test::Watchdog watchdog(10s);
    test::PlayerRig rig(8.0);
    PlayerParameters record = test::plainRecord();
    record.playerFlags = PlayerFlags::WrapAround;
    record.origin = 1e300;
    record.originSpeed = 1e300;
    record.clipStart = -1e300;
    record.clipEnd = 1e300;
    rig.start(record, test::numberedColumns(10));
    for (int frame = 0; frame < 5; ++frame) {
        rig.frame();
        EXPECT_GE(rig.state().origin, 0.0);
        EXPECT_LT(rig.state().origin, 360.0);
        EXPECT_GT(rig.state().clipStart, -360.0);
        EXPECT_LT(rig.state().clipEnd, 360.0);
        const Span span = rig.player.span();
        EXPECT_GT(span.start, -720.0);
        EXPECT_LT(span.end, 720.0);
    }

    // An infinite or NaN origin has no place on the circle: it must not turn the span into NaN.
    for (const double origin : {kInfinity, std::numeric_limits<double>::quiet_NaN()}) {
        record.origin = origin;
        rig.start(record, test::numberedColumns(10));
        rig.frame();
        EXPECT_FALSE(std::isnan(rig.player.span().start));
    }
}

TEST(PlayerRobustness, ContentTallerThanTheWordsIsDrawnWithoutOverlongShifts) {
    // Packing never makes more than 32 rows, but the content type allows it: the shift onto the
    // lamps must stay defined (the sanitizer build checks this) and draw nothing out of range.
    test::PlayerRig rig(8.0);
    PlayerParameters record = test::plainRecord();
    for (const double yShift : {-24.0, -40.0, 0.0, 30.0}) {
        record.yShift = yShift;
        rig.start(record, test::fullColumns(20), 100);
        const LampFrame frame = rig.frame();
        for (const auto& column : frame.columns) {
            EXPECT_EQ(column[1] | column[2], 0) << "only the blue plane has content";
        }
    }
}

}  // namespace
}  // namespace rova
