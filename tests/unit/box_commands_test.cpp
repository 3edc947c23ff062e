// How the virtual box reads what it is sent, and the commands it takes from its user.

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "command_parser.h"
#include "console_commands.h"
#include "faults.h"
#include "protocol/setup_command.h"

namespace {

using Request = CCommandParser::Request;

std::vector<Request> feedAll(CCommandParser& parser, const std::string& bytes) {
    std::vector<Request> requests;
    for (const char byte : bytes) {
        const Request request = parser.feed(byte);
        if (request != Request::incomplete) {
            requests.push_back(request);
        }
    }
    return requests;
}

TEST(BoxCommandParser, SetUpCommandsTakeTheirBytesWhateverTheyAre) {
    CCommandParser parser;
    // 'o' and 'T' inside a set-up are its bytes; 'x' begins nothing.
    EXPECT_EQ(feedAll(parser, "ToxsoTo"),
              (std::vector<Request>{Request::identification, Request::packet, Request::ignored,
                                    Request::setup}));
    EXPECT_EQ(parser.setup().bytes, "soTo");
    EXPECT_EQ(feedAll(parser, "o"), std::vector<Request>{Request::packet});
}

TEST(BoxCommandParser, ReadsBackWhatTheModuleEncodes) {
    struct Masks {
        std::int32_t type, subType, eprom, valuators, groups, analogOut, outputGroups, wide,
            wideConfig;
    };
    const Masks cases[] = {
        {3, 0, 5, 0xff, 0x70, 0, 0, 0, 0}, {3, 0, 5, 0x81, 0x10, 0x0A, 0x20, 0, 0},
        {3, 0, 7, 0xff, 0x70, 0, 0, 0, 0}, {3, 0, 7, 0x3C, 0x40, 0x5A, 0x30, 0xA5, 0x3C},
        {2, 2, 0, 0xff, 0x30, 0, 0, 0, 0}, {2, 3, 0, 0x12, 0x10, 0, 0, 0, 0},
    };
    for (const Masks& m : cases) {
        BoxState state{};
        state.boardType = m.type;
        state.boardSubType = m.subType;
        state.epromRevision = m.eprom;
        state.valuatorMask = m.valuators;
        state.groupMask = m.groups;
        state.analogOutMask = m.analogOut;
        state.outputGroupMask = m.outputGroups;
        state.wideChannelMask = m.wide;
        state.wideChannelConfig = m.wideConfig;
        protocol::SetupCommand command;
        ASSERT_TRUE(protocol::buildSetupCommand(state, command));

        CCommandParser parser;
        const std::string bytes(command.bytes, command.length);
        ASSERT_EQ(feedAll(parser, bytes), std::vector<Request>{Request::setup}) << bytes;
        const BoxSetup& setup = parser.setup();
        EXPECT_TRUE(setup.wellFormed);
        EXPECT_EQ(setup.valuatorMask, m.valuators) << bytes;
        EXPECT_EQ(setup.groupMask, m.groups) << bytes;
        // The short commands carry only the low half of the analog outputs.
        EXPECT_EQ(setup.analogOutMask, bytes[0] == 'c' ? m.analogOut : m.analogOut & 0x0F);
        EXPECT_EQ(setup.outputGroupMask, m.outputGroups) << bytes;
        EXPECT_EQ(setup.wideChannelMask, m.wide) << bytes;
        EXPECT_EQ(setup.wideChannelConfig, m.wideConfig) << bytes;
    }
}

TEST(BoxCommandParser, LongSetUpWithoutItsLineFeedIsMalformed) {
    CCommandParser parser;
    feedAll(parser, "c!!!!!!!!X");
    EXPECT_FALSE(parser.setup().wellFormed);
}

TEST(BoxFaults, NamesAndValues) {
    Faults faults;
    std::string error;
    EXPECT_TRUE(applyFault(faults, "silent", "", &error));
    EXPECT_TRUE(faults.silent);
    EXPECT_TRUE(applyFault(faults, "silent", "off", &error));
    EXPECT_FALSE(faults.silent);
    EXPECT_TRUE(applyFault(faults, "refuse", "on", &error));
    EXPECT_EQ(faults.setupAnswer, 'f');
    EXPECT_TRUE(applyFault(faults, "answer", "x", &error));
    EXPECT_EQ(faults.setupAnswer, 'x');
    EXPECT_TRUE(applyFault(faults, "dribble", "150", &error));
    EXPECT_EQ(faults.dribbleMs, 150);
    EXPECT_TRUE(applyFault(faults, "none", "", &error));
    EXPECT_EQ(faults.dribbleMs, 0);
    EXPECT_EQ(faults.setupAnswer, 'a');

    const std::pair<const char*, const char*> refused[] = {
        {"silent", "maybe"}, {"garbage", "-1"}, {"garbage", "many"}, {"dribble", ""},
        {"answer", "ab"},    {"noise", "on"},   {"none", "now"},
    };
    for (const auto& [name, value] : refused) {
        error.clear();
        EXPECT_FALSE(applyFault(faults, name, value, &error)) << name << " " << value;
        EXPECT_NE(error, "") << name;
    }
}

TEST(BoxConsole, CommandsReachTheBox) {
    CVirtualBox box;
    std::ostringstream answer;
    box.setMotion(true);
    for (const char* line : {"analog 3 4095", "button 24 1", "wide 8 16777215", "# a comment", "",
                             "fault garbage 2", "pace 9600", "button 24 0", "button 1 1"}) {
        EXPECT_TRUE(runConsoleCommand(box, line, answer)) << line;
    }
    EXPECT_EQ(answer.str(), "");
    const BoxInputs inputs = box.inputs();
    EXPECT_EQ(inputs.analog[2], 4095);
    EXPECT_EQ(inputs.wide[7], 16777215);
    EXPECT_EQ(inputs.buttons, 0x000001u);
    EXPECT_EQ(box.faults().garbage, 2);

    for (const char* line : {"analog 9 1", "analog 1 4096", "button 1 2", "wide 0 5", "analog 1",
                             "motion maybe", "fault noise", "pace fast", "jump"}) {
        answer.str("");
        EXPECT_FALSE(runConsoleCommand(box, line, answer)) << line;
        EXPECT_NE(answer.str(), "") << line;
    }
    EXPECT_EQ(box.inputs().analog[0], 2048);
}

}  // namespace
