// The device's identification and set-up against the virtual box, over a pseudo-terminal.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config_builder.h"
#include "host_storage.h"
#include "pendax_probe.h"
#include "plain_logger.h"
#include "stdout_capture.h"
#include "virtual_box.h"

namespace {

using Lines = std::vector<std::string>;

class BoxDialogue : public testing::Test {
protected:
    void SetUp() override {
        StdoutCapture initOutput;
        ASSERT_EQ(device.init(&info), 1) << initOutput.text();
    }

    // Pretends an identification of the given board took place.
    void identifiedAs(const BoardIdentity& board) {
        probe.box().boardType = board.type;
        probe.box().boardSubType = board.subType;
        probe.box().epromRevision = board.epromRevision;
        probe.box().boardRevision = board.revision;
    }

    // Once the box has answered a request, it has seen everything sent before it.
    void waitUntilTheBoxHasReadEverything() {
        char reply[44];
        ASSERT_EQ(probe.port().write("T", 1), 1u);
        ASSERT_EQ(probe.port().read(reply, sizeof reply), sizeof reply);
    }

    CVirtualBox box;
    CLogH log = plainLogger("t", 1);
    HostStorage controllers{HostStorage::Kind::controllers, log};
    InitInfo info{nullptr, controllers.get(), {}};
    ConfigBuilder config{{"port", box.slavePath()}};
    CPendax device{config.get(), &log};
    CPendaxProbe probe{device};
};

struct ConfigureCase {
    const char* name;
    BoardIdentity board;
    Lines lines;
    std::string setup;  // as the box received it; empty when nothing was sent
    std::int32_t packetLength;
};

class Configure : public BoxDialogue, public testing::WithParamInterface<ConfigureCase> {};

TEST_P(Configure, IdentifiesThenSetsUp) {
    const ConfigureCase& c = GetParam();
    box.setBoard(c.board);
    StdoutCapture out;
    EXPECT_EQ(device.configure(), 3);
    EXPECT_EQ(out.lines(), c.lines);

    const BoxState& state = probe.box();
    EXPECT_EQ(state.boardType, c.board.type);
    EXPECT_EQ(state.boardSubType, c.board.subType);
    EXPECT_EQ(state.epromRevision, c.board.epromRevision);
    EXPECT_EQ(state.boardRevision, c.board.revision);
    EXPECT_EQ(state.packetLength, c.packetLength);

    waitUntilTheBoxHasReadEverything();
    EXPECT_EQ(box.counters().setups, c.setup.empty() ? 0u : 1u);
    EXPECT_EQ(box.lastSetup().bytes, c.setup);
}

const std::string configureCalled = "t: DEBUG: CPendax: \"configure\" called.";

INSTANTIATE_TEST_SUITE_P(
    Boards, Configure,
    testing::Values(ConfigureCase{"Kt512Eprom5",
                                  {3, 0, 5, 'h'},
                                  {configureCalled, "t: INFO: CPendax: KT512-H.",
                                   "t: INFO: CPendax: Setup OK."},
                                  "\x73\x30\xA0\x21",
                                  24},
                    ConfigureCase{"Kt512Eprom7",
                                  {3, 1, 7, 'k'},
                                  {configureCalled, "t: INFO: CPendax: KT512-K.",
                                   "t: INFO: CPendax: Setup OK."},
                                  "\x63\x30\xA0\x21\x21\x21\x21\x21\x21\x0A",
                                  24},
                    ConfigureCase{
                        "Kt256",
                        {2, 3, 0, 'a'},
                        {configureCalled,
                         "t: WARNING: CPendax: Digital inputs 19-24 not supported by KT256."},
                        "",
                        0},
                    ConfigureCase{"Kt512RevisionI",
                                  {3, 0, 5, 'i'},
                                  {configureCalled, "t: INFO: CPendax: Not an KT512 board."},
                                  "",
                                  0}),
    [](const testing::TestParamInfo<ConfigureCase>& info) { return info.param.name; });

TEST_F(BoxDialogue, FailedIdentificationShowsTheReplyAndKeepsTheBoard) {
    ASSERT_EQ(probe.identify(), 3);
    Faults faults;
    faults.wrongBanner = true;
    box.setFaults(faults);
    box.setBoard({2, 3, 0, 'a'});
    StdoutCapture out;
    EXPECT_EQ(probe.identify(), -1);
    EXPECT_EQ(out.lines(), (Lines{"t: ERROR: CPendax: No match on copyright string: Copyright (C), "
                                  "Morvantech, board type 2.30a."}));
    EXPECT_EQ(probe.box().boardType, 3);
    EXPECT_EQ(probe.box().boardSubType, 0);
    EXPECT_EQ(probe.box().epromRevision, 5);
    EXPECT_EQ(probe.box().boardRevision, 'h');
}

class IdentificationFault : public BoxDialogue, public testing::WithParamInterface<Faults> {};

TEST_P(IdentificationFault, ReadingFailsWithinThePortTimeOuts) {
    box.setFaults(GetParam());
    StdoutCapture out;
    EXPECT_EQ(probe.identify(), -1);
    EXPECT_EQ(out.lines(), (Lines{"t: ERROR: CPendax: Reading data failed."}));
    EXPECT_EQ(probe.box().boardType, 0);
}

Faults shortReply() {
    Faults faults;
    faults.shortReply = true;
    return faults;
}

Faults silent() {
    Faults faults;
    faults.silent = true;
    return faults;
}

INSTANTIATE_TEST_SUITE_P(Replies, IdentificationFault, testing::Values(shortReply(), silent()));

struct QuietSetupCase {
    const char* name;
    BoardIdentity board;
    std::int32_t groupMask;
    std::int32_t result;
    std::string setup;
    std::int32_t packetLength;
};

class QuietSetup : public BoxDialogue, public testing::WithParamInterface<QuietSetupCase> {};

// Boards that give no answer, or never get a command.
TEST_P(QuietSetup, AwaitsNoAnswer) {
    const QuietSetupCase& c = GetParam();
    box.setBoard(BoardIdentity::kt256());
    identifiedAs(c.board);
    probe.box().groupMask = c.groupMask;
    StdoutCapture out;
    EXPECT_EQ(probe.setupBox(), c.result);
    EXPECT_EQ(out.text(), "");
    EXPECT_EQ(probe.box().packetLength, c.packetLength);
    waitUntilTheBoxHasReadEverything();
    EXPECT_EQ(box.lastSetup().bytes, c.setup);
}

INSTANTIATE_TEST_SUITE_P(
    Boards, QuietSetup,
    testing::Values(QuietSetupCase{"NeverIdentified", {0, 0, 0, 0}, 0x70, 0, "", 24},
                    QuietSetupCase{"Kt256SubType2", {2, 2, 0, 'a'}, 0x30, 0, "R\x0F\x3F", 22},
                    QuietSetupCase{"Kt256SubType3", {2, 3, 0, 'a'}, 0x30, 0, "r\x30\x60", 22},
                    QuietSetupCase{"Kt256SubType5", {2, 5, 0, 'a'}, 0x30, -1, "", 22}),
    [](const testing::TestParamInfo<QuietSetupCase>& info) { return info.param.name; });

struct AnswerCase {
    const char* name;
    char answer;
    std::int32_t eprom;
    std::int32_t result;
    Lines lines;
};

class SetupAnswer : public BoxDialogue, public testing::WithParamInterface<AnswerCase> {};

TEST_P(SetupAnswer, IsJudgedByItsFirstByte) {
    const AnswerCase& c = GetParam();
    Faults faults;
    faults.setupAnswer = c.answer;
    box.setFaults(faults);
    identifiedAs({3, 0, c.eprom, 'h'});
    StdoutCapture out;
    EXPECT_EQ(probe.setupBox(), c.result);
    Lines expected{"t: INFO: CPendax: KT512-H."};
    expected.insert(expected.end(), c.lines.begin(), c.lines.end());
    EXPECT_EQ(out.lines(), expected);
    EXPECT_EQ(box.lastSetup().bytes, "\x73\x30\xA0\x21");
}

const Lines accepted{"t: INFO: CPendax: Setup OK."};
const Lines refused{"t: ERROR: CPendax: Setup failed."};
const Lines confused{"t: WARNING: CPendax: Unexpected respons: x", ""};

INSTANTIATE_TEST_SUITE_P(
    Answers, SetupAnswer,
    testing::Values(AnswerCase{"Accepted", 'a', 5, 0, accepted},
                    AnswerCase{"Refused", 'f', 5, -1, refused},
                    AnswerCase{"Unexpected", 'x', 5, -2, confused},
                    // The answer of a box with EPROM revision 0 does not count.
                    AnswerCase{"RefusedByEprom0", 'f', 0, 0, refused},
                    AnswerCase{"UnexpectedFromEprom0", 'x', 0, 0, confused}),
    [](const testing::TestParamInfo<AnswerCase>& info) { return info.param.name; });

TEST_F(BoxDialogue, PacketFromTheBoxDecodes) {
    ASSERT_EQ(probe.setupBox(), 0);  // never identified: the box keeps its power-on format
    ASSERT_TRUE(box.setAnalog(1, 4095));
    ASSERT_TRUE(box.setAnalog(8, 0));
    ASSERT_TRUE(box.setButton(9, true));
    ASSERT_TRUE(box.setButton(24, true));
    char packet[24];
    ASSERT_EQ(probe.port().write("o", 1), 1u);
    ASSERT_EQ(probe.port().read(packet, sizeof packet), sizeof packet);
    EXPECT_EQ(probe.decodePacket(packet), 0);
    const DecodedPacket& decoded = probe.decoded();
    EXPECT_EQ(decoded.rawValuators[0], 1.0f);
    EXPECT_EQ(decoded.rawValuators[7], -1.0f);
    EXPECT_FLOAT_EQ(decoded.rawValuators[3], 0.00024420024f);
    EXPECT_EQ(decoded.rawGroups[0], 0x00);
    EXPECT_EQ(decoded.rawGroups[1], 0x01);
    EXPECT_EQ(decoded.rawGroups[2], 0x80);
}

}  // namespace
