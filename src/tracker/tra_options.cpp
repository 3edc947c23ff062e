// The tracker options: transmitter and sensor transforms, the calibration library, the tracker
// order and CAVE coordinates. A faulty line is reported, left unused and fails the parse at the
// end; every line is read.

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "config/config_input.h"
#include "tracker/tra_common.h"

namespace {

const char* const incomplete = "Incomplete option line found for ";
const char* const tooMany = "Too many args found for ";
const char* const invalidArg = "Invalid arg found for ";
const char* const invalidTracker = "Invalid tracker ID found for ";
const char* const invalidString = "Invalid string found for ";

enum class Trailing { none, unit, angle };

}  // namespace

// The seven options that set a transform or a translation from numbers.
struct CTraCommonH::ValueOption {
    const char* keyword;
    const char* label;
    ValueKind kind;
    bool perTracker;       // the first argument names the tracker
    std::uint32_t values;  // numbers after the tracker id, before the trailing argument
    Trailing trailing;     // an optional unit word, or a required angle
    const char* unitProblem;
};

const CTraCommonH::ValueOption CTraCommonH::valueOptions[] = {
    {"transmitteroffset", "TransmitterOffset at line ", ValueKind::transmitterOffset, false, 3,
     Trailing::unit, invalidString},
    {"transmitterrotation", "TransmitterRotation at line ", ValueKind::transmitterRotation, false,
     3, Trailing::angle, nullptr},
    {"transmitterrotationmatrix", "TransmitterRotationMatrix at line ",
     ValueKind::transmitterRotationMatrix, false, 9, Trailing::none, nullptr},
    {"sensoroffset", "SensorOffset at line ", ValueKind::sensorOffset, true, 3, Trailing::unit,
     "Invalid unit found for "},
    {"sensortranslation", "SensorTranslation at line ", ValueKind::sensorTranslation, true, 3,
     Trailing::unit, "Invalid unit found for "},
    {"sensorrotation", "SensorRotation at line ", ValueKind::sensorRotation, true, 3,
     Trailing::angle, nullptr},
    {"sensorrotationmatrix", "SensorRotationMatrix at line ", ValueKind::sensorRotationMatrix, true,
     9, Trailing::none, nullptr},
};

