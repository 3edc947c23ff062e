#include "platform/data_storage.h"

#include "platform/record_sizes.h"

namespace {
// Entry index (1-based) of a list, or null when out of range or when the list is absent.
void* entry(void* list, std::size_t recordSize, std::uint32_t index, std::int32_t count) {
    if (list == nullptr || index < 1 || count < 0 || index > static_cast<std::uint32_t>(count)) {
        return nullptr;
    }
    return static_cast<char*>(list) + (index - 1) * recordSize;
}
}  // namespace

// A storage without its count word reads as empty.
std::int32_t CDataStorage::count() const {
    return numData != nullptr ? *numData : 0;
}

std::int32_t CDataStorage::getNumTrackers() const {
    return trackerData != nullptr ? count() : 0;
}

std::int32_t CDataStorage::getNumControllers() const {
    return controllerData != nullptr ? count() : 0;
}

bool CDataStorage::setNumTrackers(std::uint32_t newCount) {
    return setCount(newCount, controllerData, "Delete controller data list first.", trackerData,
                    "CDataStorage: Data storage has not been created yet.");
}

bool CDataStorage::setNumControllers(std::uint32_t newCount) {
    return setCount(newCount, trackerData, "CDataStorage: Delete tracker data list first.",
                    controllerData, "CDataStorage: Datt Storage has not been created yet.");
}

bool CDataStorage::setCount(std::uint32_t newCount, const void* otherList,
                            const char* otherListText, const void* ownList,
                            const char* notCreatedText) {
    const char* refusal = nullptr;
    if (newCount > maxEntries) {
        refusal = "CDataStorage: The new number is too big.";
    } else if (otherList != nullptr) {
        refusal = otherListText;
    } else if (ownList == nullptr || numData == nullptr) {
        refusal = notCreatedText;
    } else if (mutex == nullptr) {
        refusal = "CDataStorage: Mutex has not been set up yet.";
    } else if (newCount == 0) {
        refusal = "CDataStorage: the number of data is zero.";
    }
    if (refusal != nullptr) {
        reportError(refusal);
        return false;
    }
    *numData = static_cast<std::int32_t>(newCount);
    return true;
}

TraData* CDataStorage::getTracker(std::uint32_t index) const {
    return static_cast<TraData*>(entry(trackerData, trackerRecordSize, index, count()));
}

ConData* CDataStorage::getController(std::uint32_t index) const {
    return static_cast<ConData*>(entry(controllerData, controllerRecordSize, index, count()));
}

bool CDataStorage::lock() {
    if (mutex == nullptr) {
        reportError("CDataStorage: Mutex has not been set up yet.");
        return false;
    }
    return mutex->lock();
}

bool CDataStorage::unlock() {
    if (mutex == nullptr) {
        reportError("CDataStorage: Mutex has not been set up yet.");
        return false;
    }
    return mutex->unlock();
}

void CDataStorage::reportError(const char* message) const {
    errorThrough(logger, message, true);
}
