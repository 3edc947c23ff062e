// How long the device waits for a box that is silent, trickles or never acknowledges, measured on
// the scripted port's clock: exact, and no test waits for real.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pendax_probe.h"
#include "scripted_rig.h"
#include "stdout_capture.h"

namespace {

using Lines = std::vector<std::string>;

// At 19200 baud: a read of n bytes gives up 2n + 100 ms after it began, or 100 ms after a byte.
constexpr std::uint64_t packetReadMs = 2 * 24 + 100;
constexpr std::uint64_t byteReadMs = 2 + 100;
// A drain ends after one packet's line time (12.5 ms, rounded up) and the read time-out, plus
// the read it was in when that time ran out.
constexpr std::uint64_t drainMs = 13 + 100 + byteReadMs;

class BoundedWaits : public testing::Test {
protected:
    void SetUp() override {
        StdoutCapture quiet;
        ASSERT_EQ(rig.init(), 1) << quiet.text();
        ASSERT_EQ(rig.device->configure(), 3) << quiet.text();
        ASSERT_EQ(CPendaxProbe(*rig.device).box().packetLength, 24) << quiet.text();
    }

    // One polling cycle and the time it took on the port's clock.
    std::int32_t timedPoll(std::uint64_t* elapsedMs) {
        const std::uint64_t start = scripted_sys::nowMs();
        const std::int32_t result = rig.poll();
        *elapsedMs = scripted_sys::nowMs() - start;
        return result;
    }

    ScriptedRig rig;
};

TEST_F(BoundedWaits, ASilentBoxCostsOneReadPerCycle) {
    rig.onRequest = [] {};
    for (int cycle = 0; cycle < 3; ++cycle) {
        const std::uint64_t reads = scripted_sys::calls().reads;
        std::uint64_t elapsed = 0;
        EXPECT_EQ(timedPoll(&elapsed), 0);
        EXPECT_EQ(scripted_sys::calls().reads - reads, 1u);
        EXPECT_EQ(elapsed, packetReadMs);
    }
}

// A box that answers each request with a trickle, a byte every 90 ms for 3.6 s: each cycle drains
// for a bounded time and hands control back; the next one goes on draining, and once the line is
// clean the first good packet is published.
TEST_F(BoundedWaits, ADrainEndsInTimeHoweverSlowlyBytesKeepComing) {
    struct Case {
        const char* name;
        std::string start;  // what the box sends at once, before the trickle
        std::int32_t result;
    };
    const Case cases[] = {
        {"short packet", "B~~", 0},
        {"misframed packet", std::string(24, '~'), -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        rig.onRequest = [&c] {
            scripted_sys::send(c.start);
            scripted_sys::send(std::string(40, '~'), 90, 90);
        };
        std::uint64_t longest = 0;
        for (int cycle = 0; cycle < 5; ++cycle) {
            std::uint64_t elapsed = 0;
            const std::int32_t result = timedPoll(&elapsed);
            EXPECT_TRUE(result == 0 || result == -1) << result;
            EXPECT_EQ(rig.masks.controllerMask, 0u);
            longest = std::max(longest, elapsed);
            if (cycle == 0) {
                EXPECT_EQ(result, c.result);
            }
        }
        EXPECT_LE(longest, packetReadMs + drainMs);

        // The trickle ends; whatever is still on the line goes, then the box is read in step.
        rig.onRequest = [] {
            scripted_sys::send(dataPacket(BoxSetup::powerOn(), BoxInputs::atRest()));
        };
        int cycles = 0;
        for (std::int32_t result = 0; result != 1 && cycles < 2000; ++cycles) {
            std::uint64_t elapsed = 0;
            result = timedPoll(&elapsed);
            EXPECT_LE(elapsed, packetReadMs + drainMs);
        }
        EXPECT_LT(cycles, 2000);
        EXPECT_EQ(rig.poll(), 1);
    }
}

// 200 tries of a 100-byte read, 300 ms each, would hold configure for a minute: the wait ends
// after two seconds without a byte, with the warnings of an exhausted wait.
TEST_F(BoundedWaits, TheSetUpAcknowledgementWaitEndsAfterTwoQuietSeconds) {
    struct Case {
        const char* name;
        BoardIdentity board;
        std::uint32_t answerAfterMs;  // 0: no answer
        std::int32_t result;
        Lines lines;
    };
    const Case cases[] = {
        {"no answer",
         BoardIdentity::kt512(),
         0,
         -2,
         {"s: INFO: CPendax: KT512-H.", "s: WARNING: CPendax: Took 6 trys",
          "s: WARNING: CPendax: Timeout 0 chars in buffer",
          "s: WARNING: CPendax: Unexpected respons: "}},
        {"board type digit 4: nothing sent, nothing can come",
         {4, 0, 5, 'h'},
         0,
         -2,
         {"s: WARNING: CPendax: Took 6 trys", "s: WARNING: CPendax: Timeout 0 chars in buffer",
          "s: WARNING: CPendax: Unexpected respons: "}},
        {"a late answer within the bound still counts",
         BoardIdentity::kt512(),
         1900,
         0,
         {"s: INFO: CPendax: KT512-H.", "s: WARNING: CPendax: Took 6 trys",
          "s: INFO: CPendax: Setup OK."}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::uint32_t answerAfter = c.answerAfterMs;
        rig.onSetup = [answerAfter] {
            if (answerAfter != 0) {
                scripted_sys::send(setupAnswer('a'), answerAfter);
            }
        };
        CPendaxProbe probe(*rig.device);
        probe.box().boardType = c.board.type;
        probe.box().boardSubType = c.board.subType;
        probe.box().epromRevision = c.board.epromRevision;
        probe.box().boardRevision = c.board.revision;
        StdoutCapture out;
        const std::uint64_t start = scripted_sys::nowMs();
        EXPECT_EQ(probe.setupBox(), c.result);
        EXPECT_LE(scripted_sys::nowMs() - start, 2000u + 300u);
        EXPECT_EQ(out.lines(), c.lines);
    }
}

// One byte per read, more than 100 ms apart: the answer loop runs out of its 200 tries, bytes
// coming all the while, and judges the last byte that came.
TEST_F(BoundedWaits, ADribblingAnswerExhaustsTheTries) {
    rig.onSetup = [] { scripted_sys::send(std::string(300, '~'), 150, 150); };
    CPendaxProbe probe(*rig.device);
    StdoutCapture out;
    EXPECT_EQ(probe.setupBox(), -2);
    Lines expected{"s: INFO: CPendax: KT512-H."};
    expected.insert(expected.end(), 200, "s: INFO: CPendax: read: ~");
    expected.push_back("s: WARNING: CPendax: Took 200 trys");
    expected.push_back("s: WARNING: CPendax: Timeout 1 chars in buffer");
    expected.push_back("s: WARNING: CPendax: Unexpected respons: ~");
    EXPECT_EQ(out.lines(), expected);
}

}  // namespace
