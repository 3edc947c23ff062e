#include "protocol/setup_command.h"

#include <gtest/gtest.h>

#include <string>

#include "protocol/capability_check.h"
#include "protocol/channel_counts.h"

namespace {

BoxState fixedMasks(std::int32_t boardType, std::int32_t subType, std::int32_t eprom) {
    BoxState state{};
    state.boardType = boardType;
    state.boardSubType = subType;
    state.epromRevision = eprom;
    state.boardRevision = 'h';
    state.valuatorMask = 0xff;
    state.groupMask = 0x70;
    return state;
}

std::string commandFor(const BoxState& state) {
    protocol::SetupCommand command;
    EXPECT_TRUE(protocol::buildSetupCommand(state, command));
    return std::string(command.bytes, command.length);
}

TEST(SetupCommand, Kt512WithTheFixedMasks) {
    EXPECT_EQ(commandFor(fixedMasks(3, 0, 5)), "\x73\x30\xA0\x21");
    EXPECT_EQ(commandFor(fixedMasks(3, 0, 0)), "\x73\x30\xA0\x21");
    EXPECT_EQ(commandFor(fixedMasks(3, 0, 6)), "\x73\x30\xA0\x21");
    EXPECT_EQ(commandFor(fixedMasks(3, 0, 7)), "\x63\x30\xA0\x21\x21\x21\x21\x21\x21\x0A");
    EXPECT_EQ(commandFor(fixedMasks(3, 0, 9)), "\x63\x30\xA0\x21\x21\x21\x21\x21\x21\x0A");

    BoxState state = fixedMasks(3, 0, 5);
    protocol::countChannels(state);
    EXPECT_EQ(protocol::packetLengthOf(state), 24);
}

TEST(SetupCommand, EveryMaskReachesItsByte) {
    BoxState state = fixedMasks(3, 0, 7);
    state.valuatorMask = 0x81;       // lo 1, hi 8
    state.groupMask = 0x10;          // with hi(A): 0x18
    state.analogOutMask = 0x5A;      // lo A, hi 5
    state.outputGroupMask = 0x2F;    // only the group bits travel: 0x20
    state.wideChannelMask = 0xA5;    // lo 5, hi A
    state.wideChannelConfig = 0x3C;  // lo C, hi 3
    EXPECT_EQ(commandFor(state), "c\x22\x39\x4B\x26\x26\x2D\x2B\x24\n");
    state.epromRevision = 4;
    EXPECT_EQ(commandFor(state), "s\x22\x39\x4B");
}

TEST(SetupCommand, BytesWrapModulo256) {
    BoxState state = fixedMasks(3, 0, 5);
    state.groupMask = 0x1F0;  // (0x0F | 0x1F0) + 33 = 0x220
    EXPECT_EQ(commandFor(state), "s\x30\x20\x21");
}

TEST(SetupCommand, Kt256BySubType) {
    BoxState state = fixedMasks(2, 2, 5);
    state.groupMask = 0x30;
    EXPECT_EQ(commandFor(state), "R\x0F\x3F");
    state.boardSubType = 3;
    EXPECT_EQ(commandFor(state), "r\x30\x60");

    // Without the offset a zero byte can occur, and ends the command there.
    state.boardSubType = 2;
    state.valuatorMask = 0xF0;
    EXPECT_EQ(commandFor(state), "R");

    protocol::SetupCommand command;
    state.boardSubType = 4;
    EXPECT_FALSE(protocol::buildSetupCommand(state, command));
}

TEST(SetupCommand, OtherBoardsGetAnEmptyCommand) {
    EXPECT_EQ(commandFor(fixedMasks(0, 0, 0)), "");
    EXPECT_EQ(commandFor(fixedMasks(5, 2, 7)), "");
}

struct LengthCase {
    std::int32_t valuatorMask;
    std::int32_t groupMask;
    std::int32_t wideChannelMask;
    std::int32_t analog;
    std::int32_t digital;
    std::int32_t wide;
    std::int32_t packetLength;
};

TEST(ChannelCounts, CountsAndPacketLengths) {
    const LengthCase cases[] = {
        {0xff, 0x70, 0, 8, 24, 0, 24},    {0x0f, 0x10, 0, 4, 8, 0, 12},
        {0x100, 0x20, 0, 0, 8, 0, 4},     {0x01, 0x30, 0x03, 1, 16, 2, 16},
        {0x81, 0x50, 0x80, 2, 16, 1, 14}, {0x00, 0x60, 0x100, 0, 16, 0, 6},
        {0xff, 0x70, 0xff, 8, 24, 8, 56}, {0x00, 0x40, 0, 0, 8, 0, 4},
        {0x00, 0x00, 0, 0, 0, 0, 2},
    };
    for (const LengthCase& c : cases) {
        BoxState state{};
        state.valuatorMask = c.valuatorMask;
        state.groupMask = c.groupMask;
        state.wideChannelMask = c.wideChannelMask;
        state.numDigitalIn = 99;
        protocol::countChannels(state);
        EXPECT_EQ(state.numAnalogIn, c.analog) << std::hex << c.valuatorMask;
        EXPECT_EQ(state.numDigitalIn, c.digital) << std::hex << c.groupMask;
        EXPECT_EQ(state.numWideChannels, c.wide) << std::hex << c.wideChannelMask;
        EXPECT_EQ(protocol::packetLengthOf(state), c.packetLength);
    }
}

TEST(ChannelCounts, UnknownGroupMaskKeepsTheDigitalCount) {
    for (const std::int32_t groupMask : {0x11, 0x80, 0x71, 0xF0}) {
        BoxState state{};
        state.groupMask = groupMask;
        state.numDigitalIn = 16;
        protocol::countChannels(state);
        EXPECT_EQ(state.numDigitalIn, 16) << std::hex << groupMask;
    }
}

}  // namespace
