#pragma once
// What the polling loop has seen so far: the cycles by outcome and the last records published.

#include <cstdint>
#include <optional>

#include "controller/con_data.h"
#include "host_device.h"
#include "published_records.h"

struct PollCounts {
    std::uint64_t cycles = 0;
    std::uint64_t published = 0;  // a packet, and the module wrote at least one record
    std::uint64_t unchanged = 0;  // a packet equal to the last one published
    std::uint64_t empty = 0;      // no complete packet
    std::uint64_t failed = 0;

    void add(const PollCycle& cycle) {
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
