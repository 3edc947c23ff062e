#pragma once
// The text of the live view: valuator bars, button lamps, the tracker pose, the polling counts.

#include <string>
#include <vector>

#include "poll_state.h"

std::vector<std::string> viewLines(const PollCounts& counts, double cyclesPerSecond,
                                   const LatestRecords& latest);
