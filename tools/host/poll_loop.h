#pragma once
// The host's polling: recvData once a cycle, at the chosen rate, until a limit or a stop request;
// every record the module published is read back from its storage for the JSON output and the
// live view.

#include <chrono>
#include <cstdint>
#include <optional>
#include <ostream>

#include "host_device.h"
#include "live_view.h"
#include "poll_state.h"

struct PollLimits {
    std::optional<std::uint64_t> cycles;
    std::optional<double> seconds;
    double rate = 0.0;  // cycles per second; 0: as fast as the box answers
};

class PollLoop {
public:
    using Clock = std::chrono::steady_clock;

    // json and view may be null.
    PollLoop(HostDevice& device, const PollLimits& limits, std::ostream* json, LiveView* view);

    void run();
    const PollCounts& counts() const { return pollCounts; }
    // From the first cycle to the end of the last.
    double seconds() const { return std::chrono::duration<double>(pollingTime).count(); }
    // The JSON output could not be written (a full disk, a reader that went away): the loop ended.
    bool jsonFailed() const { return jsonBroken; }

private:
    bool finished(Clock::time_point now) const;
    void readBack(const PollCycle& cycle);
    // Sleeps in short slices so that a stop request and the view are served while waiting.
    void waitUntil(Clock::time_point deadline);

    HostDevice& device;
    PollLimits limits;
    std::ostream* json;
    LiveView* view;
    PollCounts pollCounts;
    LatestRecords latest;
    Clock::time_point endTime = Clock::time_point::max();
    Clock::duration pollingTime{};
    bool jsonBroken = false;
};
