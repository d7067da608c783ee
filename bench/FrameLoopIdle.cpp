// Runs the frame loop in real time with one player at 8 frames per second and reports how much
// processor time the whole process used meanwhile. Usage: rova_frame_loop_idle [seconds]
#include <sys/resource.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "Clock.h"
#include "EngineFixtures.h"

namespace {

// Counts the frames it composes, to show the loop kept its rate while it slept in between.
class CountingEngine final : public rova::PlayerEngine {
  public:
    using PlayerEngine::PlayerEngine;
    ~CountingEngine() override { stopWorker(); }
    double degreesPerLampColumn() const override { return 0.7; }
    void composeFrame() override {
        PlayerEngine::composeFrame();
        ++frames;
    }
    std::atomic<int> frames{0};
};

double processCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

}  // namespace

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 10.0;
    rova::SteadyClock clock;
    CountingEngine engine(clock);
    engine.setFramesPerSecond(8.0);
    engine.addPlayer(rova::bench::wrappingPlayer(200, 2, 30.0), true);

    const double cpuBefore = processCpuSeconds();
    const std::uint32_t startMs = clock.nowMs();
    engine.startWorker();
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    engine.stopWorker();
    const double elapsed = (clock.nowMs() - startMs) / 1000.0;
    const double cpu = processCpuSeconds() - cpuBefore;
    std::printf("frame loop: %d frames in %.2f s wall, %.4f s CPU, %.3f %% of one core\n",
                engine.frames.load(), elapsed, cpu, 100.0 * cpu / elapsed);
    return 0;
}
