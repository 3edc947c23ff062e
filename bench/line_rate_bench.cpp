// The device's polling rate against a virtual box that sends no faster than a real line at the
// given rate, measured against that line's limit: per cycle 25 bytes of 10 bits, the request and
// the 24-byte packet.

#include <benchmark/benchmark.h>

#include "pty_rig.h"

namespace {

constexpr double bitsPerCycle = 25 * 10;

void lineRate(benchmark::State& state) {
    const auto baud = static_cast<int>(state.range(0));
    CVirtualBox box;
    DeviceRig rig(box.slavePath(), baud, setUpWithoutIdentification(box));
    if (!rig.ready) {
        state.SkipWithError(rig.failure.c_str());
        return;
    }
    box.setLineRate(baud);

    // A cycle cut short by a slow machine is counted, not failed: the rate shows what it cost.
    std::uint64_t incomplete = 0;
    const auto start = WallClock::now();
    for (auto _ : state) {
        const std::int32_t result = rig.poll();
        if (result < 0) {
            state.SkipWithError("a cycle failed");
            break;
        }
        incomplete += result == 0 ? 1 : 0;
    }
    const double rate =
        perSecond(static_cast<std::uint64_t>(state.iterations()), WallClock::now() - start);
    state.counters["cycles_per_s"] = rate;
    state.counters["line_limit_per_s"] = baud / bitsPerCycle;
    state.counters["efficiency"] = rate / (baud / bitsPerCycle);
    state.counters["incomplete"] = static_cast<double>(incomplete);
}

}  // namespace

BENCHMARK(lineRate)->ArgName("baud")->Arg(19200)->Arg(115200)->UseRealTime()->Unit(
    benchmark::kMillisecond);
