#pragma once

#include <cstdint>

// What one polling cycle did: recvData's result and the storage positions the module wrote,
// position n as bit n - 1.
struct PollCycle {
    std::int32_t result;
    std::uint32_t trackerPositions;
    std::uint32_t controllerPositions;
};
