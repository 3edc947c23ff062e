#include "platform/data_storage.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>

#include "controller/con_data.h"
#include "host_storage.h"
#include "plain_logger.h"
#include "stdout_capture.h"
#include "system_texts.h"
#include "test_emulator.h"

namespace {

const CLogH hostLog = plainLogger("daemon");

TEST(DataStorage, CountChangesAreCheckedInOrder) {
    struct Case {
        const char* name;
        bool trackerList;
        bool controllerList;
        bool mutex;
        bool controllers;  // setNumControllers, else setNumTrackers
        std::uint32_t count;
        const char* message;  // null: accepted
    };
    const Case cases[] = {
        {"trackers: 32 fits", true, false, true, false, 32, nullptr},
        {"trackers: 33", true, false, true, false, 33, "CDataStorage: The new number is too big."},
        {"trackers: 33 beats every other fault", false, true, false, false, 33,
         "CDataStorage: The new number is too big."},
        {"trackers: on a controller list", false, true, true, false, 3,
         "Delete controller data list first."},
        {"trackers: no list", false, false, true, false, 3,
         "CDataStorage: Data storage has not been created yet."},
        {"trackers: no mutex", true, false, false, false, 3,
         "CDataStorage: Mutex has not been set up yet."},
        {"trackers: zero", true, false, true, false, 0,
         "CDataStorage: the number of data is zero."},
        {"controllers: 1 fits", false, true, true, true, 1, nullptr},
        {"controllers: on a tracker list", true, false, true, true, 3,
         "CDataStorage: Delete tracker data list first."},
        {"controllers: no list", false, false, true, true, 3,
         "CDataStorage: Datt Storage has not been created yet."},
        {"controllers: no mutex", false, true, false, true, 3,
         "CDataStorage: Mutex has not been set up yet."},
        {"controllers: zero", false, true, true, true, 0,
         "CDataStorage: the number of data is zero."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HostStorage host(HostStorage::Kind::controllers, hostLog, 2);
        CDataStorage storage = *host.get();
        storage.trackerData = c.trackerList ? reinterpret_cast<TraData*>(&storage) : nullptr;
        storage.controllerData = c.controllerList ? host.get()->controllerData : nullptr;
        if (!c.mutex) {
            storage.mutex = nullptr;
        }
        StdoutCapture out;
        const bool accepted =
            c.controllers ? storage.setNumControllers(c.count) : storage.setNumTrackers(c.count);
        EXPECT_EQ(accepted, c.message == nullptr);
        EXPECT_EQ(out.text(),
                  c.message == nullptr ? "" : std::string("daemon: ERROR: ") + c.message + "\n");
        EXPECT_EQ(host.entries(), c.message == nullptr ? static_cast<std::int32_t>(c.count) : 2);
    }
}

TEST(DataStorage, EntriesAreFoundWithinTheCountOnly) {
    HostStorage controllers(HostStorage::Kind::controllers, hostLog, 3);
    CDataStorage* storage = controllers.get();
    EXPECT_EQ(storage->getController(0), nullptr);
    EXPECT_EQ(storage->getController(4), nullptr);
    EXPECT_EQ(storage->getController(1), storage->controllerData);
    EXPECT_EQ(reinterpret_cast<char*>(storage->getController(3)),
              reinterpret_cast<char*>(storage->controllerData) + 2 * 184);
    EXPECT_EQ(storage->getTracker(1), nullptr);
    EXPECT_EQ(storage->getNumControllers(), 3);
    EXPECT_EQ(storage->getNumTrackers(), 0);

    HostStorage trackers(HostStorage::Kind::trackers, hostLog, 2);
    EXPECT_EQ(reinterpret_cast<char*>(trackers.get()->getTracker(2)),
              reinterpret_cast<char*>(trackers.get()->trackerData) + 56);
    EXPECT_EQ(trackers.get()->getNumControllers(), 0);
    EXPECT_EQ(trackers.get()->getController(1), nullptr);
}

TEST(DataStorage, MissingHostFieldsAreRefusedNotFollowed) {
    CDataStorage storage{};
    StdoutCapture out;
    EXPECT_EQ(storage.getNumControllers(), 0);
    EXPECT_EQ(storage.getController(1), nullptr);
    EXPECT_FALSE(storage.lock());
    EXPECT_FALSE(storage.unlock());
    EXPECT_FALSE(storage.setNumControllers(1));

    HostStorage host(HostStorage::Kind::controllers, hostLog, 1);
    CDataStorage noCount = *host.get();
    noCount.numData = nullptr;
    EXPECT_EQ(noCount.getNumControllers(), 0);
    EXPECT_FALSE(noCount.setNumControllers(2));

    CMutexH noHandle{};
    noHandle.logger = nullptr;
    EXPECT_FALSE(noHandle.lock());

    const auto lines = out.lines();
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_NE(lines[0].find("ERROR: CDataStorage: Mutex has not been set up yet."),
              std::string::npos);
    EXPECT_NE(lines[2].find("ERROR: CDataStorage: Datt Storage has not been created yet."),
              std::string::npos);
    EXPECT_EQ(lines[3], "daemon: ERROR: CDataStorage: Datt Storage has not been created yet.");
    EXPECT_NE(lines[4].find("MESSAGE"), std::string::npos);
    EXPECT_NE(
        lines[4].find(std::string("ERROR: CMutexH: Locking mutex: ") + systemTexts::noMutexHandle),
        std::string::npos);
}

TEST(DataStorage, AbandonedMutexIsReportedAndStaysUsable) {
    if (!deadOwnersAreMarked()) {
        GTEST_SKIP() << unmarkedDeadOwners;
    }
    HostStorage host(HostStorage::Kind::controllers, hostLog, 1);
    CDataStorage* storage = host.get();
    // Its owner ends holding it, as a daemon thread or process that dies in the middle would.
    std::thread([storage] { storage->lock(); }).join();

    StdoutCapture out;
    EXPECT_FALSE(storage->lock());
    EXPECT_TRUE(storage->unlock());
    EXPECT_TRUE(storage->lock());
    EXPECT_TRUE(storage->unlock());
    EXPECT_EQ(out.text(), std::string("daemon: ERROR: CMutexH: Locking mutex: ") +
                              systemTexts::mutexAbandoned + "\n");

    out.clear();
    EXPECT_FALSE(storage->unlock());  // not held
    EXPECT_EQ(out.text(), std::string("daemon: ERROR: CMutexH: Unlocking mutex: ") +
                              systemTexts::mutexNotOwned + "\n");
}

TEST(DataStorage, ContendingWritersNeverTearARecord) {
    HostStorage host(HostStorage::Kind::controllers, hostLog, 1);
    CDataStorage* storage = host.get();
    std::atomic<bool> torn{false};
    auto writer = [&](float value) {
        ConData record{};
        record.reset();
        record.numValuators = host.controllerRecord(1).numValuators;
        for (int round = 0; round < 2000; ++round) {
            for (std::uint32_t i = 0; i < ConData::maxValuators; ++i) {
                record.valuators[i] = static_cast<std::uint32_t>(value * 1000) + i;
            }
            storage->lock();
            ConData* slot = storage->getController(1);
            std::memcpy(slot, &record, sizeof record);
            ConData seen;
            std::memcpy(&seen, slot, sizeof seen);
            storage->unlock();
            for (std::uint32_t i = 1; i < ConData::maxValuators; ++i) {
                if (seen.valuators[i] != seen.valuators[0] + i) {
                    torn = true;
                }
            }
        }
    };
    std::thread first(writer, 1.0f);
    std::thread second(writer, 2.0f);
    first.join();
    second.join();
    EXPECT_FALSE(torn);
}

}  // namespace
