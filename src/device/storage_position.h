#pragma once

#include <cstdint>

#include "platform/byte_order.h"

// Storage position n is bit n - 1 of a network-order change mask.
inline void markPosition(std::uint32_t& mask, std::uint32_t position) {
    if (position >= 1 && position <= 32) {
        mask |= toNetwork(1u << (position - 1));
    }
}
