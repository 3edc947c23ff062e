// The cost of one polling cycle of the device itself: a packet is waiting on a port in memory, so
// no time goes to a line or a box. Counters per cycle: heap allocations, and the port calls and
// sleeps that would have gone to the system.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "allocation_count.h"
#include "device_rig.h"
#include "memory_sys.h"

namespace {

// Inputs that differ from those of any other n in a button and an analog input.
BoxInputs distinctInputs(int n) {
    BoxInputs inputs = BoxInputs::atRest();
    inputs.buttons = 1u << (n - 1);
    inputs.analog[0] = 1000 + n;
    return inputs;
}

// An emulated tracker that the first three analog inputs move.
const std::vector<std::vector<std::string>> emulatedTracker = {
    {"emulatetracker", "1", "[0,0,5,0,0,0]", "1", "2", "3", "0", "0", "0", "24"}};

// One set of inputs: the first cycle publishes, all others find the sample unchanged. Two sets
// in turn: every cycle publishes. With the emulated tracker every cycle also steps it, and
// publishes it whenever the clock's millisecond has moved on.
void cycleCost(benchmark::State& state, const std::vector<BoxInputs>& inputs,
               const std::vector<std::vector<std::string>>& lines) {
    DeviceRig rig(
        memory_sys::portName, 19200,
        [](CPendax& device) {
            device.configure();
            return true;
        },
        lines);
    if (!rig.ready) {
        state.SkipWithError(rig.failure.c_str());
        return;
    }
    memory_sys::box().setInputs(inputs);
    if (rig.poll() != 1) {
        state.SkipWithError("the first cycle found no packet");
        return;
    }

    const std::uint64_t allocationsBefore = allocationCount();
    const memory_sys::Calls before = memory_sys::calls();
    for (auto _ : state) {
        if (rig.poll() != 1) {
            state.SkipWithError("a cycle found no packet");
            break;
        }
    }
    const memory_sys::Calls after = memory_sys::calls();
    const auto perCycle = [](std::uint64_t count) {
        return benchmark::Counter(static_cast<double>(count), benchmark::Counter::kAvgIterations);
    };
    state.counters["allocations"] = perCycle(allocationCount() - allocationsBefore);
    state.counters["writes"] = perCycle(after.writes - before.writes);
    state.counters["reads"] = perCycle(after.reads - before.reads);
    state.counters["sleeps"] = perCycle(after.sleeps - before.sleeps);
}

}  // namespace

BENCHMARK_CAPTURE(cycleCost, unchanged_sample, std::vector<BoxInputs>{distinctInputs(1)},
                  std::vector<std::vector<std::string>>{});
BENCHMARK_CAPTURE(cycleCost, changed_sample,
                  std::vector<BoxInputs>{distinctInputs(1), distinctInputs(2)},
                  std::vector<std::vector<std::string>>{});
BENCHMARK_CAPTURE(cycleCost, unchanged_sample_with_tracker,
                  std::vector<BoxInputs>{distinctInputs(1)}, emulatedTracker);
BENCHMARK_CAPTURE(cycleCost, changed_sample_with_tracker,
                  std::vector<BoxInputs>{distinctInputs(1), distinctInputs(2)}, emulatedTracker);
