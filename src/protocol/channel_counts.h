#pragma once
// How many channels of each kind the masks ask for, and how long a data packet carrying them is.

#include <cstdint>

#include "protocol/box_state.h"

namespace protocol {

// Sets numAnalogIn, numDigitalIn and numWideChannels. A group mask other than a combination of
// the three input groups leaves numDigitalIn as it was.
void countChannels(BoxState& state);

// Start byte, two characters per digital group, two per analog input, four per wide channel,
// terminator.
std::int32_t packetLengthOf(const BoxState& state);

}  // namespace protocol
