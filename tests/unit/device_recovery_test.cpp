// A line that goes away and comes back: the virtual box pulls its line, the device's cycles fail
// at a steady pace with few log lines, and once the box is back the device finds it again through
// the same path, identifies and sets it up afresh and publishes again.

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "config_builder.h"
#include "device/pendax.h"
#include "host_storage.h"
#include "plain_logger.h"
#include "stdout_capture.h"
#include "virtual_box.h"

namespace {

using Clock = std::chrono::steady_clock;
using Lines = std::vector<std::string>;

class DeviceRecovery : public testing::Test {
protected:
    CVirtualBox box;
    CLogH log = plainLogger("p");
    HostStorage trackers{HostStorage::Kind::trackers, log};
    HostStorage controllers{HostStorage::Kind::controllers, log};
    ConfigBuilder config{{"port", box.linePath()}};
    std::unique_ptr<CPendax> device;
    ChangeMasks masks{};

    void SetUp() override {
        device = std::make_unique<CPendax>(config.get(), &log);
        const InitInfo info{trackers.get(), controllers.get(), {}};
        StdoutCapture quiet;
        ASSERT_EQ(device->init(&info), 1) << quiet.text();
        device->configure();
        ASSERT_EQ(box.counters().setups, 1u) << quiet.text();
    }

    std::int32_t poll() {
        masks = ChangeMasks{};
        return device->recvData(&masks, 0);
    }

    // Polls as a daemon that never pauses would, for the given time; the results in order.
    std::vector<std::int32_t> pollFor(std::chrono::milliseconds span) {
        std::vector<std::int32_t> results;
        for (const auto end = Clock::now() + span; Clock::now() < end;) {
            results.push_back(poll());
        }
        return results;
    }

    // Polls until a cycle published the controller; false if none did within a generous bound.
    bool pollUntilPublished() {
        for (const auto end = Clock::now() + std::chrono::seconds(20); Clock::now() < end;) {
            if (poll() == 1 && masks.controllerMask != 0) {
                return true;
            }
        }
        return false;
    }
};

TEST_F(DeviceRecovery, ALostLineIsPacedQuietAndFoundAgainWithTheBoxSetUpAfresh) {
    ASSERT_TRUE(pollUntilPublished());
    ASSERT_EQ(poll(), 1);  // unchanged: not published again
    ASSERT_EQ(masks.controllerMask, 0u);

    StdoutCapture out;
    box.unplug(std::chrono::milliseconds(1500));
    const std::vector<std::int32_t> lost = pollFor(std::chrono::seconds(1));
    ASSERT_FALSE(lost.empty());
    EXPECT_EQ(lost.back(), -1);
    // About one read time-out a call instead of a busy loop: ten, give or take.
    EXPECT_LE(lost.size(), 40u);
    EXPECT_GE(lost.size(), 3u);
    // The loss itself is logged as any failed transfer is; the failing cycles after it are not.
    EXPECT_LE(out.lines().size(), 2u) << out.text();

    // Back as it was: the first sample is published although it equals the last one.
    ASSERT_TRUE(pollUntilPublished()) << out.text();
    EXPECT_EQ(box.counters().identifications, 2u);
    EXPECT_EQ(box.counters().setups, 2u);
    const Lines lines = out.lines();
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[lines.size() - 3], "p: INFO: CPendax: KT512-H.");
    EXPECT_EQ(lines[lines.size() - 2], "p: INFO: CPendax: Setup OK.");
    EXPECT_EQ(lines.back(), "p: INFO: CPendax: The box is back on " + box.linePath() + ".");
    EXPECT_LE(lines.size(), 7u) << out.text();  // at most one line more per reopen that failed
    EXPECT_EQ(poll(), 1);
    EXPECT_EQ(masks.controllerMask, 0u);
}

TEST_F(DeviceRecovery, ABoxThatComesBackAsAnotherRevisionIsIdentifiedAfresh) {
    ASSERT_TRUE(pollUntilPublished());
    Faults forget;
    forget.forgetSetup = true;
    box.setFaults(forget);
    BoardIdentity newer = BoardIdentity::kt512();
    newer.revision = 'g';
    newer.epromRevision = 7;
    box.setBoard(newer);
    StdoutCapture out;
    box.unplug(std::chrono::milliseconds(200));
    ASSERT_TRUE(pollUntilPublished()) << out.text();
    EXPECT_NE(out.text().find("p: INFO: CPendax: KT512-G.\n"), std::string::npos) << out.text();
    EXPECT_EQ(box.lastSetup().command, 'c');  // the long set-up of EPROM revision 7
}

TEST_F(DeviceRecovery, StopOnALostLineSaysNothingAndEndsTheReopening) {
    StdoutCapture out;
    box.unplug(std::chrono::seconds(30));
    pollFor(std::chrono::milliseconds(300));
    out.clear();
    EXPECT_TRUE(device->stop());
    EXPECT_EQ(poll(), -1);  // stopped: no more reopening
    device.reset();
    EXPECT_EQ(out.lines(),
              (Lines{"p: ERROR: CRS232H: Writing to " + box.linePath() + ": Bad file descriptor",
                     "p: ERROR: CPendax: Sending a byte failed."}));
}

}  // namespace
