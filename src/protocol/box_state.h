#pragma once
// What the device knows about its box: the board read at identification, the channels it asks
// for, the counts derived from them and the length of one data packet.

#include <cstdint>

struct BoxState {
    std::int32_t boardType;      // 2 = KT256, 3 = KT512
    std::int32_t boardSubType;   // selects the KT256 set-up command
    std::int32_t epromRevision;  // selects the KT512 set-up command and whether its answer counts
    std::int32_t boardRevision;  // the KT512's revision letter
    std::int32_t valuatorMask;   // analog inputs, bit i = input i + 1
    std::int32_t groupMask;      // digital input groups: 0x10 = 1-8, 0x20 = 9-16, 0x40 = 17-24
    std::int32_t analogOutMask;
    std::int32_t outputGroupMask;  // digital output groups, laid out as groupMask
    std::int32_t wideChannelMask;  // channels reported as 24-bit values
    std::int32_t wideChannelConfig;
    std::int32_t numAnalogIn;
    std::int32_t numDigitalIn;
    std::int32_t numWideChannels;
    std::int32_t packetLength;
};
