#pragma once

// Engine test helpers: plain records, recognisable contents, a lone player, a counting engine.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <vector>

#include "Clock.h"
#include "FrameClock.h"
#include "LampFrame.h"
#include "Player.h"
#include "PlayerContent.h"
#include "PlayerEngine.h"
#include "PlayerParameters.h"

namespace rova::test {

// A record with no solo bit and no death time, set up in the units of a player at 8 frames a
// second: speeds in degrees (rows) a frame, accelerations in degrees a frame². The defaults: no
// player flags, one projection, the left-edge anchor, and the full circle as window (without
// WrapAround an active window from 0 to 359). Cases name only what they change.
struct PlayerSetup {
    double origin = 90.0, width = 140.0;
    double speed = 0.0, accel = 0.0, widthSpeed = 0.0, widthAccel = 0.0, verticalSpeed = 0.0;
    std::uint32_t flags = 0;
    OriginAnchor anchor = OriginAnchor::LeftEdge;
    std::uint32_t projections = 1;
    double clipStart = 0.0, clipEnd = 360.0;
};

inline PlayerParameters record(const PlayerSetup& s = {}) {
    PlayerParameters p;
    p.commandFlags = 0;
    p.origin = s.origin;
    p.width = s.width;
    p.originSpeed = s.speed * 8.0;
    p.originAccel = s.accel * 64.0;
    p.widthSpeed = s.widthSpeed * 8.0;
    p.widthAccel = s.widthAccel * 64.0;
    p.verticalSpeed = s.verticalSpeed * 8.0;
    p.playerFlags = s.flags;
    p.originAnchor = static_cast<std::uint32_t>(s.anchor);
    p.projections = s.projections;
    p.clipStart = s.clipStart;
    p.clipEnd = s.clipEnd;
    return p;
}

// A content column of a 16-row picture whose lamp words (after the centring shift of 16) are
// the given values, one per plane.
inline ContentColumn lampColumn(std::uint16_t blue, std::uint16_t green = 0,
                                std::uint16_t red = 0) {
    return {std::uint32_t{blue} << 16, std::uint32_t{green} << 16, std::uint32_t{red} << 16};
}

// Columns whose blue lamp word is the column's number plus one, so a frame column tells which
// content column was sampled into it.
inline std::vector<ContentColumn> numberedColumns(int count) {
    std::vector<ContentColumn> columns;
    for (int k = 0; k < count; ++k) {
        columns.push_back(lampColumn(static_cast<std::uint16_t>(k + 1)));
    }
    return columns;
}

// `count` columns with every lamp lit in blue.
inline std::vector<ContentColumn> fullColumns(int count) {
    return std::vector<ContentColumn>(static_cast<std::size_t>(count), lampColumn(0xFFFF));
}

inline ParameterSet makeSet(const PlayerParameters& record,
                            const std::vector<ContentColumn>& columns, std::uint32_t rows = 16) {
    ParameterSet set;
    set.parameters = record;
    if (!columns.empty()) {
        const auto target = set.content.allocate(static_cast<std::uint32_t>(columns.size()), rows);
        std::copy(columns.begin(), columns.end(), target.begin());
    }
    return set;
}

// The frame columns whose word in `plane` is not zero.
inline std::vector<int> litColumns(const LampFrame& frame, int plane = 0) {
    std::vector<int> lit;
    for (int c = 0; c < LampFrame::kColumns; ++c) {
        if (frame.columns[c][plane] != 0) {
            lit.push_back(c);
        }
    }
    return lit;
}

// `count` values from `first` on, `step` apart.
inline std::vector<int> countingFrom(int first, int count, int step = 1) {
    std::vector<int> values;
    for (int k = 0; k < count; ++k) {
        values.push_back(first + k * step);
    }
    return values;
}

inline bool frameIsDark(const LampFrame& frame) {
    return litColumns(frame, 0).empty() && litColumns(frame, 1).empty() &&
           litColumns(frame, 2).empty();
}

inline bool isRetiring(const Player& player) {
    return (player.state().bits & PlayerStateBits::Retiring) != 0;
}

// A lone player on a virtual clock, driven frame by frame the way the engine drives it.
struct PlayerRig {
    explicit PlayerRig(double framesPerSecond = 8.0) {
        frameClock.setFramesPerSecond(framesPerSecond);
    }
    void start(const PlayerParameters& record, const std::vector<ContentColumn>& columns = {},
               std::uint32_t rows = 16) {
        ASSERT_TRUE(player.assign(makeSet(record, columns, rows)));
        player.start();
    }
    LampFrame draw() {
        LampFrame frame;
        player.draw(frame);
        return frame;
    }
    // Draws and then steps: one whole frame of the player's own work.
    LampFrame frame() {
        LampFrame drawn = draw();
        player.step();
        return drawn;
    }
    void steps(int count) {
        for (int i = 0; i < count; ++i) {
            player.step();
        }
    }
    const PlayerState& state() const { return player.state(); }

    VirtualClock clock;
    FrameClock frameClock{clock};
    Player player{frameClock};
};

// The smallest concrete engine, counting the frames it composed (readable from any thread).
class TestEngine : public PlayerEngine {
  public:
    using PlayerEngine::PlayerEngine;
    ~TestEngine() override { stopWorker(); }

    double degreesPerLampColumn() const override { return 2.0; }
    void composeFrame() override {
        PlayerEngine::composeFrame();
        composed_.fetch_add(1);
    }
    int composedFrames() const { return composed_.load(); }
    // Composes `count` frames directly, without the clock.
    void compose(int count) {
        for (int i = 0; i < count; ++i) {
            composeFrame();
        }
    }
    // The players from the top down.
    std::vector<const Player*> players() const {
        std::vector<const Player*> list;
        forEachPlayer([&list](const Player& player) { list.push_back(&player); });
        return list;
    }
    const Player& top() const { return *players().front(); }

  private:
    std::atomic<int> composed_{0};
};

// An engine on a virtual clock.
struct EngineRig {
    VirtualClock clock;
    TestEngine engine{clock};
};

}  // namespace rova::test
