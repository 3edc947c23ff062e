#include "protocol/channel_counts.h"

namespace protocol {
namespace {

std::int32_t bitsInLowByte(std::int32_t mask) {
    std::int32_t count = 0;
    for (int bit = 0; bit < 8; ++bit) {
        count += (mask >> bit) & 1;
    }
    return count;
}

}  // namespace

void countChannels(BoxState& state) {
    state.numAnalogIn = bitsInLowByte(state.valuatorMask);
    switch (state.groupMask) {
        case 0:
            state.numDigitalIn = 0;
            break;
        case 0x10:
        case 0x20:
        case 0x40:
            state.numDigitalIn = 8;
            break;
        case 0x30:
        case 0x50:
        case 0x60:
            state.numDigitalIn = 16;
            break;
        case 0x70:
            state.numDigitalIn = 24;
            break;
        default:
            break;
    }
    state.numWideChannels = bitsInLowByte(state.wideChannelMask);
}

std::int32_t packetLengthOf(const BoxState& state) {
    return state.numDigitalIn / 4 + 2 * state.numAnalogIn + 4 * state.numWideChannels + 2;
}

}  // namespace protocol
