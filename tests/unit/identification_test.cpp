#include "protocol/identification.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string replyOf(char type, char subType, char eprom, char revision) {
    std::string reply = "Copyright (c), Morvantech, board type 3.05h.";
    reply[38] = type;
    reply[40] = subType;
    reply[41] = eprom;
    reply[42] = revision;
    return reply;
}

TEST(Identification, BannerMustMatchInEveryCharacter) {
    const std::string reply = replyOf('3', '0', '5', 'h');
    ASSERT_EQ(reply.size(), protocol::identificationLength);
    EXPECT_TRUE(protocol::bannerMatches(reply.data()));
    for (std::size_t i = 0; i < protocol::bannerLength; ++i) {
        std::string changed = reply;
        changed[i] = static_cast<char>(changed[i] ^ 0x20);  // letters change case
        EXPECT_FALSE(protocol::bannerMatches(changed.data())) << i;
    }
    std::string tail = reply;
    tail[protocol::bannerLength] = 'X';
    EXPECT_TRUE(protocol::bannerMatches(tail.data()));
}

TEST(Identification, BoardFieldsComeFromTheirPlaces) {
    BoxState state{};
    protocol::readBoardFields(replyOf('2', '3', '7', 'k').data(), state);
    EXPECT_EQ(state.boardType, 2);
    EXPECT_EQ(state.boardSubType, 3);
    EXPECT_EQ(state.epromRevision, 7);
    EXPECT_EQ(state.boardRevision, 'k');

    // Digits are not checked: anything else is taken by its distance from '0'.
    protocol::readBoardFields(replyOf('A', '/', '0', 'E').data(), state);
    EXPECT_EQ(state.boardType, 17);
    EXPECT_EQ(state.boardSubType, -1);
    EXPECT_EQ(state.epromRevision, 0);
    EXPECT_EQ(state.boardRevision, 'E');
}

}  // namespace
