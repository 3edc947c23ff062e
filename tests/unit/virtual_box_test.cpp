// The virtual box serving over its pseudo-terminal.

#include "virtual_box.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>

#include "box_line.h"
#include "pty_pair.h"

namespace {

const std::string fixedSetUp = "s\x30\xA0\x21";

// Waits, at most a generous while, for what the box's thread does in its own time.
template <typename Condition>
void waitUntil(Condition condition) {
    for (int wait = 0; wait < 500 && !condition(); ++wait) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

class VirtualBox : public testing::Test {
protected:
    CVirtualBox box;
    BoxLine line{box.slavePath()};
};

TEST_F(VirtualBox, AnswersEveryRequestAndCountsIt) {
    line.send("T");
    EXPECT_EQ(line.receive(44), "Copyright (c), Morvantech, board type 3.05h.");
    line.send(fixedSetUp);
    EXPECT_EQ(line.receive(2), "a\n");
    box.setAnalog(1, 4095);
    box.setButton(1, true);
    line.send("o");
    EXPECT_EQ(line.receive(24), "BAAAAAB``A!A!A!A!A!A!A!\n");
    line.send("xo");
    EXPECT_EQ(line.receive(24).size(), 24u);

    // A write is counted once it returned, which may be after its bytes arrived here.
    const std::uint64_t allSent = 44u + 2 + 24 + 24;
    waitUntil([&] { return box.counters().bytesSent == allSent; });
    const BoxCounters counters = box.counters();
    EXPECT_EQ(counters.identifications, 1u);
    EXPECT_EQ(counters.setups, 1u);
    EXPECT_EQ(counters.packetRequests, 2u);
    EXPECT_EQ(counters.packetsSent, 2u);
    EXPECT_EQ(counters.bytesReceived, 8u);
    EXPECT_EQ(counters.bytesSent, allSent);
    EXPECT_EQ(counters.bytesIgnored, 1u);
    EXPECT_EQ(box.lastSetup().bytes, fixedSetUp);
}

TEST_F(VirtualBox, PacketsFollowTheLastAcceptedSetUp) {
    line.send("s\x22\x21\x21");  // analog input 1 only (at rest: 2048), no digital groups
    EXPECT_EQ(line.receive(2), "a\n");
    line.send("o");
    EXPECT_EQ(line.receive(4), "BA!\n");

    Faults faults;
    faults.setupAnswer = 'f';
    box.setFaults(faults);
    line.send(fixedSetUp);
    EXPECT_EQ(line.receive(2), "f\n");
    line.send("o");
    EXPECT_EQ(line.receive(4), "BA!\n");
    EXPECT_EQ(line.receiveAny(), "");
    EXPECT_EQ(box.lastSetup().bytes, fixedSetUp);
}

TEST_F(VirtualBox, Kt256TakesItsSetUpSilently) {
    box.setBoard(BoardIdentity::kt256());
    line.send("r\x30\x40");  // all analog inputs, groups 1-8
    line.send("o");
    EXPECT_EQ(line.receive(20).substr(0, 3), "BAA");
    EXPECT_EQ(line.receiveAny(), "");
    EXPECT_EQ(box.lastSetup().groupMask, 0x10);
}

TEST_F(VirtualBox, SilentBoxOnlyListens) {
    Faults faults;
    faults.silent = true;
    box.setFaults(faults);
    line.send("To");
    waitUntil([&] { return box.counters().packetRequests == 1; });
    box.setFaults(Faults{});
    line.send("T");
    EXPECT_EQ(line.receive(44).size(), 44u);
    EXPECT_EQ(line.receiveAny(), "");
    const BoxCounters counters = box.counters();
    EXPECT_EQ(counters.identifications, 2u);
    EXPECT_EQ(counters.packetRequests, 1u);
    EXPECT_EQ(counters.packetsSent, 0u);
}

// Lower bounds only: neither fault can make bytes arrive sooner than it allows.
TEST_F(VirtualBox, DribblingAndPacingHoldBytesBack) {
    Faults faults;
    faults.dribbleMs = 30;
    box.setFaults(faults);
    line.send("o");
    std::string packet;
    const auto dribbled = millisecondsOf([&] { packet = line.receive(24); });
    EXPECT_EQ(packet.size(), 24u);
    EXPECT_GE(dribbled, 23 * 30);

    box.setFaults(Faults{});
    box.setLineRate(1200);  // 8.3 ms a byte
    line.send("T");
    const auto paced = millisecondsOf([&] { packet = line.receive(44); });
    EXPECT_EQ(packet.size(), 44u);
    EXPECT_GE(paced, 43 * 10000 / 1200);
}

TEST_F(VirtualBox, InputsMayChangeWhileItServes) {
    std::atomic<bool> done{false};
    std::thread turning([&] {
        for (int value = 0; !done; value = (value + 1) % 4096) {
            box.setAnalog(2, value);
            box.setButton(value % 24 + 1, value % 2 == 0);
        }
    });
    for (int i = 0; i < 200; ++i) {
        line.send("o");
        const std::string packet = line.receive(24);
        ASSERT_EQ(packet.size(), 24u);
        ASSERT_EQ(packet.front(), 'B');
    }
    done = true;
    turning.join();
    EXPECT_EQ(box.counters().packetsSent, 200u);
}

TEST_F(VirtualBox, StopEndsTheLine) {
    box.stop();
    char byte;
    EXPECT_LE(::read(line.descriptor(), &byte, 1), 0);  // the line has hung up
    box.stop();
}

TEST(VirtualBoxLine, HostMayCloseAndReopenThePort) {
    CVirtualBox box;
    { BoxLine first(box.slavePath()); }
    BoxLine second(box.slavePath());
    second.send("T");
    EXPECT_EQ(second.receive(44).size(), 44u);
}

TEST(VirtualBoxLine, APulledLineFailsUntilANewOneServesUnderTheSamePath) {
    CVirtualBox box;
    char target[256] = {};
    ASSERT_GT(readlink(box.linePath().c_str(), target, sizeof target - 1), 0);
    EXPECT_EQ(box.slavePath(), target);
    {
        BoxLine line(box.linePath());
        line.send(fixedSetUp);
        ASSERT_EQ(line.receive(2), "a\n");
        box.unplug(std::chrono::milliseconds(300));
        waitUntil([&] { return box.counters().linePulls == 1; });
        char nothing[256];
        EXPECT_LT(readlink(box.linePath().c_str(), nothing, sizeof nothing), 0);  // names nothing
        char byte;
        EXPECT_LE(::read(line.descriptor(), &byte, 1), 0);  // hung up
        EXPECT_EQ(::write(line.descriptor(), "o", 1), -1);
        EXPECT_EQ(errno, EIO);
    }
    std::unique_ptr<BoxLine> back;
    waitUntil([&] {
        try {
            back = std::make_unique<BoxLine>(box.linePath());
        } catch (const std::runtime_error&) {
        }
        return back != nullptr;
    });
    ASSERT_NE(back, nullptr);
    back->send("T");
    EXPECT_EQ(back->receive(44).size(), 44u);
    EXPECT_EQ(box.lastSetup().bytes, fixedSetUp);  // kept without the fault "forget"
}

TEST(VirtualBoxLine, TheUnplugFaultPullsTheLineAgainAndAgainAndMayForgetTheSetUp) {
    CVirtualBox box;
    {
        BoxLine line(box.linePath());
        line.send(fixedSetUp);
        ASSERT_EQ(line.receive(2), "a\n");
    }
    Faults faults;
    faults.unplugEverySeconds = 1;
    faults.forgetSetup = true;
    box.setFaults(faults);
    waitUntil([&] { return box.counters().linePulls == 1; });
    EXPECT_EQ(box.counters().linePulls, 1u);
    waitUntil([&] { return box.lastSetup().command == 0; });
    EXPECT_EQ(box.lastSetup().command, 0);  // back as from power-on
}

TEST(VirtualBoxMotion, MovesInputsWithinTheirRanges) {
    CVirtualBox box;
    box.setMotion(true);
    BoxLine line(box.slavePath());
    line.send("o");
    const std::string packet = line.receive(24);
    ASSERT_EQ(packet.size(), 24u);
    // Exactly one button is pressed, each analog character is a six-bit character.
    int pressed = 0;
    for (int i = 1; i <= 6; ++i) {
        pressed += __builtin_popcount((packet[i] - 1) & 0x0F);
    }
    EXPECT_EQ(pressed, 1);
    for (int i = 7; i <= 22; ++i) {
        EXPECT_GE(packet[i], 33);
        EXPECT_LE(packet[i], 96);
    }
}

}  // namespace
