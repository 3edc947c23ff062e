#pragma once
// The 24-byte data packet of the fixed set-up (all 8 analog inputs, all 24 digital inputs), decoded
// straight from the box's byte rules and independently of the module's decoder: the oracle of the
// packet fuzz target.

#include <cstdint>
#include <string>

#include "stored_sample.h"

struct ReferenceSample {
    float valuators[8];
    std::uint32_t buttons;  // bit n - 1 = digital input n
};

inline bool framedPacket(const std::string& packet) {
    return packet.size() == 24 && packet.front() == 'B' && packet.back() == '\n';
}

// A digital group's two characters carry a nibble each, (character - 1) & 15, the high one first.
// An analog input's two carry 6 bits each, (character - 33) mod 64, the high ones first.
inline ReferenceSample referenceDecode(const std::string& packet) {
    const auto at = [&packet](std::size_t i) { return static_cast<unsigned>(packet[i]) & 0xffu; };
    ReferenceSample sample{};
    for (unsigned group = 0; group < 3; ++group) {
        const std::size_t first = 1 + 2 * (2 - group);  // highest group first
        const unsigned bits = ((at(first) - 1) & 15u) << 4 | ((at(first + 1) - 1) & 15u);
        sample.buttons |= bits << (8 * group);
    }
    for (unsigned input = 0; input < 8; ++input) {
        const std::size_t first = 7 + 2 * input;
        const unsigned level = ((at(first) + 31) & 63u) << 6 | ((at(first + 1) + 31) & 63u);
        sample.valuators[input] = valuatorOfLevel(level);
    }
    return sample;
}
