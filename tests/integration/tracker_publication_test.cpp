// The emulated tracker through the built module, against the virtual box: where it lands in the
// tracker storage, how it moves with a valuator, and what stops it from being set up.

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "config_builder.h"
#include "host_storage.h"
#include "loaded_module.h"
#include "plain_logger.h"
#include "platform/byte_order.h"
#include "stdout_capture.h"
#include "virtual_box.h"

namespace {

using Clock = std::chrono::steady_clock;

class TrackerPublication : public testing::Test {
protected:
    CVirtualBox box;
    LoadedModule module;
    CLogH log = plainLogger("h");
    HostStorage trackers{HostStorage::Kind::trackers, log, 2};  // two other devices' trackers
    HostStorage controllers{HostStorage::Kind::controllers, log};
    ConfigBuilder config;
    CBase* device = nullptr;
    ChangeMasks masks{};

    ~TrackerPublication() override {
        if (device != nullptr) {
            StdoutCapture quiet;
            device->stop();
            module.deleteDev(device);
        }
    }

    std::int32_t init(const InitInfo& info, std::string* printed = nullptr) {
        config.add({"port", box.slavePath()});
        StdoutCapture out;
        device = module.createDev(config.get(), &log);
        const std::int32_t result = device->init(&info);
        if (printed != nullptr) {
            *printed = out.text();
        }
        return result;
    }
    InitInfo bothStorages() { return {trackers.get(), controllers.get(), {}}; }

    std::int32_t poll() {
        masks = ChangeMasks{};
        return device->recvData(&masks, 0);
    }
    std::uint32_t trackerBits() const { return fromNetwork(masks.trackerMask); }
    std::uint32_t controllerBits() const { return fromNetwork(masks.controllerMask); }
    const TraData& slot() const { return trackers.trackerRecord(3); }

    // Polls until the condition holds; false if it has not within a generous bound.
    bool pollUntil(const std::function<bool()>& condition) {
        const Clock::time_point end = Clock::now() + std::chrono::seconds(10);
        while (Clock::now() < end) {
            if (poll() == 1 && condition()) {
                return true;
            }
        }
        return false;
    }
};

TEST_F(TrackerPublication, FollowsTheTrackersAlreadyThereAndMovesWithItsValuator) {
    config.add({"emulatetracker", "1", "[1,2,3,0,0,0]", "1", "0", "0", "0", "0", "0", "7"});
    ASSERT_EQ(init(bothStorages()), 1);
    EXPECT_EQ(trackers.entries(), 3);
    EXPECT_EQ(fromNetwork(slot().id), 3u);  // the initial values are in place before any cycle
    EXPECT_EQ(slot().getX(), 1.0f);
    EXPECT_EQ(slot().getZ(), 3.0f);
    {
        StdoutCapture quiet;
        EXPECT_EQ(device->configure(), 1);
    }

    box.setAnalog(1, 4095);  // +1.0: X moves at one unit a second
    ASSERT_EQ(poll(), 1);
    EXPECT_EQ(controllerBits(), 1u);
    EXPECT_EQ(trackerBits(), 1u << 2);  // position 3
    EXPECT_EQ(slot().getX(), 1.0f);     // the first step only places the tracker

    // A valuator held still keeps the tracker moving while the controller sample stays the same.
    ASSERT_TRUE(pollUntil([&] { return trackerBits() != 0; }));
    EXPECT_EQ(controllerBits(), 0u);
    EXPECT_EQ(trackerBits(), 1u << 2);
    EXPECT_EQ(fromNetwork(slot().id), 3u);
    EXPECT_GT(slot().getX(), 1.0f);
    EXPECT_NE(slot().timeSec, 0u);   // the sample's time stamp
    EXPECT_EQ(slot().getY(), 2.0f);  // not driven

    box.setButton(7, true);
    ASSERT_TRUE(pollUntil([&] { return slot().getX() == 1.0f; }));
    for (int cycle = 0; cycle < 20; ++cycle) {
        ASSERT_EQ(poll(), 1);
        EXPECT_EQ(slot().getX(), 1.0f);
        EXPECT_EQ(trackerBits(), 0u);  // held at its initial values: nothing new to publish
    }

    // At rest the valuator reads 0: the pose stays and is not published again.
    box.setButton(7, false);
    box.setAnalog(1, 2048);
    ASSERT_TRUE(pollUntil([&] { return controllerBits() != 0; }));
    for (int cycle = 0; cycle < 20; ++cycle) {
        ASSERT_EQ(poll(), 1);
        EXPECT_EQ(trackerBits(), 0u);
    }
    EXPECT_EQ(slot().getX(), 1.0f);
}

TEST_F(TrackerPublication, TrackerOptionsWithoutEmulationAreUnknown) {
    config.add({"sensoroffset", "1", "0", "0", "1"});
    std::string printed;
    EXPECT_EQ(init(bothStorages(), &printed), -1);
    EXPECT_NE(printed.find("h: ERROR: CConfigH: Unknown option \"sensoroffset\" found at line 1."),
              std::string::npos)
        << printed;
    EXPECT_EQ(trackers.entries(), 2);
}

TEST_F(TrackerPublication, EmulationWithoutATrackerStorageFailsBeforeTheControllerStorage) {
    config.add({"emulatetracker", "1", "[]", "1", "2", "3", "4", "5", "6"});
    std::string printed;
    EXPECT_EQ(init({nullptr, controllers.get(), {}}, &printed), -1);
    EXPECT_EQ(printed, "h: ERROR: CPendax: tracker data storage pointer is empty.\n");
    EXPECT_EQ(controllers.entries(), 0);
}

TEST_F(TrackerPublication, RejectedTrackerOptionsFailInitWithTheirMessages) {
    config.add({"emulatetracker", "1", "[]", "1", "2", "3", "4", "5", "6"});
    config.add({"order", "1"});
    config.add({"sensorrotation", "1", "0", "0", "1"});
    std::string printed;
    EXPECT_EQ(init(bothStorages(), &printed), -1);
    EXPECT_EQ(printed,
              "h: ERROR: Can not change the order on input connector at line 2.\n"
              "h: ERROR: Incomplete option line found for SensorRotation at line 3.\n");
    EXPECT_EQ(trackers.entries(), 2);
}

}  // namespace
