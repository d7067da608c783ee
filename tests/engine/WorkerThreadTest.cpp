// The frame loop on its worker thread: stopping it before it starts and while it waits, a lag
// reset during a tick, and player operations from another thread while frames are composed.

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <semaphore>
#include <stop_token>
#include <thread>

#include "EngineTestSupport.h"

namespace rova {
namespace {

using namespace std::chrono_literals;
using test::EngineRig;
using test::TestEngine;

// Aborts the test program when the scope it guards has not ended within `limit`, so that a hang
// reports itself instead of stalling the whole run.
class Watchdog {
  public:
    explicit Watchdog(std::chrono::seconds limit)
        : thread_([limit](std::stop_token ended) {
              std::mutex mutex;
              std::condition_variable_any wake;
              std::unique_lock lock(mutex);
              wake.wait_for(lock, ended, limit, [] { return false; });
              if (!ended.stop_requested()) {
                  std::fprintf(stderr, "Watchdog: the guarded scope hung\n");
                  std::abort();
              }
          }) {}

  private:
    std::jthread thread_;
};

// Polls until `condition` holds. The caller guards the wait with a Watchdog.
template <typename Condition>
void waitUntil(Condition&& condition) {
    while (!condition()) {
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
}

TEST(WorkerThread, AStopEndsTheLoopBeforeItStartsAndWakesAWorkerWaitingForItsNextFrame) {
    Watchdog watchdog(5s);
    // On this thread: the request is already there when the loop begins.
    EngineRig rig;
    rig.engine.frameClock().prepareWorker();
    rig.engine.frameClock().requestStop();
    rig.engine.runFrameLoop();
    EXPECT_TRUE(rig.engine.frameClock().stopped());
    EXPECT_EQ(rig.engine.composedFrames(), 0);

    // On the worker: a stop right after the start, before the thread may have run at all.
    for (int i = 0; i < 20; ++i) {
        rig.engine.startWorker();
        rig.engine.stopWorker();
        EXPECT_TRUE(rig.engine.frameClock().stopped());
    }

    SteadyClock clock;
    TestEngine engine(clock);
    // At one frame a second the worker composes its first frame at once and then waits for the
    // next. The stop wakes it: had the wake-up been lost, it would have slept out the second and
    // composed the next frame before seeing the request.
    engine.setFramesPerSecond(1.0);
    engine.startWorker();
    waitUntil([&engine] { return engine.composedFrames() > 0; });
    std::this_thread::sleep_for(20ms);
    engine.stopWorker();
    EXPECT_TRUE(engine.frameClock().stopped());
    EXPECT_EQ(engine.composedFrames(), 1);
}

// An engine whose frame thread, once armed, pauses right after composing (before the clock
// settles its lag) until the test lets it go on.
class PausingEngine : public TestEngine {
  public:
    using TestEngine::TestEngine;
    void composeFrame() override {
        TestEngine::composeFrame();
        if (armed) {
            composed.release();
            resume.acquire();
        }
    }

    bool armed = false;
    std::binary_semaphore composed{0};
    std::binary_semaphore resume{0};
};

TEST(WorkerThread, LagResetFromAnotherThreadDuringATickIsKept) {
    Watchdog watchdog(5s);
    VirtualClock clock;
    PausingEngine engine(clock);
    engine.frameClock().begin();  // first frame due at 0
    clock.set(400);
    engine.frameClock().readNow();
    engine.armed = true;
    std::thread frameThread([&engine] { engine.tick(); });
    engine.composed.acquire();       // the tick has added its 400 ms of lag and composed
    engine.frameClock().resetLag();  // what a command given by hand does
    engine.resume.release();
    frameThread.join();
    EXPECT_EQ(engine.frameClock().lag(), 0u);
    EXPECT_EQ(engine.frameClock().due(), 525u);  // on schedule again, no catch-up
}

// Adds, changes and kills players, changes the rate and reads the frame time from this thread
// while the worker composes frames; afterwards the worker must still be composing.
void operateWhileRunning(TestEngine& engine) {
    engine.startWorker();
    waitUntil([&engine] { return engine.composedFrames() >= 1; });
    ParameterSet set =
        test::makeSet(test::record({.origin = 30.0, .width = 10.0}), test::numberedColumns(10));
    for (int i = 0; i < 200; ++i) {
        set.parameters.origin = i;
        set.parameters.commandFlags = (i % 7 == 0) ? CommandFlags::Solo : 0;
        set.parameters.deathType = static_cast<std::uint32_t>(i % 3);
        EXPECT_TRUE(engine.addPlayer(set, true));
        EXPECT_TRUE(engine.changeTopPlayer(set, i % 2 == 0, i % 5 == 0, true));
        if (i % 3 == 0) {
            engine.killTopPlayer(true);
        }
        if (i % 50 == 49) {
            engine.killAllPlayers(true);
        }
        engine.setFramesPerSecond(i % 2 == 0 ? 50.0 : 60.0);
        static_cast<void>(engine.frameTime() + engine.playerCount() + engine.frame().columns[0][0]);
        if (i % 20 == 0) {
            std::this_thread::sleep_for(1ms);
        }
    }
    const int framesSoFar = engine.composedFrames();
    waitUntil([&engine, framesSoFar] { return engine.composedFrames() > framesSoFar; });
    engine.stopWorker();
    EXPECT_TRUE(engine.frameClock().stopped());
}

TEST(WorkerThread, OperationsFromAnotherThreadWhileFramesAreComposed) {
    Watchdog watchdog(5s);
    EngineRig virtualRig;
    operateWhileRunning(virtualRig.engine);
    SteadyClock steady;
    TestEngine steadyEngine(steady);
    operateWhileRunning(steadyEngine);
}

}  // namespace
}  // namespace rova
