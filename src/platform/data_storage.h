#pragma once
// The module's view of one of the host's shared data storages: a list of tracker records or of
// controller records, its entry count and its mutex. Only the fields the module uses are named.

#include <cstddef>
#include <cstdint>

#include "platform/logger.h"
#include "platform/mutex.h"

struct ConData;
struct TraData;

class CDataStorage {
public:
    static constexpr std::uint32_t maxEntries = 32;

    std::int32_t getNumTrackers() const;
    std::int32_t getNumControllers() const;
    bool setNumTrackers(std::uint32_t count);
    bool setNumControllers(std::uint32_t count);
    TraData* getTracker(std::uint32_t index) const;
    ConData* getController(std::uint32_t index) const;
    bool lock();
    bool unlock();

    std::uint32_t hostData0;
    TraData* trackerData;
    ConData* controllerData;
    CLogH* logger;
    std::uint32_t hostData1;
    CMutexH* mutex;
    std::uint32_t hostData2[2];
    std::int32_t* numData;

private:
    std::int32_t count() const;
    bool setCount(std::uint32_t newCount, const void* otherList, const char* otherListText,
                  const void* ownList, const char* notCreatedText);
    void reportError(const char* message) const;
};

static_assert(sizeof(void*) != 4 || offsetof(CDataStorage, trackerData) == 4, "storage layout");
static_assert(sizeof(void*) != 4 || offsetof(CDataStorage, controllerData) == 8, "storage layout");
static_assert(sizeof(void*) != 4 || offsetof(CDataStorage, logger) == 12, "storage layout");
static_assert(sizeof(void*) != 4 || offsetof(CDataStorage, mutex) == 20, "storage layout");
static_assert(sizeof(void*) != 4 || offsetof(CDataStorage, numData) == 32, "storage layout");
