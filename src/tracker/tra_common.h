#pragma once
// The tracker side's settings: one transmitter transform for all trackers, sensor transforms per
// tracker, the trackers' output order, CAVE coordinates and the calibration library, and where
// this device's trackers lie in the host's tracker storage. Settings only: nothing here is
// applied to the samples.

#include <cstdint>

#include "config/device_config.h"
#include "platform/logger.h"
#include "tracker/calib_lib.h"
#include "tracker/matrix4.h"

struct TrackerSettings {
    std::uint32_t order;  // output number, 1-based; 0 = none
    Matrix4 sensorOffset;
    Matrix4 sensorRotation;
    Matrix4 sensorTransform;  // the rotation composed with the offset
    float sensorTranslation[3];
    bool hasSensorOffset;
    bool hasSensorRotation;
    bool hasSensorTranslation;
};

class CTraCommonH {
public:
    static constexpr std::uint32_t maxCalibrationArgs = 10;

    explicit CTraCommonH(const CLogH* creatorLogger);
    ~CTraCommonH();
    CTraCommonH(const CTraCommonH&) = delete;
    CTraCommonH& operator=(const CTraCommonH&) = delete;

    bool setTrackerCount(std::uint32_t count);
    // Items not given take their initial values and clear their flags.
    bool initTracker(std::uint32_t index, std::uint32_t order, const Matrix4* offset,
                     const Matrix4* rotation, const float* translation);

    // Reads the tracker options; false when any line was faulty.
    bool parseOptions(DeviceConfig* config);
    // The tracker part of the settings report; it leaves standard output in fixed notation with
    // three decimals.
    bool printTrackerSettings(bool showCaveCoordinates) const;

    bool ownsLogger;
    std::uint32_t trackerCount;
    TrackerSettings* trackers;
    bool inputConnector;
    Matrix4 transmitterOffset;
    Matrix4 transmitterRotation;
    Matrix4 transmitterTransform;
    bool hasTransmitterOffset;
    bool hasTransmitterRotation;
    bool caveCoordinates;
    std::uint32_t numTrackers;
    std::uint32_t trackerBase;
    CCalibH* calibration;
    char calibrationName[256];
    char* calibrationArgs[maxCalibrationArgs];
    std::uint32_t calibrationArgCount;

private:
    // What a value option sets.
    enum class ValueKind {
        transmitterOffset,
        transmitterRotation,
        transmitterRotationMatrix,
        sensorOffset,
        sensorTranslation,
        sensorRotation,
        sensorRotationMatrix,
    };
    struct ValueOption;
    static const ValueOption valueOptions[7];

    enum class Outcome {
        notMine,  // another handler's keyword, left untouched
        applied,
        faulty,
        skipped,  // checked, but not applied after an earlier fault
    };

    Outcome parseOption(const ConfigOption& option, bool earlierFault);
    Outcome parseValueOption(const ConfigOption& option, const ValueOption& spec,
                             bool earlierFault);
    void applyValues(ValueKind kind, TrackerSettings* tracker, const float* numbers);
    Outcome parseCalibration(const ConfigOption& option);
    Outcome parseTrackerOrder(const ConfigOption& option);
    Outcome parseCaveCoordinates(const ConfigOption& option);
    Outcome reportFault(const char* problem, const char* label, const ConfigOption& option) const;
    void printMatrix(const Matrix4& matrix, const char* firstLabel,
                     std::uint32_t trackerIndex) const;

    void freeTrackers();
    void releaseCalibration();

    CLogH* logger;
};
