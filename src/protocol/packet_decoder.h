#pragma once
// Turns an accepted data packet into channel values.

#include "protocol/box_state.h"
#include "protocol/decoded_packet.h"

namespace protocol {

// The packet has the length the state's counts give; its frame has been checked. Only the slots
// of requested channels are written.
void decodePacket(const BoxState& state, const char* packet, DecodedPacket& decoded);

}  // namespace protocol
