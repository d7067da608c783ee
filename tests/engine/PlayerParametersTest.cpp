// The 168-byte parameter record: its stored byte image, defaults, reserved areas, the small
// setters, and the copying of packed contents.

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>

#include "EngineTestSupport.h"
#include "PlayerContent.h"
#include "PlayerParameters.h"

namespace rova {
namespace {

using Bytes = PlayerParameters::Bytes;

// Little-endian writing spelled out byte by byte, independent of how the record converts.
void writeLittleEndian(Bytes& bytes, std::size_t offset, std::size_t size, std::uint64_t value) {
    for (std::size_t i = 0; i < size; ++i) {
        bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

void writeDouble(Bytes& bytes, std::size_t offset, double value) {
    writeLittleEndian(bytes, offset, 8, std::bit_cast<std::uint64_t>(value));
}

// The stored image of a default record, written from the layout table: every byte not named
// here is zero.
Bytes defaultImage() {
    Bytes image{};
    writeDouble(image, 0, 5.0);                // next command after
    writeDouble(image, 8, 5.0);                // death after
    writeLittleEndian(image, 20, 4, 1);        // command flags: solo
    writeLittleEndian(image, 24, 4, 1);        // anchor: middle
    writeDouble(image, 32, 90.0);              // origin
    writeDouble(image, 56, 140.0);             // width
    writeDouble(image, 88, 360.0);             // clip end
    writeLittleEndian(image, 96, 4, 2);        // projections
    writeLittleEndian(image, 116, 4, 16);      // reserved word that holds 16
    writeLittleEndian(image, 152, 2, 0x8000);  // flash duty threshold
    writeLittleEndian(image, 156, 4, 0x1707);  // player flags
    return image;
}

TEST(PlayerParametersLayout, DefaultRecordMatchesTheStoredImage) {
    EXPECT_EQ(sizeof(PlayerParameters), 168u);
    EXPECT_EQ(PlayerParameters{}.toBytes(), defaultImage());
}

TEST(PlayerParametersLayout, ResetOverwritesEveryWordIncludingReservedOnes) {
    Bytes garbage;
    garbage.fill(0xA5);
    PlayerParameters record = PlayerParameters::fromBytes(garbage);
    record.resetToDefaults();
    EXPECT_EQ(record.toBytes(), defaultImage());
}

TEST(PlayerParametersLayout, FieldsSitAtTheirStoredOffsets) {
    Bytes image{};
    writeDouble(image, 0, 1.5);
    writeDouble(image, 8, 2.5);
    writeLittleEndian(image, 16, 4, 2);
    writeLittleEndian(image, 20, 4, 0xB);
    writeLittleEndian(image, 24, 4, 2);
    writeDouble(image, 32, 12.25);
    writeDouble(image, 40, -3.0);
    writeDouble(image, 48, 4.0);
    writeDouble(image, 56, -70.0);
    writeDouble(image, 64, 6.0);
    writeDouble(image, 72, 7.0);
    writeDouble(image, 80, 8.0);
    writeDouble(image, 88, 9.0);
    writeLittleEndian(image, 96, 4, 5);
    writeDouble(image, 120, -2.0);
    writeDouble(image, 128, 3.5);
    writeDouble(image, 136, 1.25);
    writeDouble(image, 144, -0.5);
    writeLittleEndian(image, 152, 2, 0x1234);
    writeLittleEndian(image, 156, 4, 0x8123);
    writeLittleEndian(image, 160, 4, 0xFFFFFFFD);  // -3

    const PlayerParameters record = PlayerParameters::fromBytes(image);
    EXPECT_EQ(record.nextCommandAfter, 1.5);
    EXPECT_EQ(record.deathAfter, 2.5);
    EXPECT_EQ(record.deathType, 2u);
    EXPECT_EQ(record.commandFlags, 0xBu);
    EXPECT_EQ(record.originAnchor, 2u);
    EXPECT_EQ(record.origin, 12.25);
    EXPECT_EQ(record.originSpeed, -3.0);
    EXPECT_EQ(record.originAccel, 4.0);
    EXPECT_EQ(record.width, -70.0);
    EXPECT_EQ(record.widthSpeed, 6.0);
    EXPECT_EQ(record.widthAccel, 7.0);
    EXPECT_EQ(record.clipStart, 8.0);
    EXPECT_EQ(record.clipEnd, 9.0);
    EXPECT_EQ(record.projections, 5u);
    EXPECT_EQ(record.yShift, -2.0);
    EXPECT_EQ(record.verticalSpeed, 3.5);
    EXPECT_EQ(record.flashing, 1.25);
    EXPECT_EQ(record.flashingAccel, -0.5);
    EXPECT_EQ(record.flashDutyThreshold, 0x1234);
    EXPECT_EQ(record.playerFlags, 0x8123u);
    EXPECT_EQ(record.heightAdjustment, -3);
    EXPECT_TRUE(record.hasCommandFlag(CommandFlags::ReplaceTop));
    EXPECT_TRUE(record.hasCommandFlag(CommandFlags::DeathAfterEnabled));
    EXPECT_EQ(record.toBytes(), image);
}

TEST(PlayerParametersLayout, ReservedAreasSurviveEveryCopy) {
    Bytes image = defaultImage();
    writeLittleEndian(image, 28, 4, 0x11223344);
    for (std::size_t i = 0; i < 16; ++i) {
        image[100 + i] = static_cast<std::uint8_t>(0xC0 + i);
    }
    writeLittleEndian(image, 154, 2, 0xBEEF);
    writeLittleEndian(image, 164, 4, 0xCAFEBABE);
    const PlayerParameters stored = PlayerParameters::fromBytes(image);

    const PlayerParameters copy = stored;
    EXPECT_EQ(copy.toBytes(), image);

    ParameterSet source;
    source.parameters = stored;

    // A live player keeps its own copy of the record untouched.
    test::EngineRig rig;
    ASSERT_TRUE(rig.engine.addPlayer(source, false));
    EXPECT_EQ(rig.engine.top().parameters().toBytes(), image);
    rig.engine.compose(3);
    EXPECT_EQ(rig.engine.top().parameters().toBytes(), image);
}

TEST(PlayerParametersSetters, ProjectionsStayBetweenOneAndSix) {
    PlayerParameters record;
    record.setProjections(0);
    EXPECT_EQ(record.projections, 1u);
    record.setProjections(9);
    EXPECT_EQ(record.projections, 6u);
    record.setProjections(0xFFFFFFFF);
    EXPECT_EQ(record.projections, 6u);
    for (std::uint32_t n = 1; n <= 6; ++n) {
        record.setProjections(n);
        EXPECT_EQ(record.projections, n);
    }
}

TEST(PlayerParametersSetters, SetWrapTouchesOnlyItsBit) {
    PlayerParameters record;
    record.playerFlags = 0xFFFFFFFF;
    record.setWrap(false);
    EXPECT_EQ(record.playerFlags, 0xFFFFFEFFu);
    record.playerFlags = 0;
    record.setWrap(true);
    EXPECT_EQ(record.playerFlags, 0x100u);
}

TEST(PlayerParametersSetters, WidthLimitDependsOnWrapAndProjections) {
    PlayerParameters record;
    record.playerFlags = 0;

    // 360 / 4 - 10 = 80.
    record.projections = 4;
    record.width = 100.0;
    record.limitWidth();
    EXPECT_EQ(record.width, 80.0);
    record.width = -100.0;
    record.limitWidth();
    EXPECT_EQ(record.width, -80.0);

    // 360 / 3 - 10 = 110: a width inside the limit is kept as it is.
    record.projections = 3;
    record.width = 100.5;
    record.limitWidth();
    EXPECT_EQ(record.width, 100.5);

    // One projection and no wrap: no limit at all.
    record.projections = 1;
    record.width = 500.0;
    record.limitWidth();
    EXPECT_EQ(record.width, 500.0);

    // One projection with wrap: 360 - 10 = 350.
    record.setWrap(true);
    record.limitWidth();
    EXPECT_EQ(record.width, 350.0);

    // A stored 0 counts as one projection rather than dividing by zero.
    record.projections = 0;
    record.width = -500.0;
    record.limitWidth();
    EXPECT_EQ(record.width, -350.0);
}

TEST(PlayerParametersSetters, VerticalAlignmentFromRowCount) {
    PlayerParameters record;
    record.playerFlags = PlayerFlags::AlignTop;
    record.yShift = 99.0;
    EXPECT_TRUE(record.applyVerticalAlignment(8));  // c = (48 - 8) / 2 = 20
    EXPECT_EQ(record.yShift, -4.0);                 // 16 - 20
    record.playerFlags = PlayerFlags::AlignBottom;
    EXPECT_TRUE(record.applyVerticalAlignment(8));
    EXPECT_EQ(record.yShift, 4.0);  // 32 - (8 + 20)

    // Odd heights: c = (48 - 7) / 2 = 20 by integer division.
    record.playerFlags = PlayerFlags::AlignTop;
    EXPECT_TRUE(record.applyVerticalAlignment(7));
    EXPECT_EQ(record.yShift, -4.0);
    record.playerFlags = PlayerFlags::AlignBottom;
    EXPECT_TRUE(record.applyVerticalAlignment(7));
    EXPECT_EQ(record.yShift, 5.0);  // 32 - (7 + 20)

    // A 32-row picture: c = 8.
    record.playerFlags = PlayerFlags::AlignTop;
    EXPECT_TRUE(record.applyVerticalAlignment(32));
    EXPECT_EQ(record.yShift, 8.0);
    record.playerFlags = PlayerFlags::AlignBottom;
    EXPECT_TRUE(record.applyVerticalAlignment(32));
    EXPECT_EQ(record.yShift, -8.0);

    // Fit computes nothing; no alignment reports false. Neither touches the y-shift.
    record.yShift = 2.5;
    record.playerFlags = PlayerFlags::Fit;
    EXPECT_TRUE(record.applyVerticalAlignment(8));
    EXPECT_EQ(record.yShift, 2.5);
    record.playerFlags = PlayerFlags::Defaults;
    EXPECT_FALSE(record.applyVerticalAlignment(8));
    EXPECT_EQ(record.yShift, 2.5);
}

TEST(ParameterSetTest, NewSetHasDefaultsAndNoContent) {
    const ParameterSet set;
    EXPECT_EQ(set.parameters.toBytes(), defaultImage());
    EXPECT_EQ(set.content.columnCount(), 0u);
    EXPECT_EQ(set.content.rowCount(), 0u);
    EXPECT_EQ(set.content.columns().data(), nullptr);
    EXPECT_EQ(set.keep, 0u);
}

TEST(PlayerContentTest, CopyIsDeepAndEmptySourceReleasesTarget) {
    ParameterSet source = test::makeSet(test::plainRecord(), test::numberedColumns(3), 12);
    ParameterSet target;
    ASSERT_TRUE(target.content.copyFrom(source.content));
    ASSERT_EQ(target.content.columnCount(), 3u);
    EXPECT_EQ(target.content.rowCount(), 12u);
    EXPECT_NE(target.content.columns().data(), source.content.columns().data());
    source.content.columns()[1][0] = 0;  // the copy owns its own array
    EXPECT_EQ(target.content.columns()[1], test::lampColumn(2));

    // A source with 0 columns leaves the target with no array at all, and succeeds.
    const ParameterSet empty;
    ASSERT_TRUE(target.content.copyFrom(empty.content));
    EXPECT_EQ(target.content.columnCount(), 0u);
    EXPECT_EQ(target.content.rowCount(), 0u);
    EXPECT_EQ(target.content.columns().data(), nullptr);
}

TEST(PlayerContentTest, AllocateZeroesAndReleaseClearsCounts) {
    PlayerContent content;
    const auto columns = content.allocate(5, 9);
    ASSERT_EQ(columns.size(), 5u);
    EXPECT_EQ(content.columnCount(), 5u);
    EXPECT_EQ(content.rowCount(), 9u);
    for (const ContentColumn& column : columns) {
        EXPECT_EQ(column, (ContentColumn{0, 0, 0}));
    }
    content.release();
    EXPECT_TRUE(content.empty());
    EXPECT_EQ(content.rowCount(), 0u);
    EXPECT_EQ(content.columns().data(), nullptr);
}

}  // namespace
}  // namespace rova
