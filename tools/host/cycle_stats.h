#pragma once
// The figures an installer looks at: polling cycles per second against what the line can carry
// (a cycle is the 1-byte request and the 24-byte packet, 10 bits a byte: baud / 250), and the
// cycle times.

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "config_file.h"
#include "cycle_times.h"
#include "poll_state.h"

struct CycleStats {
    double seconds;  // of polling
    double cyclesPerSecond;
    std::int32_t baud;
    double lineLimitPerSecond;
    double shareOfLineLimit;
    double medianMs;
    double percentile99Ms;
    double largestMs;

    static CycleStats of(const CycleTimes& times, double seconds, std::int32_t baud);
};

// The most cycles a second a line at this speed can carry.
double lineLimitOf(std::int32_t baud);

// The line speed the module is given: the last "baud" (or "baudrate") line, else its default.
std::int32_t configuredBaud(const std::vector<OptionLine>& lines);

// "76.2 cycles/s, 0.992 of the line's 76.8 at 19200 baud; cycle median 13.05 ms, ..."
std::string statsText(const CycleStats& stats);
void writeStatsJson(std::ostream& out, const CycleStats& stats, const PollCounts& counts);
