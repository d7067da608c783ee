#pragma once

#include <cstddef>
#include <cstdint>
#include <list>
#include <thread>

#include "Clock.h"
#include "Decimation.h"
#include "FrameClock.h"
#include "LampFrame.h"
#include "Player.h"
#include "PlayerContent.h"
#include "ThreadSafety.h"

namespace rova {

// Owns the players on the rotor as a stack (the first is the top player), composes one
// LampFrame per frame of its FrameClock, and runs that clock's loop on a worker thread.
//
// One lock guards the players, the frame, the random generator and every change of the frame
// rate; every public operation takes it and none calls another with it held, so a plain mutex
// serves. Whatever runs under it (the visitor of forEachPlayer) must not call the engine. A
// subclass with a lock of its own takes that lock before this one, never while holding this one.
// The operations a sequence runner uses take `resetLag`: true when no sequence runs, so a
// command given by hand does not make the clock catch up.
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
    virtual std::int32_t tick() EXCLUDES(lock_);
    // Clears the frame, then lets each player draw itself, move, and age.
    virtual void composeFrame() EXCLUDES(lock_);

    // Adds a player with the set's record and content on top of the stack (killing the others
    // first when the record asks for it). False when its memory cannot be had.
    bool addPlayer(const ParameterSet& set, bool resetLag) EXCLUDES(lock_);
    // Applies the set to the top player, or adds one when there is none. False when the new
    // content cannot be copied (the top player then runs the new record without content).
    bool changeTopPlayer(const ParameterSet& set, bool contentToo, bool restart, bool resetLag)
        EXCLUDES(lock_);
    void killTopPlayer(bool resetLag) EXCLUDES(lock_);
    void killAllPlayers(bool resetLag) EXCLUDES(lock_);
    std::size_t playerCount() const EXCLUDES(lock_);

    void setFramesPerSecond(double framesPerSecond) EXCLUDES(lock_);
    double framesPerSecond() const { return frameClock_.framesPerSecond(); }
    // The time up to which frames have been produced; readable from any thread.
    std::uint32_t frameTime() const { return frameClock_.frameTime(); }
    FrameClock& frameClock() { return frameClock_; }

    // Decimation patterns come from a generator seeded once per engine; tests fix the seed.
    void seedRandom(std::uint32_t seed) EXCLUDES(lock_);

    // The frame loop: begins the schedule, then reads the clock and ticks until a stop is
    // requested, sleeping until the next frame is due.
    void runFrameLoop();
    // Starts runFrameLoop on a worker thread (no-op when one runs).
    void startWorker();
    // Requests the worker to stop and waits until it has; returns at once when none runs.
    // A subclass that overrides tick or composeFrame must call this in its own destructor.
    void stopWorker();

    // A copy of the last composed frame.
    LampFrame frame() const EXCLUDES(lock_);
    // Calls visit(const Player&) for each player from the top down, under the lock: the visitor
    // must not call the engine.
    template <typename Visit>
    void forEachPlayer(Visit&& visit) const EXCLUDES(lock_) {
        MutexLock guard(lock_);
        for (const Player& player : players_) {
            visit(player);
        }
    }

  protected:
    // The frame as last composed, for the thread that composes it to use between compositions:
    // only composeFrame changes it, so that thread reads it without the lock (other threads
    // read it under the lock through frame()).
    const LampFrame& currentFrame() const NO_THREAD_SAFETY_ANALYSIS { return frame_; }

  private:
    using PlayerList = std::list<Player>;

    bool addOnTop(const ParameterSet& set, bool resetLag) REQUIRES(lock_);
    void kill(PlayerList::iterator player) REQUIRES(lock_);
    void resetLagIf(bool resetLag);

    mutable Mutex lock_;
    PlayerList players_ GUARDED_BY(lock_);
    LampFrame frame_ GUARDED_BY(lock_);
    // Thread-safe by itself: the worker ticks it while others set the rate and read the time.
    FrameClock frameClock_;
    DecimationRandom random_ GUARDED_BY(lock_);
    std::thread worker_;
};

}  // namespace rova
