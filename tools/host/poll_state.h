#pragma once
// What the polling loop has seen so far: the cycles by outcome and the last records published.

#include <chrono>
#include <cstdint>
#include <optional>

#include "controller/con_data.h"
#include "cycle_times.h"
#include "poll_cycle.h"
#include "published_records.h"

struct PollCounts {
    using Clock = std::chrono::steady_clock;
    // Failing this long is a lost line rather than a burst of bad packets.
    static constexpr std::chrono::seconds lostLine{1};

    std::uint64_t cycles = 0;
    std::uint64_t published = 0;  // a packet, and the module wrote at least one record
    std::uint64_t unchanged = 0;  // a packet equal to the last one published
    std::uint64_t empty = 0;      // no complete packet
    std::uint64_t failed = 0;
    std::uint64_t reconnections = 0;  // packets again after failing cycles for a lost line's time
    std::optional<Clock::time_point> failingSince;
    CycleTimes times;  // how long each recvData took

    void add(const PollCycle& cycle, Clock::time_point now) {
        if (cycle.result < 0 && !failingSince) {
            failingSince = now;
        } else if (cycle.result == 1 && failingSince) {
            reconnections += now - *failingSince >= lostLine ? 1 : 0;
            failingSince.reset();
        }
        ++cycles;
        if (cycle.result == 1) {
            ++(cycle.controllerPositions != 0 || cycle.trackerPositions != 0 ? published
                                                                             : unchanged);
        } else if (cycle.result == 0) {
            ++empty;
        } else {
            ++failed;
        }
    }
};

struct LatestRecords {
    std::optional<ConData> controller;
    std::optional<TrackerSample> tracker;
};
