// What the virtual box sends, checked against the module's own codec.

#include <gtest/gtest.h>

#include <string>

#include "faults.h"
#include "protocol/channel_counts.h"
#include "protocol/identification.h"
#include "protocol/packet_decoder.h"
#include "replies.h"

namespace {

TEST(BoxReplies, IdentificationCarriesTheBoard) {
    const std::string reply = identificationReply({2, 3, 7, 'k'});
    ASSERT_EQ(reply.size(), protocol::identificationLength);
    EXPECT_TRUE(protocol::bannerMatches(reply.data()));
    BoxState state{};
    protocol::readBoardFields(reply.data(), state);
    EXPECT_EQ(state.boardType, 2);
    EXPECT_EQ(state.boardSubType, 3);
    EXPECT_EQ(state.epromRevision, 7);
    EXPECT_EQ(state.boardRevision, 'k');
}

BoxInputs sampleInputs() {
    BoxInputs inputs{};
    const int analog[8] = {0, 4095, 2048, 1, 4094, 63, 64, 1234};
    for (int i = 0; i < 8; ++i) {
        inputs.analog[i] = analog[i];
        inputs.wide[i] = i * 2097151 + 7;
    }
    inputs.wide[7] = wideMaximum;
    inputs.buttons = 0xA5C30F;
    return inputs;
}

TEST(BoxReplies, PacketsDecodeToTheInputsForEveryLayout) {
    const BoxInputs inputs = sampleInputs();
    const int layouts[][3] = {
        {0xff, 0x70, 0x00}, {0x0f, 0x10, 0x00}, {0xA5, 0x50, 0x06},
        {0x00, 0x20, 0xff}, {0x81, 0x60, 0x80}, {0x00, 0x00, 0x00},
    };
    for (const auto& layout : layouts) {
        BoxSetup setup = BoxSetup::powerOn();
        setup.valuatorMask = layout[0];
        setup.groupMask = layout[1];
        setup.wideChannelMask = layout[2];
        const std::string packet = dataPacket(setup, inputs);

        BoxState state{};
        state.valuatorMask = layout[0];
        state.groupMask = layout[1];
        state.wideChannelMask = layout[2];
        protocol::countChannels(state);
        ASSERT_EQ(packet.size(), static_cast<std::size_t>(protocol::packetLengthOf(state)));
        EXPECT_EQ(packet.front(), 'B');
        EXPECT_EQ(packet.back(), '\n');

        DecodedPacket decoded{};
        protocol::decodePacket(state, packet.data(), decoded);
        for (int i = 0; i < 8; ++i) {
            const bool analog = (layout[0] >> i) & 1;
            const bool wide = (layout[2] >> i) & 1;
            EXPECT_EQ(decoded.rawValuators[i],
                      analog ? static_cast<float>(inputs.analog[i] * (2.0 / 4095.0) - 1.0) : 0.0f)
                << std::hex << layout[0] << " input " << i;
            EXPECT_EQ(decoded.wideValues[i], wide ? inputs.wide[i] : 0) << i;
        }
        for (int slot = 0; slot < 3; ++slot) {
            const bool group = (layout[1] >> (4 + slot)) & 1;
            EXPECT_EQ(decoded.rawGroups[slot],
                      group ? static_cast<int>((inputs.buttons >> (8 * slot)) & 0xFF) : 0)
                << std::hex << layout[1] << " slot " << slot;
        }
    }
}

TEST(BoxReplies, DigitalCharactersAreCapitalLetters) {
    BoxInputs inputs{};
    inputs.buttons = 0x01;
    BoxSetup setup = BoxSetup::powerOn();
    setup.valuatorMask = 0;
    setup.groupMask = 0x10;
    EXPECT_EQ(dataPacket(setup, inputs), "BAB\n");
}

struct DisturbCase {
    const char* fault;
    const char* value;
    ReplyKind kind;
    std::string expected;
};

TEST(BoxReplies, FaultsDisturbTheRepliesTheyConcern) {
    const std::string packet = "BAB\n";
    const std::string identification = identificationReply(BoardIdentity::kt512());
    const DisturbCase cases[] = {
        {"none", "", ReplyKind::dataPacket, packet},
        {"silent", "on", ReplyKind::setupAnswer, ""},
        {"short", "", ReplyKind::dataPacket, "BAB"},
        {"short", "", ReplyKind::setupAnswer, "a"},
        {"badstart", "", ReplyKind::dataPacket, "bAB\n"},
        {"badstart", "", ReplyKind::setupAnswer, "a\n"},
        {"badend", "", ReplyKind::dataPacket, "BAB\r"},
        {"garbage", "3", ReplyKind::dataPacket, "~~~BAB\n"},
        {"garbage", "2", ReplyKind::setupAnswer, "~~a\n"},
        {"banner", "", ReplyKind::identification, "Copyright (C)" + identification.substr(13)},
        {"banner", "", ReplyKind::dataPacket, packet},
        {"dribble", "20", ReplyKind::dataPacket, packet},
    };
    for (const DisturbCase& c : cases) {
        Faults faults;
        std::string error;
        ASSERT_TRUE(applyFault(faults, c.fault, c.value, &error)) << error;
        const std::string reply = c.kind == ReplyKind::identification ? identification
                                  : c.kind == ReplyKind::setupAnswer  ? setupAnswer('a')
                                                                      : packet;
        EXPECT_EQ(disturbReply(reply, c.kind, faults), c.expected) << c.fault;
    }
}

}  // namespace
