#pragma once
// A box sample as the controller storage holds it once the module published it with the default
// mapping (channel n to output n, unscaled): valuators in fixed point, buttons as bits.

#include <cstdint>

#include "controller/con_data.h"
#include "platform/byte_order.h"

// An analog level of the box, 0 … 4095, as the raw valuator it stands for.
inline float valuatorOfLevel(unsigned level) {
    return static_cast<float>(level * (2.0 / 4095.0) - 1.0);
}

inline ConData storedSample(const float valuators[8], std::uint32_t buttons) {
    ConData record{};
    record.reset();
    record.numValuators = toNetwork(8u);
    record.numButtons = toNetwork(24u);
    for (std::uint32_t i = 0; i < 8; ++i) {
        record.setValuator(i + 1, valuators[i]);
    }
    for (std::uint32_t b = 0; b < 24; ++b) {
        record.setButton(b + 1, static_cast<int>((buttons >> b) & 1u));
    }
    return record;
}

inline bool sameChannels(const ConData& a, const ConData& b) {
    for (std::uint32_t i = 1; i <= 8; ++i) {
        if (a.getValuator(i) != b.getValuator(i)) {
            return false;
        }
    }
    for (std::uint32_t button = 1; button <= 24; ++button) {
        if (a.getButton(button) != b.getButton(button)) {
            return false;
        }
    }
    return true;
}
