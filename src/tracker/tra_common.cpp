#include "tracker/tra_common.h"

#include <algorithm>
#include <iterator>

CTraCommonH::CTraCommonH(const CLogH* creatorLogger)
    : ownsLogger(true),
      trackerCount(0),
      trackers(nullptr),
      inputConnector(true),
      transmitterOffset(makeZeroMatrix()),
      transmitterRotation(makeIdentityMatrix()),
      transmitterTransform(makeIdentityMatrix()),
      hasTransmitterOffset(false),
      hasTransmitterRotation(false),
      caveCoordinates(false),
      numTrackers(0),
      trackerBase(0),
      calibration(nullptr),
      calibrationName{},
      calibrationArgs{},
      calibrationArgCount(0),
      logger(makeOwnedLogger(creatorLogger, "CTraCommonH", 3)) {
    logger->debug("CTraCommonH: \"constructor\" called.", true);
}

CTraCommonH::~CTraCommonH() {
    logger->debug("CTraCommonH: \"destructor\" called.", true);
    releaseCalibration();
    freeTrackers();
    if (ownsLogger) {
        delete logger;
    }
}

bool CTraCommonH::setTrackerCount(std::uint32_t count) {
    if (count == 0) {
        return false;
    }
    freeTrackers();
    trackers = new TrackerSettings[count];
    trackerCount = count;
    for (std::uint32_t i = 1; i <= count; ++i) {
        initTracker(i, 0, nullptr, nullptr, nullptr);
    }
    return true;
}

bool CTraCommonH::initTracker(std::uint32_t index, std::uint32_t order, const Matrix4* offset,
                              const Matrix4* rotation, const float* translation) {
    if (trackers == nullptr || index < 1 || index > trackerCount) {
        return false;
    }
    TrackerSettings& settings = trackers[index - 1];
    settings.order = order;
    settings.hasSensorOffset = offset != nullptr;
    settings.sensorOffset = offset != nullptr ? *offset : makeZeroMatrix();
    settings.hasSensorRotation = rotation != nullptr;
    settings.sensorRotation = rotation != nullptr ? *rotation : makeIdentityMatrix();
    settings.hasSensorTranslation = translation != nullptr;
    if (translation != nullptr) {
        std::copy(translation, translation + 3, settings.sensorTranslation);
    } else {
        std::fill(std::begin(settings.sensorTranslation), std::end(settings.sensorTranslation),
                  0.0f);
    }
    settings.sensorTransform = composeTransform(settings.sensorRotation, settings.sensorOffset);
    return true;
}

void CTraCommonH::freeTrackers() {
    delete[] trackers;
    trackers = nullptr;
    trackerCount = 0;
}

// Unloads the library and frees the copies of its arguments.
void CTraCommonH::releaseCalibration() {
    if (calibration == nullptr) {
        return;
    }
    delete calibration;
    calibration = nullptr;
    for (std::uint32_t k = 0; k < calibrationArgCount; ++k) {
        delete[] calibrationArgs[k];
        calibrationArgs[k] = nullptr;
    }
    calibrationArgCount = 0;
}
