#include "protocol/packet_decoder.h"

#include "protocol/packet_format.h"

namespace protocol {
namespace {

std::int32_t nibbleOf(char character) {
    return (character - nibbleOffset) & 0x0F;
}

std::int32_t sixBitsOf(char character) {
    return (character - sixBitOffset) & 0x3F;
}

std::int32_t groupAt(const char* at) {
    return (nibbleOf(at[0]) << 4) | nibbleOf(at[1]);
}

// 0 ... 4095 onto -1 ... +1, in double precision as the box's makers scale it.
float analogAt(const char* at) {
    const std::int32_t raw = (sixBitsOf(at[0]) << analogBitsPerCharacter) | sixBitsOf(at[1]);
    return static_cast<float>(raw * (2.0 / 4095.0) - 1.0);
}

std::int32_t wideAt(const char* at) {
    std::int32_t value = 0;
    for (int k = 0; k < charactersPerWideValue; ++k) {
        value |= sixBitsOf(at[k]) << (analogBitsPerCharacter * k);
    }
    return value;
}

}  // namespace

void decodePacket(const BoxState& state, const char* packet, DecodedPacket& decoded) {
    const std::int32_t digitalCharacters = state.numDigitalIn / 4;
    if (digitalCharacters > 0) {
        const char* at = packet + 1;
        for (int slot = 2; slot >= 0; --slot) {
            if ((state.groupMask & groupBits[slot]) != 0) {
                decoded.rawGroups[slot] = groupAt(at);
                at += 2;
            }
        }
    }

    const char* at = packet + 1 + digitalCharacters;
    float analog[8] = {};
    for (std::int32_t n = 0; n < state.numAnalogIn && n < 8; ++n) {
        analog[n] = analogAt(at);
        at += 2;
    }
    int next = 0;
    for (int bit = 0; bit < 8; ++bit) {
        if ((state.valuatorMask & (1 << bit)) != 0) {
            decoded.rawValuators[bit] = analog[next++];
        }
    }

    if (state.numWideChannels > 0) {
        for (int bit = 0; bit < 8; ++bit) {
            if ((state.wideChannelMask & (1 << bit)) != 0) {
                decoded.wideValues[bit] = wideAt(at);
                at += charactersPerWideValue;
            }
        }
    }
}

}  // namespace protocol
