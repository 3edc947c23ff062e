// Tracker emulation: six published valuators are the rates of a tracker's X, Y, Z, Azim, Elev
// and Roll, integrated over time into a tracker record; a button snaps it back to where it began.

#include <algorithm>
#include <cstdio>
#include <iterator>

#include "config/config_input.h"
#include "controller/con_common.h"
#include "platform/byte_order.h"

namespace {

double secondsOf(const sys::ClockReading& reading) {
    return reading.seconds + reading.milliseconds * 0.001;
}

}  // namespace

bool CConCommonH::setEmulation(std::uint32_t index, std::uint32_t trackerId,
                               const float initValues[6], const std::uint32_t valuatorIds[6],
                               std::uint32_t resetButton) {
    if (controllers == nullptr || index < 1 || index > numControllers) {
        return false;
    }
    ControllerEntry& entry = controllers[index - 1];
    if (entry.emulation == nullptr) {
        entry.emulation = new TrackerEmulation;
    }
    TrackerEmulation& emulation = *entry.emulation;
    emulation.trackerId = trackerId;
    std::copy(initValues, initValues + TrackerEmulation::axisCount, emulation.initValues);
    std::copy(valuatorIds, valuatorIds + TrackerEmulation::axisCount, emulation.valuatorIds);
    emulation.resetButton = resetButton;
    emulation.lastTime = 0.0;
    return true;
}

std::uint32_t CConCommonH::numberEmulatedTrackers(std::uint32_t first) {
    if (first == 0) {
        return 0;
    }
    std::uint32_t numbered = 0;
    for (std::uint32_t i = 0; i < numControllers; ++i) {
        if (controllers[i].emulation != nullptr) {
            controllers[i].emulation->trackerId = first + numbered;
            ++numbered;
        }
    }
    return numbered;
}

TrackerEmulation* CConCommonH::emulationOf(std::uint32_t index) const {
    const ControllerEntry* entry = controller(index);
    return entry != nullptr ? entry->emulation : nullptr;
}

bool CConCommonH::resetEmulatedTracker(std::uint32_t index, TraData* tracker,
                                       const ConData* sample) const {
    const TrackerEmulation* emulation = emulationOf(index);
    if (tracker == nullptr || emulation == nullptr) {
        return false;
    }
    if (sample != nullptr) {
        tracker->setTime(fromNetwork(sample->timeSec), fromNetwork(sample->timeUsec));
    }
    tracker->setId(emulation->trackerId);  // refused until the trackers are numbered
    for (std::size_t a = 0; a < TrackerEmulation::axisCount; ++a) {
        tracker->setAxis(a, emulation->initValues[a]);
    }
    return true;
}

bool CConCommonH::emulateTracker(std::uint32_t index, TraData* tracker, const ConData* sample) {
    TrackerEmulation* emulation = emulationOf(index);
    if (tracker == nullptr || sample == nullptr || emulation == nullptr) {
        return false;
    }
    if (emulation->resetButton != 0 && sample->getButton(emulation->resetButton) == 1) {
        return resetEmulatedTracker(index, tracker, sample);
    }
    tracker->setTime(fromNetwork(sample->timeSec), fromNetwork(sample->timeUsec));
    tracker->setId(emulation->trackerId);
    const double now = secondsOf(readClock());
    if (emulation->lastTime == 0.0) {
        emulation->lastTime = now;
        return resetEmulatedTracker(index, tracker, sample);
    }
    timeStep = now - emulation->lastTime;
    emulation->lastTime = now;
    for (std::size_t a = 0; a < TrackerEmulation::axisCount; ++a) {
        // getValuator reads 0 for valuator 0 and beyond the record's count: an axis not driven.
        const float rate = sample->getValuator(emulation->valuatorIds[a]);
        const auto increment = static_cast<float>(rate * timeStep);
        tracker->setAxis(a, tracker->getAxis(a) + increment);
    }
    return true;
}

void CConCommonH::restartEmulationClocks() {
    const double now = secondsOf(readClock());
    for (std::uint32_t i = 0; i < numControllers; ++i) {
        TrackerEmulation* emulation = controllers[i].emulation;
        if (emulation != nullptr && emulation->lastTime != 0.0) {
            emulation->lastTime = now;
        }
    }
}

// "emulatetracker": controller, initial values, the six valuators for X to Roll, and an optional
// reset button.
bool CConCommonH::parseEmulation(const ConfigOption& option) {
    const std::uint32_t args = argCount(option);
    const char* incomplete = "Incomplete option line found for ";
    const char* label = "EmulateTracker at line ";
    const char* optionLabel = "EmulateTracker option at line ";
    if (args == 0) {
        reportRejected(incomplete, label, option);
        return false;
    }
    const ControllerEntry* entry = controllerNamedBy(argOf(option, 0));
    if (entry == nullptr) {
        reportRejected("Invalid controller ID found for ", optionLabel, option);
        return false;
    }
    if (args < 2) {
        reportRejected(incomplete, label, option);
        return false;
    }
    float initValues[TrackerEmulation::axisCount] = {};
    const char* values = argOf(option, 1);
    if (values[0] == '[') {
        std::sscanf(values, "[%f,%f,%f,%f,%f,%f]", &initValues[0], &initValues[1], &initValues[2],
                    &initValues[3], &initValues[4], &initValues[5]);
    }
    if (args < 8) {
        reportRejected(incomplete, label, option);
        return false;
    }
    if (args > 9) {
        reportRejected("Too many args found for ", label, option);
        return false;
    }
    std::uint32_t valuatorIds[TrackerEmulation::axisCount] = {};
    for (std::size_t a = 0; a < TrackerEmulation::axisCount; ++a) {
        valuatorIds[a] = parseUnsigned(argOf(option, 2 + a));
        if (valuatorIds[a] > entry->numValuators || valuatorIds[a] > ControllerEntry::maxChannels) {
            reportRejected("Invalid valuator ID found for ", optionLabel, option);
            return false;
        }
    }
    std::uint32_t resetButton = 0;
    if (args == 9) {
        resetButton = parseUnsigned(argOf(option, 8));
        if (resetButton < 1 || resetButton > entry->numButtons ||
            resetButton > ControllerEntry::maxChannels) {
            reportOptionError(*logger, "", "Invalid button ID found for ", optionLabel,
                              option.lineNumber, ". Ignored.");
            return false;
        }
    }
    return setEmulation(static_cast<std::uint32_t>(entry - controllers + 1), 0, initValues,
                        valuatorIds, resetButton);
}
