#pragma once
// One of the host's shared data storages, laid out as the daemon lays it out: a 32-entry record
// list, its count, and a mutex object holding the system's storage mutex.

#include <array>
#include <cstdint>
#include <cstring>

#include "controller/con_data.h"
#include "host_os.h"
#include "platform/data_storage.h"
#include "platform/logger.h"
#include "platform/mutex.h"
#include "tracker/tra_data.h"

class HostStorage {
public:
    enum class Kind { trackers, controllers };
    HostStorage(Kind kind, const CLogH& hostLogger, std::int32_t preloaded = 0)
        : logger(hostLogger), count(preloaded) {
        mutexObject.mutexHandle = hostos::createStorageMutex();
        mutexObject.logger = &logger;
        storage.logger = &logger;
        storage.mutex = &mutexObject;
        storage.numData = &count;
        if (kind == Kind::trackers) {
            storage.trackerData = trackerRecords.data();
        } else {
            storage.controllerData = controllerRecords.data();
        }
        for (ConData& record : controllerRecords) {
            record.reset();
        }
    }
    ~HostStorage() { hostos::destroyStorageMutex(mutexObject.mutexHandle); }
    HostStorage(const HostStorage&) = delete;
    HostStorage& operator=(const HostStorage&) = delete;

    CDataStorage* get() { return &storage; }
    std::int32_t entries() const { return count; }
    const ConData& controllerRecord(std::uint32_t index) const {
        return controllerRecords.at(index - 1);
    }
    const TraData& trackerRecord(std::uint32_t index) const { return trackerRecords.at(index - 1); }

private:
    CLogH logger;
    std::int32_t count;
    CMutexH mutexObject{};
    CDataStorage storage{};
    std::array<ConData, CDataStorage::maxEntries> controllerRecords{};
    std::array<TraData, CDataStorage::maxEntries> trackerRecords{};
};
