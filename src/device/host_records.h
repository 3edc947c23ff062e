#pragma once
// The two small records the host passes to the device operations.

#include <cstddef>
#include <cstdint>

class CDataStorage;

// Handed to init: twelve words, of which the module reads the first two.
struct InitInfo {
    CDataStorage* trackerStorage;     // may be null when no tracker is emulated
    CDataStorage* controllerStorage;  // must not be null
    std::uint32_t unused[10];
};

// Handed to recvData. Each word is a network-order bit set: storage position n is bit n - 1.
struct ChangeMasks {
    std::uint32_t trackerMask;
    std::uint32_t controllerMask;
};

static_assert(sizeof(ChangeMasks) == 8, "change-mask record layout");
static_assert(sizeof(void*) != 4 || sizeof(InitInfo) == 48, "init-info record layout");
