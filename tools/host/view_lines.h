#pragma once
// The text of the live view: valuator bars, button lamps, the tracker pose, the polling counts.

#include <cstdint>
#include <string>
#include <vector>

#include "poll_state.h"

// cyclesPerSecond: the recent rate; baud: the line speed the module was given.
std::vector<std::string> viewLines(const PollCounts& counts, double cyclesPerSecond,
                                   std::int32_t baud, const LatestRecords& latest);
