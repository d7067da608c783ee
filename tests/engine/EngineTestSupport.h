#pragma once

// Shared helpers of the engine tests: records with every motion flag off, packed contents whose
// columns are easy to recognise in a frame, an engine that counts its frames, a player on its
// own clock, and a watchdog that turns a hang into a failure.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <vector>

#include "Clock.h"
#include "FrameClock.h"
#include "LampFrame.h"
#include "Player.h"
#include "PlayerContent.h"
#include "PlayerEngine.h"
#include "PlayerParameters.h"

namespace rova::test {

// A record with no player flags, one projection, the left-edge anchor, no solo bit and no death
// time: each test switches on only what it exercises. The clip window keeps its default (full
// circle), which without WrapAround is an active window from 0 to 359.
inline PlayerParameters plainRecord() {
    PlayerParameters record;
    record.playerFlags = 0;
    record.projections = 1;
    record.originAnchor = static_cast<std::uint32_t>(OriginAnchor::LeftEdge);
    record.commandFlags = 0;
    return record;
}

// A content column of a 16-row picture whose lamp words (after the centring shift of 16) are
// the given values, one per plane.
inline ContentColumn lampColumn(std::uint16_t blue, std::uint16_t green = 0,
                                std::uint16_t red = 0) {
    return {std::uint32_t{blue} << 16, std::uint32_t{green} << 16, std::uint32_t{red} << 16};
}

// Columns whose blue lamp word is the column's number plus one, so a frame column tells which
// content column was sampled into it (0 would be indistinguishable from dark).
inline std::vector<ContentColumn> numberedColumns(int count) {
    std::vector<ContentColumn> columns;
    for (int k = 0; k < count; ++k) {
        columns.push_back(lampColumn(static_cast<std::uint16_t>(k + 1)));
    }
    return columns;
}

// `count` columns of a 16-row picture with every lamp lit in blue.
inline std::vector<ContentColumn> fullColumns(int count) {
    return std::vector<ContentColumn>(static_cast<std::size_t>(count), lampColumn(0xFFFF));
}

inline void fillContent(PlayerContent& content, const std::vector<ContentColumn>& columns,
                        std::uint32_t rows) {
    const auto target = content.allocate(static_cast<std::uint32_t>(columns.size()), rows);
    ASSERT_EQ(target.size(), columns.size());
    std::copy(columns.begin(), columns.end(), target.begin());
}

inline ParameterSet makeSet(const PlayerParameters& record,
                            const std::vector<ContentColumn>& columns, std::uint32_t rows = 16) {
    ParameterSet set;
    set.parameters = record;
    if (!columns.empty()) {
        fillContent(set.content, columns, rows);
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

inline std::vector<int> columnRange(int first, int last) {
    std::vector<int> range;
    for (int c = first; c <= last; ++c) {
        range.push_back(c);
    }
    return range;
}

inline bool frameIsDark(const LampFrame& frame) {
    for (const auto& column : frame.columns) {
        for (const std::uint16_t word : column) {
            if (word != 0) {
                return false;
            }
        }
    }
    return true;
}

inline bool isRetiring(const Player& player) {
    return (player.state().bits & PlayerStateBits::Retiring) != 0;
}

inline bool isDecimating(const Player& player) {
    return (player.state().bits & PlayerStateBits::Decimating) != 0;
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
    // Draws the player into a fresh frame, as the first half of a frame's work.
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

// The smallest concrete engine: a fixed lamp-column angle, and a count of the frames it composed
// (readable from any thread).
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

// An engine on a virtual clock that starts at `startMs`.
struct EngineRig {
    explicit EngineRig(std::uint32_t startMs = 0) : clock(startMs) {}
    VirtualClock clock;
    TestEngine engine{clock};
};

// Aborts the test program when the scope it guards has not ended within `limit`, so that a hang
// reports itself instead of stalling the whole run.
class Watchdog {
  public:
    explicit Watchdog(std::chrono::milliseconds limit) : thread_([this, limit] { watch(limit); }) {}
    ~Watchdog() {
        {
            std::lock_guard guard(mutex_);
            done_ = true;
        }
        finished_.notify_all();
        thread_.join();
    }
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

  private:
    void watch(std::chrono::milliseconds limit) {
        std::unique_lock lock(mutex_);
        if (!finished_.wait_for(lock, limit, [this] { return done_; })) {
            std::fprintf(stderr, "Watchdog: the guarded scope hung\n");
            std::abort();
        }
    }

    std::mutex mutex_;
    std::condition_variable finished_;
    bool done_ = false;
    std::thread thread_;
};

// Polls until `condition` holds. The caller guards the wait with a Watchdog.
template <typename Condition>
void waitUntil(Condition&& condition) {
    while (!condition()) {
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
}

}  // namespace rova::test
