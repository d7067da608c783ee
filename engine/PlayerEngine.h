#pragma once

#include <cstddef>
#include <cstdint>
#include <list>
#include <mutex>
#include <thread>

#include "Clock.h"
#include "Decimation.h"
#include "FrameClock.h"
#include "LampFrame.h"
#include "Player.h"
#include "PlayerContent.h"

namespace rova {

// Owns the players on the rotor as a stack (the first is the top player), composes one
// LampFrame per frame of its FrameClock, and runs that clock's loop on a worker thread.
//
// One recursive lock guards the players, the frame and every change of the frame rate; every
// public operation takes it. The operations a sequence runner uses take `resetLag`: true when
// no sequence runs, so a command given by hand does not make the clock catch up.
class PlayerEngine {
  public:
    explicit PlayerEngine(Clock& clock);
    virtual ~PlayerEngine();
    PlayerEngine(const PlayerEngine&) = delete;
    PlayerEngine& operator=(const PlayerEngine&) = delete;

    // Degrees of the circle between two neighbouring lamps' worth of rim; the simulator knows
    // the geometry. Auto width uses it.
    virtual double degreesPerLampColumn() const = 0;
    // Composes a frame when one is due; returns the milliseconds until the next is due.
    virtual std::int32_t tick();
    // Clears the frame, then lets each player draw itself, move, and age.
    virtual void composeFrame();

    // Adds a player with the set's record and content on top of the stack (killing the others
    // first when the record asks for it). False when its memory cannot be had.
    bool addPlayer(const ParameterSet& set, bool resetLag);
    // Applies the set to the top player, or adds one when there is none. False when the new
    // content cannot be copied (the top player then runs the new record without content).
    bool changeTopPlayer(const ParameterSet& set, bool contentToo, bool restart, bool resetLag);
    void killTopPlayer(bool resetLag);
    void killAllPlayers(bool resetLag);
    std::size_t playerCount() const;

    void setFramesPerSecond(double framesPerSecond);
    double framesPerSecond() const { return frameClock_.framesPerSecond(); }
    // The time up to which frames have been produced; readable from any thread.
    std::uint32_t frameTime() const { return frameClock_.frameTime(); }
    FrameClock& frameClock() { return frameClock_; }

    // Decimation patterns come from a generator seeded once per engine; tests fix the seed.
    void seedRandom(std::uint32_t seed);

    // The frame loop: begins the schedule, then reads the clock and ticks until a stop is
    // requested, sleeping until the next frame is due.
    void runFrameLoop();
    // Starts runFrameLoop on a worker thread (no-op when one runs).
    void startWorker();
    // Requests the worker to stop and waits until it has; returns at once when none runs.
    // A subclass that overrides tick or composeFrame must call this in its own destructor.
    void stopWorker();

    // A copy of the last composed frame.
    LampFrame frame() const;
    // Calls visit(const Player&) for each player from the top down, under the lock.
    template <typename Visit>
    void forEachPlayer(Visit&& visit) const {
        std::lock_guard guard(lock_);
        for (const Player& player : players_) {
            visit(player);
        }
    }

  protected:
    // The frame being composed; use under the lock.
    const LampFrame& currentFrame() const { return frame_; }

  private:
    using PlayerList = std::list<Player>;

    void kill(PlayerList::iterator player);
    void resetLagIf(bool resetLag);

    mutable std::recursive_mutex lock_;
    PlayerList players_;
    LampFrame frame_;
    FrameClock frameClock_;
    DecimationRandom random_;
    std::thread worker_;
};

}  // namespace rova
