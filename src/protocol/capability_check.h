#pragma once
// Whether the board that was identified can report the channels the device asks for.

#include <cstdint>

#include "platform/logger.h"
#include "protocol/box_state.h"

namespace protocol {

constexpr std::int32_t kt256Board = 2;
constexpr std::int32_t kt512Board = 3;

// 0 when the set-up may be sent; -1, -2, -3 or -5 (with warnings saying why) when not.
std::int32_t checkChannelSetup(const BoxState& state, const CLogH& log);

// The channels the device always asks for: all eight analog inputs and all three digital input
// groups, no outputs and no wide channels.
void requestEveryInput(BoxState& state);

}  // namespace protocol
