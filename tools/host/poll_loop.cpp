#include "poll_loop.h"

#include <algorithm>
#include <thread>

#include "host_os.h"
#include "json_records.h"

namespace {

constexpr auto waitSlice = std::chrono::milliseconds(20);
// A failing port (an adapter pulled out) fails at once; the host retries, but not in a tight loop.
constexpr auto pauseAfterFailure = std::chrono::milliseconds(100);
// Storage position n is bit n - 1.
template <typename Visit>
void forEachPosition(std::uint32_t positions, Visit visit) {
    for (std::uint32_t position = 1; position <= 32; ++position) {
        if ((positions >> (position - 1) & 1u) != 0) {
            visit(position);
        }
    }
}

// Seconds as a clock duration, held short of the clock's range for any number given.
PollLoop::Clock::duration durationOf(double seconds) {
    const double longest = std::chrono::duration<double>(PollLoop::Clock::duration::max()).count();
    return std::chrono::duration_cast<PollLoop::Clock::duration>(
        std::chrono::duration<double>(std::min(seconds, longest / 4)));
}

}  // namespace

PollLoop::PollLoop(HostDevice& device, const PollLimits& limits, std::ostream* json, LiveView* view)
    : device(device), limits(limits), json(json), view(view) {}

void PollLoop::run() {
    const Clock::time_point start = Clock::now();
    if (limits.seconds) {
        endTime = start + durationOf(*limits.seconds);
    }
    const Clock::duration period =
        limits.rate > 0.0 ? durationOf(1.0 / limits.rate) : Clock::duration{};
    Clock::time_point nextCycle = start;
    while (!finished(Clock::now())) {
        const Clock::time_point cycleStart = Clock::now();
        const PollCycle cycle = device.poll();
        const Clock::time_point cycleEnd = Clock::now();
        pollCounts.times.add(cycleEnd - cycleStart);
        pollCounts.add(cycle, cycleEnd);
        pollingTime = cycleEnd - start;
        readBack(cycle);
        if (jsonBroken) {
            break;
        }
        if (view != nullptr) {
            view->update(pollCounts, latest, Clock::now());
        }
        if (limits.rate > 0.0) {
            // A box slower than the rate is not made up for with a burst of cycles.
            nextCycle = std::max(nextCycle + period, Clock::now());
        }
        if (cycle.result < 0) {
            nextCycle = std::max(nextCycle, Clock::now() + pauseAfterFailure);
        }
        waitUntil(std::min(nextCycle, endTime));
    }
    if (view != nullptr) {
        view->finish(pollCounts, latest, Clock::now());
    }
}

bool PollLoop::finished(Clock::time_point now) const {
    return hostos::stopRequested() || (limits.cycles && pollCounts.cycles >= *limits.cycles) ||
           now >= endTime;
}

void PollLoop::readBack(const PollCycle& cycle) {
    // In the order the module publishes: its controller, then its tracker.
    forEachPosition(cycle.controllerPositions, [this](std::uint32_t position) {
        latest.controller = device.controller(position);
        if (json != nullptr) {
            writeControllerJson(*json, *latest.controller);
        }
    });
    forEachPosition(cycle.trackerPositions, [this](std::uint32_t position) {
        latest.tracker = device.tracker(position);
        if (json != nullptr) {
            writeTrackerJson(*json, *latest.tracker);
        }
    });
    if (json != nullptr && (cycle.controllerPositions | cycle.trackerPositions) != 0) {
        jsonBroken = !json->flush();
    }
}

void PollLoop::waitUntil(Clock::time_point deadline) {
    for (Clock::time_point now = Clock::now(); now < deadline && !hostos::stopRequested();
         now = Clock::now()) {
        std::this_thread::sleep_for(std::min<Clock::duration>(deadline - now, waitSlice));
        if (view != nullptr) {
            view->update(pollCounts, latest, Clock::now());
        }
    }
}
