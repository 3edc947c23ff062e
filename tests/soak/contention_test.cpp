// Two devices of the module binary, each on its own virtual box and polled on its own thread,
// publish into one controller storage and, each emulating a tracker, into one tracker storage,
// while reader threads lock a storage, copy what is there and check that every record is whole
// and in its own slot. An owner that dies holding a storage's mutex is recovered from.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "config_builder.h"
#include "host_storage.h"
#include "loaded_module.h"
#include "plain_logger.h"
#include "stdout_capture.h"
#include "stored_sample.h"
#include "test_emulator.h"
#include "virtual_box.h"

namespace {

constexpr int devices = 2;
constexpr int readers = 2;
constexpr unsigned cyclesPerDevice = 2000;
constexpr unsigned levelsPerDevice = 2048;  // device d sends the levels from d × 2048 on

// Every channel of a sample follows from its one level, so a record mixed from two samples shows.
BoxInputs inputsOfLevel(unsigned level) {
    BoxInputs inputs = BoxInputs::atRest();
    for (int& analog : inputs.analog) {
        analog = static_cast<int>(level);
    }
    inputs.buttons = (level * 40503u) & 0xffffffu;
    return inputs;
}

ConData storedLevel(unsigned level) {
    const BoxInputs inputs = inputsOfLevel(level);
    float valuators[8];
    for (int i = 0; i < 8; ++i) {
        valuators[i] = valuatorOfLevel(static_cast<unsigned>(inputs.analog[i]));
    }
    return storedSample(valuators, inputs.buttons);
}

// A record is whole when it is one sample of the device that owns its position, under that
// position's id.
bool wholeRecordOf(int device, std::uint32_t position, const ConData& record) {
    if (fromNetwork(record.id) != position || fromNetwork(record.numValuators) != 8 ||
        fromNetwork(record.numButtons) != 24) {
        return false;
    }
    const long level = std::lround((record.getValuator(1) + 1.0) * 4095.0 / 2.0);
    for (long candidate = level - 2; candidate <= level + 2; ++candidate) {
        const bool owned = candidate >= device * static_cast<long>(levelsPerDevice) &&
                           candidate < (device + 1) * static_cast<long>(levelsPerDevice);
        if (owned && sameChannels(record, storedLevel(static_cast<unsigned>(candidate)))) {
            return true;
        }
    }
    return false;
}

// All eight valuators of a sample are equal, so the tracker they drive moves by the same amount
// along every axis; a device's levels keep to its half of the range, so its tracker moves one way.
bool wholeTrackerOf(int device, std::uint32_t position, const TraData& record) {
    const float x = record.getX();
    const bool sameEverywhere = record.getY() == x && record.getZ() == x && record.getAzim() == x &&
                                record.getElev() == x && record.getRoll() == x;
    const bool ownDirection = device == 0 ? x <= 0.0f : x >= 0.0f;
    return fromNetwork(record.id) == position && sameEverywhere && ownDirection;
}

void setInputs(CVirtualBox& box, const BoxInputs& inputs) {
    for (int i = 0; i < 8; ++i) {
        box.setAnalog(i + 1, inputs.analog[i]);
    }
    for (int b = 0; b < 24; ++b) {
        box.setButton(b + 1, ((inputs.buttons >> b) & 1u) != 0);
    }
}

class Contention : public testing::Test {
protected:
    void SetUp() override {
        const InitInfo info{trackers.get(), controllers.get(), {}};
        StdoutCapture quiet;
        for (int d = 0; d < devices; ++d) {
            configs.push_back(
                std::make_unique<ConfigBuilder>(std::initializer_list<std::vector<std::string>>{
                    {"port", boxes[d].slavePath()},
                    {"emulatetracker", "1", "[0,0,0,0,0,0]", "1", "2", "3", "4", "5", "6"}}));
            device[d] = module.createDev(configs[d]->get(), &log);
            ASSERT_EQ(device[d]->init(&info), 1) << quiet.text();
            ASSERT_EQ(device[d]->configure(), 1) << quiet.text();
        }
        ASSERT_EQ(controllers.entries(), devices);
        ASSERT_EQ(trackers.entries(), devices);
    }
    void TearDown() override {
        for (CBase* d : device) {
            module.deleteDev(d);
        }
    }

