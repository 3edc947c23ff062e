#include "protocol/packet_decoder.h"

#include <gtest/gtest.h>

#include <string>

#include "protocol/channel_counts.h"

namespace {

// Characters as the box sends them.
std::string analogChars(int value) {
    return {static_cast<char>((value >> 6) + 33), static_cast<char>((value & 0x3F) + 33)};
}

std::string groupChars(int value) {
    return {static_cast<char>(0x41 + (value >> 4)), static_cast<char>(0x41 + (value & 0x0F))};
}

std::string wideChars(int value) {
    std::string chars;
    for (int k = 0; k < 4; ++k) {
        chars += static_cast<char>(((value >> (6 * k)) & 0x3F) + 33);
    }
    return chars;
}

BoxState stateFor(std::int32_t valuatorMask, std::int32_t groupMask, std::int32_t wideMask) {
    BoxState state{};
    state.valuatorMask = valuatorMask;
    state.groupMask = groupMask;
    state.wideChannelMask = wideMask;
    protocol::countChannels(state);
    state.packetLength = protocol::packetLengthOf(state);
    return state;
}

// Every slot holds a value no packet produces, so untouched slots show.
DecodedPacket untouched() {
    DecodedPacket decoded;
    for (float& v : decoded.rawValuators) {
        v = 7.0f;
    }
    for (std::int32_t& g : decoded.rawGroups) {
        g = -7;
    }
    for (std::int32_t& w : decoded.wideValues) {
        w = -7;
    }
    return decoded;
}

TEST(PacketDecoder, AnalogBoundaries) {
    const BoxState state = stateFor(0x0f, 0, 0);
    const std::string packet =
        "B" + std::string("\x21\x21") + "\x60\x60" + analogChars(2048) + analogChars(2047) + "\n";
    ASSERT_EQ(packet.size(), static_cast<std::size_t>(state.packetLength));
    DecodedPacket decoded = untouched();
    protocol::decodePacket(state, packet.data(), decoded);
    EXPECT_EQ(decoded.rawValuators[0], -1.0f);
    EXPECT_EQ(decoded.rawValuators[1], 1.0f);
    EXPECT_FLOAT_EQ(decoded.rawValuators[2], 0.00024420024f);
    EXPECT_FLOAT_EQ(decoded.rawValuators[3], -0.00024420024f);
    // The factor is 2/4095 in double precision, rounded to float once.
    EXPECT_EQ(decoded.rawValuators[2], static_cast<float>(2048 * (2.0 / 4095.0) - 1.0));
    EXPECT_EQ(decoded.rawValuators[4], 7.0f);
}

TEST(PacketDecoder, CharactersAreTakenModuloTheirWidth) {
    const BoxState state = stateFor(0x01, 0x10, 0);
    // 0x41 0x42 are nibbles 0 and 1; 0x61 0x62 carry 64 + 0 and 64 + 1 six-bit units.
    const std::string packet = "B\x41\x42\x61\x62\n";
    DecodedPacket decoded = untouched();
    protocol::decodePacket(state, packet.data(), decoded);
    EXPECT_EQ(decoded.rawGroups[0], 0x01);
    EXPECT_EQ(decoded.rawValuators[0], static_cast<float>(1 * (2.0 / 4095.0) - 1.0));
}

TEST(PacketDecoder, FixedSetUpFillsGroupsHighestFirstThenAnalogInputs) {
    const BoxState state = stateFor(0xff, 0x70, 0);
    std::string packet = "B" + groupChars(0xC3) + groupChars(0x5A) + groupChars(0x01);
    for (int i = 0; i < 8; ++i) {
        packet += analogChars(i * 512);
    }
    packet += "\n";
    ASSERT_EQ(packet.size(), 24u);
    DecodedPacket decoded = untouched();
    protocol::decodePacket(state, packet.data(), decoded);
    EXPECT_EQ(decoded.rawGroups[2], 0xC3);
    EXPECT_EQ(decoded.rawGroups[1], 0x5A);
    EXPECT_EQ(decoded.rawGroups[0], 0x01);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(decoded.rawValuators[i], static_cast<float>(i * 512 * (2.0 / 4095.0) - 1.0));
    }
    EXPECT_EQ(decoded.wideValues[0], -7);
}

TEST(PacketDecoder, SparseMasksFillOnlyTheirSlots) {
    // Groups 1-8 and 17-24, analog inputs 1, 3, 6, 8, wide channels 2 and 3.
    const BoxState state = stateFor(0xA5, 0x50, 0x06);
    const std::string packet = "B" + groupChars(0xFF) + groupChars(0x80) + analogChars(0) +
                               analogChars(4095) + analogChars(1000) + analogChars(3000) +
                               wideChars(0xABCDEF) + wideChars(16777215) + "\n";
    ASSERT_EQ(packet.size(), static_cast<std::size_t>(state.packetLength));
    DecodedPacket decoded = untouched();
    protocol::decodePacket(state, packet.data(), decoded);

    EXPECT_EQ(decoded.rawGroups[2], 0xFF);
    EXPECT_EQ(decoded.rawGroups[1], -7);
    EXPECT_EQ(decoded.rawGroups[0], 0x80);

    const float expected[8] = {-1.0f, 7.0f,
                               1.0f,  7.0f,
                               7.0f,  static_cast<float>(1000 * (2.0 / 4095.0) - 1.0),
                               7.0f,  static_cast<float>(3000 * (2.0 / 4095.0) - 1.0)};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(decoded.rawValuators[i], expected[i]) << i;
    }
    const std::int32_t expectedWide[8] = {-7, 0xABCDEF, 16777215, -7, -7, -7, -7, -7};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(decoded.wideValues[i], expectedWide[i]) << i;
    }
}

TEST(PacketDecoder, AnalogPartStartsAfterTheCountedDigitalCharacters) {
    // A group mask the counts do not know leaves the digital count at 0: no group is decoded
    // and the analog inputs follow the start byte.
    BoxState state = stateFor(0x01, 0x11, 0);
    ASSERT_EQ(state.numDigitalIn, 0);
    const std::string packet = "B" + analogChars(4095) + "\n";
    DecodedPacket decoded = untouched();
    protocol::decodePacket(state, packet.data(), decoded);
    EXPECT_EQ(decoded.rawGroups[0], -7);
    EXPECT_EQ(decoded.rawValuators[0], 1.0f);
}

}  // namespace
