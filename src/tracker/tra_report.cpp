// The tracker part of the settings report.

#include <iomanip>
#include <iostream>

#include "tracker/tra_common.h"

namespace {
const char* const continuation = "                      :";
}  // namespace

bool CTraCommonH::printTrackerSettings(bool showCaveCoordinates) const {
    if (showCaveCoordinates) {
        logger->info(
            caveCoordinates ? "CAVE COORDINATES      : Used" : "CAVE COORDINATES      : Unused",
            true);
    }
    if (hasTransmitterOffset) {
        logger->info("TRANSMITTER OFFSET    :", false);
        std::cout << " X:" << transmitterOffset.m[3] << " Y:" << transmitterOffset.m[7]
                  << " Z:" << transmitterOffset.m[11] << std::endl;
    }
    if (hasTransmitterRotation) {
        printMatrix(transmitterRotation, "TRANSMITTER ROTATION  :", 0);
    }
    if (hasTransmitterOffset || hasTransmitterRotation) {
        printMatrix(transmitterTransform, "TRANSMITTER TRANSFORM :", 0);
    }

    logger->info("TRACKER ORDER         : <Real tra> -> <Output tra>", true);
    logger->info(continuation, false);
    for (std::uint32_t i = 1; i <= trackerCount; ++i) {
        if (trackers[i - 1].order != 0) {
            std::cout << " " << i << "->" << trackers[i - 1].order + trackerBase;
        }
    }
    std::cout << std::endl;
    for (std::uint32_t i = 1; i <= trackerCount; ++i) {
        const TrackerSettings& tracker = trackers[i - 1];
        if (tracker.order == 0) {
            continue;
        }
        if (tracker.hasSensorOffset) {
            logger->info("SENSOR OFFSET         :", false);
            std::cout << " " << i << " X:" << tracker.sensorOffset.m[3]
                      << " Y:" << tracker.sensorOffset.m[7] << " Z:" << tracker.sensorOffset.m[11]
                      << std::endl;
        }
        if (tracker.hasSensorRotation) {
            printMatrix(tracker.sensorRotation, "SENSOR ROTATION       :", i);
        }
        if (tracker.hasSensorOffset || tracker.hasSensorRotation) {
            printMatrix(tracker.sensorTransform, "SENSOR TRANSFORM      :", i);
        }
    }

    if (calibration != nullptr) {
        logger->info("CALIBRATION LIBRARY   :", false);
        std::cout << " name:" << calibrationName << std::endl;
        for (std::uint32_t k = 0; k < calibrationArgCount; ++k) {
            logger->info(continuation, false);
            std::cout << " arg[" << k << "]:" << calibrationArgs[k] << std::endl;
        }
    }
    return true;
}

// The 3 x 3 rotation part, a row a line, then an empty line. A tracker's rows name it; the
// transmitter's (tracker index 0) do not.
void CTraCommonH::printMatrix(const Matrix4& matrix, const char* firstLabel,
                              std::uint32_t trackerIndex) const {
    std::cout << std::fixed << std::setprecision(3) << std::setfill(' ');
    for (std::uint32_t r = 0; r < 3; ++r) {
        logger->info(r == 0 ? firstLabel : continuation, false);
        if (trackerIndex != 0) {
            std::cout << " " << trackerIndex;
        }
        for (std::uint32_t c = 0; c < 3; ++c) {
            std::cout << " [" << r << "][" << c << "]:" << std::setw(6) << matrix.m[4 * r + c];
        }
        std::cout << std::endl;
    }
    std::cout << std::endl;
}
