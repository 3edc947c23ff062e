#pragma once
// The channel values of the last accepted data packet. Slots of channels that are not reported
// keep what they held.

#include <cstdint>

struct DecodedPacket {
    float rawValuators[8];      // -1 ... +1, slot i = analog input i + 1
    std::int32_t rawGroups[3];  // 8 digital inputs each: slot 0 = inputs 1-8
    std::int32_t wideValues[8];
};
