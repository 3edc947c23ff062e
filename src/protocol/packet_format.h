#pragma once
// The data packet: requested with one byte, framed by a start byte and a line feed. Between them,
// highest digital group first, two characters per group (a nibble each, high first), two per
// analog input (six bits each, high first) and four per wide channel (six bits each, low first).

#include <cstdint>

namespace protocol {

constexpr char packetRequest = 'o';
constexpr char packetStart = 'B';
constexpr char packetEnd = '\n';

constexpr std::int32_t groupBits[3] = {0x10, 0x20, 0x40};  // slot s of rawGroups
constexpr int analogBitsPerCharacter = 6;
constexpr int charactersPerWideValue = 4;

// Six-bit characters carry their value plus 33; digital characters carry their nibble plus 1,
// both modulo the width of the value.
constexpr int sixBitOffset = 33;
constexpr int nibbleOffset = 1;

}  // namespace protocol
