#include "protocol/capability_check.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "plain_logger.h"
#include "stdout_capture.h"

namespace {

struct CapabilityCase {
    std::int32_t boardType;
    char revision;
    std::int32_t analogOutMask;
    std::int32_t outputGroupMask;
    std::int32_t groupMask;
    std::int32_t result;
    std::vector<std::string> lines;
};

const std::string kt256Analog = "t: WARNING: CPendax: Analog outputs not supported by KT256.";
const std::string kt256Digital = "t: WARNING: CPendax: Digital outputs not supported by KT256.";
const std::string kt256Inputs = "t: WARNING: CPendax: Digital inputs 19-24 not supported by KT256.";
const std::string analog = "t: WARNING: CPendax: Analog outputs not supported.";
const std::string digital = "t: WARNING: CPendax: Digital outputs not supported.";

std::vector<std::string> groupConflict(const std::string& model, int group) {
    const std::string g = std::to_string(group);
    return {
        model,
        "t: WARNING: CPendax: Invalid set-up requested.",
        "t: WARNING: CPendax: Digital input group " + g + " AND output group " + g + " selected",
        "t: WARNING: CPendax: Digital channels can be set in groups of 8 as",
        "t: WARNING: CPendax: either inputs or outputs.",
        "t: WARNING: CPendax: Of course you can (for example) set the bottom 8",
        "t: WARNING: CPendax: to inputs DIC1 and the top 16 to outputs DOC2 | DOC3.",
    };
}

const CapabilityCase cases[] = {
    // KT256: every complaint is made; digital inputs 17-24 end the check at once.
    {2, 'h', 0, 0, 0x70, -3, {kt256Inputs}},
    {2, 'h', 1, 0x10, 0x70, -3, {kt256Analog, kt256Digital, kt256Inputs}},
    {2, 'h', 1, 0x10, 0x30, -2, {kt256Analog, kt256Digital}},
    {2, 'h', 1, 0, 0x30, -1, {kt256Analog}},
    {2, 'h', 0, 0, 0x30, 0, {}},
    // KT512-E: an analog complaint stops before the group rule, a digital one at once.
    {3, 'e', 0, 0, 0x70, 0, {"t: INFO: CPendax: KT512-E."}},
    {3, 'e', 1, 0, 0x70, -1, {"t: INFO: CPendax: KT512-E.", analog}},
    {3, 'e', 1, 0x10, 0x70, -2, {"t: INFO: CPendax: KT512-E.", analog, digital}},
    {3, 'e', 0, 0x10, 0x60, -2, {"t: INFO: CPendax: KT512-E.", digital}},
    {3, 'f', 0, 0x40, 0x30, 0, {"t: INFO: CPendax: KT512-F."}},
    {3, 'f', 2, 0, 0x70, -2, {"t: INFO: CPendax: KT512-F.", analog}},
    {3, 'f', 0, 0x20, 0x70, -5, groupConflict("t: INFO: CPendax: KT512-F.", 2)},
    {3, 'g', 0x07, 0, 0x70, 0, {"t: INFO: CPendax: KT512-G."}},
    {3,
     'g',
     0x08,
     0,
     0x70,
     -2,
     {"t: INFO: CPendax: KT512-G.", "t: WARNING: CPendax: Only 3 analog outputs on the KT512-G."}},
    {3, 'h', 0xff, 0, 0x70, 0, {"t: INFO: CPendax: KT512-H."}},
    {3, 'h', 0, 0x10, 0x70, -5, groupConflict("t: INFO: CPendax: KT512-H.", 1)},
    {3, 'j', 0, 0, 0x70, 0, {"t: INFO: CPendax: KT512-J."}},
    {3, 'j', 0, 0x60, 0x70, -5, groupConflict("t: INFO: CPendax: KT512-J.", 2)},
    {3, 'k', 0, 0x40, 0x40, -5, groupConflict("t: INFO: CPendax: KT512-K.", 3)},
    {3, 'k', 0, 0x40, 0x30, 0, {"t: INFO: CPendax: KT512-K."}},
    {3, 'k', 0, 0x70, 0, 0, {"t: INFO: CPendax: KT512-K."}},
    {3, 'i', 0, 0, 0x70, -3, {"t: INFO: CPendax: Not an KT512 board."}},
    {3, 'E', 0, 0, 0x70, -3, {"t: INFO: CPendax: Not an KT512 board."}},
    {3, 'H', 0, 0, 0x70, -3, {"t: INFO: CPendax: Not an KT512 board."}},
    // Boards that were never identified, or are unknown, pass unchecked.
    {0, 0, 1, 0x10, 0x70, 0, {}},
    {4, 'h', 1, 0x10, 0x70, 0, {}},
};

TEST(CapabilityCheck, EveryBoardModelAndTheGroupRule) {
    const CLogH log = plainLogger("t");
    for (const CapabilityCase& c : cases) {
        BoxState state{};
        state.boardType = c.boardType;
        state.boardRevision = c.revision;
        state.analogOutMask = c.analogOutMask;
        state.outputGroupMask = c.outputGroupMask;
        state.groupMask = c.groupMask;
        state.valuatorMask = 0xff;
        StdoutCapture out;
        EXPECT_EQ(protocol::checkChannelSetup(state, log), c.result)
            << c.boardType << " " << c.revision << " O=" << c.analogOutMask
            << " P=" << c.outputGroupMask << " G=" << c.groupMask;
        EXPECT_EQ(out.lines(), c.lines) << c.boardType << " " << c.revision;
    }
}

}  // namespace
