// The device's polling rate against the virtual box over a pseudo-terminal, measured against a
// bare loop that exchanges the same request and packet with the same box over the same line.
// The two run in turn, cycle by cycle, so that both see the same machine.

#include <benchmark/benchmark.h>

#include "bare_pty_loop.h"
#include "pty_rig.h"

namespace {

constexpr std::size_t packetLength = 24;

void ptyEfficiency(benchmark::State& state) {
    CVirtualBox box;
    DeviceRig rig(box.slavePath(), 19200, setUpWithoutIdentification(box));
    if (!rig.ready) {
        state.SkipWithError(rig.failure.c_str());
        return;
    }
    CBarePtyLoop bare(box.slavePath(), packetLength);
    if (!bare.ready()) {
        state.SkipWithError("the bare loop cannot open the box's line");
        return;
    }

    WallClock::duration deviceTime{};
    WallClock::duration bareTime{};
    for (auto _ : state) {
        const auto start = WallClock::now();
        const std::int32_t result = rig.poll();
        const auto between = WallClock::now();
        const bool exchanged = bare.cycle();
        bareTime += WallClock::now() - between;
        deviceTime += between - start;
        if (result != 1 || !exchanged) {
            state.SkipWithError("a cycle brought no packet");
            break;
        }
    }
    const auto cycles = static_cast<std::uint64_t>(state.iterations());
    const double deviceRate = perSecond(cycles, deviceTime);
    const double bareRate = perSecond(cycles, bareTime);
    state.counters["device_cycles_per_s"] = deviceRate;
    state.counters["bare_cycles_per_s"] = bareRate;
    state.counters["efficiency"] = deviceRate / bareRate;
}

}  // namespace

BENCHMARK(ptyEfficiency)->UseRealTime()->Unit(benchmark::kMicrosecond);