    CLogH log = plainLogger("c");
    LoadedModule module;
    CVirtualBox boxes[devices];
    HostStorage trackers{HostStorage::Kind::trackers, log};
    HostStorage controllers{HostStorage::Kind::controllers, log};
    std::vector<std::unique_ptr<ConfigBuilder>> configs;
    CBase* device[devices] = {};
};

TEST_F(Contention, ReadersOnlyEverSeeWholeRecordsInTheirOwnSlots) {
    std::atomic<int> polling{devices};
    std::atomic<unsigned> published[devices] = {};
    std::vector<std::thread> threads;
    for (int d = 0; d < devices; ++d) {
        threads.emplace_back([&, d] {
            ChangeMasks masks{};
            for (unsigned n = 0; n < cyclesPerDevice; ++n) {
                setInputs(boxes[d], inputsOfLevel(d * levelsPerDevice + n % levelsPerDevice));
                if (device[d]->recvData(&masks, 0) == 1 && masks.controllerMask != 0) {
                    ++published[d];
                }
            }
            --polling;
        });
    }
    std::atomic<unsigned> torn{0};
    std::atomic<unsigned> copies{0};
    for (int r = 0; r < readers; ++r) {
        threads.emplace_back([&] {
            while (polling > 0) {
                ConData controllerCopy[devices];
                controllers.get()->lock();
                std::memcpy(controllerCopy, &controllers.controllerRecord(1),
                            sizeof controllerCopy);
                controllers.get()->unlock();
                TraData trackerCopy[devices];
                trackers.get()->lock();
                std::memcpy(trackerCopy, &trackers.trackerRecord(1), sizeof trackerCopy);
                trackers.get()->unlock();
                for (int d = 0; d < devices; ++d) {
                    const auto position = static_cast<std::uint32_t>(d + 1);
                    const bool published = controllerCopy[d].numValuators != 0;
                    if ((published && !wholeRecordOf(d, position, controllerCopy[d])) ||
                        !wholeTrackerOf(d, position, trackerCopy[d])) {
                        ++torn;
                    }
                }
                ++copies;
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(torn, 0u);
    EXPECT_GT(copies, 0u);
    for (int d = 0; d < devices; ++d) {
        // Each cycle changes the sample, so each good packet is published.
        EXPECT_GE(published[d], cyclesPerDevice - 2) << "device " << d;
        const auto position = static_cast<std::uint32_t>(d + 1);
        EXPECT_TRUE(wholeRecordOf(d, position, controllers.controllerRecord(position)));
        EXPECT_TRUE(wholeTrackerOf(d, position, trackers.trackerRecord(position)));
        EXPECT_NE(trackers.trackerRecord(position).getX(), 0.0f) << "the tracker never moved";
    }
}

TEST_F(Contention, AnOwnerThatDiedHoldingAStorageMutexIsRecovered) {
    if (!deadOwnersAreMarked()) {
        GTEST_SKIP() << unmarkedDeadOwners;
    }
    ChangeMasks masks{};
    setInputs(boxes[0], inputsOfLevel(7));
    ASSERT_EQ(device[0]->recvData(&masks, 0), 1);  // the tracker's clock starts
    for (HostStorage* storage : {&controllers, &trackers}) {
        std::thread([storage] { storage->get()->lock(); }).join();
    }
    setInputs(boxes[0], inputsOfLevel(100));
    // The tracker moves by the time between cycles: let it be long enough to change the pose.
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    StdoutCapture out;
    EXPECT_EQ(device[0]->recvData(&masks, 0), 1);
    EXPECT_EQ(out.lines(),
              (std::vector<std::string>{"c: ERROR: CMutexH: Locking mutex: Owner died",
                                        "c: ERROR: CMutexH: Locking mutex: Owner died"}));
    EXPECT_TRUE(wholeRecordOf(0, 1, controllers.controllerRecord(1)));
    EXPECT_TRUE(wholeTrackerOf(0, 1, trackers.trackerRecord(1)));

    // Made consistent and released: usable by everyone again.
    for (HostStorage* storage : {&controllers, &trackers}) {
        ASSERT_TRUE(storage->get()->lock());
        storage->get()->unlock();
    }
    out.clear();
    setInputs(boxes[0], inputsOfLevel(200));
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(device[0]->recvData(&masks, 0), 1);
    EXPECT_NE(masks.controllerMask, 0u);
    EXPECT_NE(masks.trackerMask, 0u);
    EXPECT_EQ(out.text(), "");
}

}  // namespace