namespace {

struct Unit {
    const char* word;
    float feet;
};

const Unit units[] = {
    {"feet", 1.0f},  {"inches", 0.083333336f}, {"meters", 3.28084f},
    {"m", 3.28084f}, {"cm", 0.0328084f},
};

// A number as strtod reads it; false for a word that reads as 0.
bool readNumber(const char* text, float* value) {
    *value = static_cast<float>(std::strtod(text, nullptr));
    return *value != 0.0f || !startsWithLetter(text);
}

bool readUnit(const char* text, float* feet) {
    for (const Unit& unit : units) {
        if (compareNoCase(text, unit.word) == 0) {
            *feet = unit.feet;
            return true;
        }
    }
    return false;
}

bool isAnyKeyword(const ConfigOption& option, std::initializer_list<const char*> keywords) {
    for (const char* keyword : keywords) {
        if (isKeyword(option, keyword)) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool CTraCommonH::parseOptions(DeviceConfig* config) {
    if (trackers == nullptr) {
        logger->error("CTraCommonH: lookup is Null.", true);
        return false;
    }
    if (config == nullptr) {
        logger->error("CTraCommonH: config is empty.", true);
        return false;
    }
    bool failed = false;
    for (std::uint32_t i = 0; i < optionCount(*config); ++i) {
        ConfigOption& option = config->options[i];
        const Outcome outcome = parseOption(option, failed);
        if (outcome == Outcome::applied) {
            option.used = 1;
        } else if (outcome == Outcome::faulty) {
            failed = true;
        }
    }
    return !failed;
}

// The keywords in the order they are tested; the first match decides.
CTraCommonH::Outcome CTraCommonH::parseOption(const ConfigOption& option, bool earlierFault) {
    for (const ValueOption& value : valueOptions) {
        if (isKeyword(option, value.keyword)) {
            return parseValueOption(option, value, earlierFault);
        }
    }
    if (isAnyKeyword(option, {"calibration", "calib"})) {
        return parseCalibration(option);
    }
    if (isAnyKeyword(option, {"trackerorder", "unitorder", "order"})) {
        return parseTrackerOrder(option);
    }
    if (isAnyKeyword(option, {"cavecoord", "cavecoordinates"})) {
        return parseCaveCoordinates(option);
    }
    return Outcome::notMine;
}

CTraCommonH::Outcome CTraCommonH::parseValueOption(const ConfigOption& option,
                                                   const ValueOption& spec, bool earlierFault) {
    const std::uint32_t args = argCount(option);
    const std::uint32_t first = spec.perTracker ? 1 : 0;
    const std::uint32_t needed = first + spec.values + (spec.trailing == Trailing::angle ? 1 : 0);
    const std::uint32_t allowed = needed + (spec.trailing == Trailing::unit ? 1 : 0);
    TrackerSettings* tracker = nullptr;
    if (spec.perTracker) {
        if (args == 0) {
            return reportFault(incomplete, spec.label, option);
        }
        const std::uint32_t id = parseUnsigned(argOf(option, 0));
        if (id < 1 || id > trackerCount) {
            return reportFault(invalidTracker, spec.label, option);
        }
        tracker = &trackers[id - 1];
    }
    if (args < needed) {
        return reportFault(incomplete, spec.label, option);
    }
    if (args > allowed) {
        return reportFault(tooMany, spec.label, option);
    }
    float numbers[10] = {};
    for (std::uint32_t v = 0; v < spec.values; ++v) {
        if (!readNumber(argOf(option, first + v), &numbers[v])) {
            return reportFault(invalidArg, spec.label, option);
        }
    }
    if (earlierFault) {
        return Outcome::skipped;  // the values were checked; nothing more after a fault
    }
    float feet = 1.0f;
    const char* trailing = argOf(option, first + spec.values);
    if (spec.trailing == Trailing::angle && !readNumber(trailing, &numbers[spec.values])) {
        return reportFault(invalidArg, spec.label, option);
    }
    if (spec.trailing == Trailing::unit && args == allowed && !readUnit(trailing, &feet)) {
        return reportFault(spec.unitProblem, spec.label, option);
    }
    if (spec.trailing == Trailing::unit) {
        for (std::uint32_t v = 0; v < spec.values; ++v) {
            numbers[v] *= feet;
        }
    }
    applyValues(spec.kind, tracker, numbers);
    return Outcome::applied;
}

void CTraCommonH::applyValues(ValueKind kind, TrackerSettings* tracker, const float* n) {
    // Each transform is recomputed from the current rotation and offset, so the order of the
    // options does not matter.
    switch (kind) {
        case ValueKind::transmitterOffset:
            // An offset of (0, 0, 0) is no offset; one whose components merely cancel out is.
            if (n[0] != 0.0f || n[1] != 0.0f || n[2] != 0.0f) {
                transmitterOffset = translationMatrix(n[0], n[1], n[2]);
                hasTransmitterOffset = true;
            }
            break;
        case ValueKind::transmitterRotation:
            transmitterRotation = axisAngleMatrix(n[0], n[1], n[2], n[3]);
            hasTransmitterRotation = true;
            break;
        case ValueKind::transmitterRotationMatrix:
            transmitterRotation = rotationMatrix9(n);
            hasTransmitterRotation = true;
            break;
        case ValueKind::sensorOffset:
            tracker->sensorOffset = translationMatrix(n[0], n[1], n[2]);
            tracker->hasSensorOffset = true;
            break;
        case ValueKind::sensorTranslation:
            std::copy(n, n + 3, tracker->sensorTranslation);
            tracker->hasSensorTranslation = true;
            break;
        case ValueKind::sensorRotation:
            tracker->sensorRotation = axisAngleMatrix(n[0], n[1], n[2], n[3]);
            tracker->hasSensorRotation = true;
            break;
        case ValueKind::sensorRotationMatrix:
            tracker->sensorRotation = rotationMatrix9(n);
            tracker->hasSensorRotation = true;
            break;
    }
    if (tracker != nullptr) {
        tracker->sensorTransform = composeTransform(tracker->sensorRotation, tracker->sensorOffset);
    } else {
        transmitterTransform = composeTransform(transmitterRotation, transmitterOffset);
    }
}

// "calibration" NAME [ARG ...]: replaces the library and its arguments.
CTraCommonH::Outcome CTraCommonH::parseCalibration(const ConfigOption& option) {
    const char* label = "Calibration at line ";
    const std::uint32_t args = argCount(option);
    if (args == 0) {
        return reportFault(incomplete, label, option);
    }
    const char* name = argOf(option, 0);
    if (std::strlen(name) >= sizeof calibrationName) {
        return reportFault(invalidArg, label, option);  // it would not fit the name field
    }
    std::strcpy(calibrationName, name);
    if (args - 1 > maxCalibrationArgs) {
        return reportFault(tooMany, label, option);
    }
    releaseCalibration();
    calibration = new CCalibH(calibrationName, logger);
    for (std::uint32_t k = 1; k < args; ++k) {
        const char* text = argOf(option, k);
        calibrationArgs[k - 1] = new char[std::strlen(text) + 1];
        std::strcpy(calibrationArgs[k - 1], text);
    }
    calibrationArgCount = args - 1;
    return Outcome::applied;
}

// "trackerorder" ID ...: the output numbers of the trackers; an input connector fixes them.
CTraCommonH::Outcome CTraCommonH::parseTrackerOrder(const ConfigOption& option) {
    if (inputConnector) {
        return reportFault("", "Can not change the order on input connector at line ", option);
    }
    const std::uint32_t count = argCount(option) < numTrackers ? argCount(option) : numTrackers;
    std::uint32_t named[maxOptionArgs] = {};
    for (std::uint32_t k = 0; k < count; ++k) {
        named[k] = parseUnsigned(argOf(option, k));
        if (named[k] < 1 || named[k] > trackerCount) {
            return reportFault(invalidTracker, "Order at line ", option);
        }
    }
    for (std::uint32_t i = 0; i < trackerCount; ++i) {
        trackers[i].order = 0;
    }
    for (std::uint32_t k = 0; k < count; ++k) {
        trackers[named[k] - 1].order = k + 1;
    }
    return Outcome::applied;
}

// "cavecoord" yes|on|no|off, read only on an input connector.
CTraCommonH::Outcome CTraCommonH::parseCaveCoordinates(const ConfigOption& option) {
    if (!inputConnector) {
        return Outcome::notMine;
    }
    const char* label = "CAVECoord at line ";
    if (argCount(option) == 0) {
        return reportFault(incomplete, label, option);
    }
    if (argCount(option) > 1) {
        return reportFault(tooMany, label, option);
    }
    const char* word = argOf(option, 0);
    if (compareNoCase(word, "yes") == 0 || compareNoCase(word, "on") == 0) {
        caveCoordinates = true;
    } else if (compareNoCase(word, "no") == 0 || compareNoCase(word, "off") == 0) {
        caveCoordinates = false;
    } else {
        return reportFault(invalidString, label, option);
    }
    return Outcome::applied;
}

CTraCommonH::Outcome CTraCommonH::reportFault(const char* problem, const char* label,
                                              const ConfigOption& option) const {
    reportOptionError(*logger, "", problem, label, option.lineNumber);
    return Outcome::faulty;
}
