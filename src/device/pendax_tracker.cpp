// The emulated tracker: registered in the host's tracker storage during init, stepped and
// published by every good polling cycle.

#include "controller/con_common.h"
#include "device/pendax.h"
#include "device/storage_position.h"
#include "platform/byte_order.h"
#include "platform/data_storage.h"
#include "tracker/tra_common.h"

namespace {
constexpr std::uint32_t emulatingController = 1;
}  // namespace

// Takes the slots after the trackers other devices put into the storage first, and starts the
// tracker at its initial values there. Nothing to do when no emulation is configured.
bool CPendax::registerEmulatedTracker() {
    numEmulatedTrackers =
        static_cast<std::int32_t>(conCommon->numberEmulatedTrackers(emulatingController));
    if (numEmulatedTrackers == 0) {
        return true;
    }
    CDataStorage* storage = initInfo.trackerStorage;
    if (storage == nullptr) {
        logger->error("CPendax: tracker data storage pointer is empty.", true);
        return false;
    }
    traCommon = new CTraCommonH(logger);
    traCommon->inputConnector = inputConnector;
    traCommon->numTrackers = static_cast<std::uint32_t>(numEmulatedTrackers);
    traCommon->setTrackerCount(traCommon->numTrackers);
    traCommon->initTracker(1, 1, nullptr, nullptr, nullptr);
    if (!traCommon->parseOptions(config)) {
        return false;
    }

    storage->lock();
    traCommon->trackerBase = static_cast<std::uint32_t>(storage->getNumTrackers());
    storage->setNumTrackers(traCommon->numTrackers + traCommon->trackerBase);
    trackerEntry = storage->getTracker(traCommon->trackerBase + 1);
    if (trackerEntry != nullptr) {
        conCommon->resetEmulatedTracker(emulatingController, trackerEntry, nullptr);
        trackerEntry->setId(fromNetwork(trackerEntry->id) + traCommon->trackerBase);
    } else {
        logger->error("CPendax: Could not find tracker data entry.", true);
    }
    storage->unlock();
    if (trackerEntry == nullptr) {
        return false;
    }
    dataType = 1;
    return true;
}

// Advances the tracker from the sample just built and copies a changed pose into its slot under
// the storage's lock. A missing slot fails the cycle, but the pose still counts as published.
bool CPendax::publishTracker(ChangeMasks* masks) {
    conCommon->emulateTracker(emulatingController, &newTracker, &newController);
    if (!republish && TraData::sameData(lastTracker, newTracker)) {
        return true;
    }
    const std::uint32_t position =
        conCommon->controller(emulatingController)->emulation->trackerId + traCommon->trackerBase;
    CDataStorage* storage = initInfo.trackerStorage;
    storage->lock();
    trackerEntry = storage->getTracker(traCommon->trackerBase + 1);
    if (trackerEntry != nullptr) {
        logger->debug("CPendax: TraData storage found", true);
        newTracker.setId(position);
        *trackerEntry = newTracker;
        if (masks != nullptr) {
            markPosition(masks->trackerMask, position);
        }
    } else {
        logger->error("CPendax: TraData storage not found", true);
    }
    storage->unlock();
    lastTracker = newTracker;
    return trackerEntry != nullptr;
}
