// A lost line: the virtual box pulls its line for a while. Measured: how often a daemon that
// calls recvData without any pause gets through while the line is away, and how much processor
// time that costs it; then how long after the box's return its first sample is published.

#include <benchmark/benchmark.h>
#include <time.h>

#include <chrono>
#include <thread>

#include "pty_rig.h"

namespace {

constexpr auto lineAway = std::chrono::milliseconds(1500);
constexpr auto tightLoop = std::chrono::seconds(1);

double threadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

void lostLine(benchmark::State& state) {
    CVirtualBox box;
    DeviceRig rig(box.linePath(), 19200, setUpWithoutIdentification(box));
    if (!rig.ready) {
        state.SkipWithError(rig.failure.c_str());
        return;
    }
    StdoutCapture log;  // the loss and the return are logged, as they should be
    double calls = 0;
    double cpu = 0;
    double recovery = 0;
    for (auto _ : state) {
        const std::uint64_t pulls = box.counters().linePulls;
        box.unplug(lineAway);
        while (box.counters().linePulls == pulls) {
            std::this_thread::yield();
        }
        const auto back = WallClock::now() + lineAway;

        const double cpuBefore = threadCpuSeconds();
        const auto loopEnd = WallClock::now() + tightLoop;
        std::uint64_t lostCalls = 0;
        while (WallClock::now() < loopEnd) {
            rig.poll();
            ++lostCalls;
        }
        calls += static_cast<double>(lostCalls) / std::chrono::duration<double>(tightLoop).count();
        cpu += (threadCpuSeconds() - cpuBefore) / std::chrono::duration<double>(tightLoop).count();

        while (!rig.published()) {
            if (WallClock::now() > back + std::chrono::seconds(30)) {
                state.SkipWithError("the device did not find the box again");
                return;
            }
        }
        recovery += std::chrono::duration<double>(WallClock::now() - back).count();
    }
    const auto runs = static_cast<double>(state.iterations());
    state.counters["calls_per_s_while_lost"] = calls / runs;
    state.counters["cpu_share_while_lost"] = cpu / runs;
    state.counters["recovery_s"] = recovery / runs;
}

}  // namespace

BENCHMARK(lostLine)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);
