#pragma once
// How the box's channels become the published controller record: per controller its output
// number, the order maps of valuators and buttons, the scale polynomial of every valuator, and the
// tracker it may drive.

#include <cstddef>
#include <cstdint>

#include "config/device_config.h"
#include "controller/con_data.h"
#include "platform/logger.h"
#include "platform/sys/sys.h"
#include "tracker/tra_data.h"

// A tracker whose X, Y, Z, Azim, Elev and Roll move at the rates of six published valuators.
struct TrackerEmulation {
    static constexpr std::size_t axisCount = 6;

    std::uint32_t trackerId;  // relative number, from 1; 0 until the trackers are numbered
    float initValues[axisCount];
    std::uint32_t valuatorIds[axisCount];  // output valuators; 0 = the axis is not driven
    std::uint32_t resetButton;             // output button; 0 = none
    double lastTime;                       // clock reading of the last step; 0 = not started
};

struct ControllerEntry {
    static constexpr std::uint32_t maxChannels = 32;

    std::uint32_t outputId;
    std::uint32_t numValuators;
    std::uint32_t numButtons;
    std::uint32_t valuatorOrder[maxChannels];  // [real - 1] = output number, 0 = not published
    std::uint32_t buttonOrder[maxChannels];
    float valuatorScale[maxChannels][4];  // c3, c2, c1, c0
    TrackerEmulation* emulation;          // owned; null when the controller drives no tracker
};

class CConCommonH {
public:
    explicit CConCommonH(const CLogH* creatorLogger);
    ~CConCommonH();
    CConCommonH(const CConCommonH&) = delete;
    CConCommonH& operator=(const CConCommonH&) = delete;

    bool setControllerCount(std::uint32_t count, bool limitOrdersToCounts);
    bool setController(std::uint32_t index, std::uint32_t outputId, std::uint32_t valuatorCount,
                       std::uint32_t buttonCount);
    bool clear();
    bool parseOptions(DeviceConfig* config);
    float scaleValuator(std::uint32_t controller, std::uint32_t valuator, float x) const;
    bool printControllerSettings() const;

    bool setEmulation(std::uint32_t index, std::uint32_t trackerId, const float initValues[6],
                      const std::uint32_t valuatorIds[6], std::uint32_t resetButton);
    // Numbers the emulated trackers from first on, in controller order; how many there are.
    std::uint32_t numberEmulatedTrackers(std::uint32_t first);
    // The initial values (and, given a sample, its time stamp) into a tracker record.
    bool resetEmulatedTracker(std::uint32_t index, TraData* tracker, const ConData* sample) const;
    // One integration step from the controller sample just built; allocates nothing.
    bool emulateTracker(std::uint32_t index, TraData* tracker, const ConData* sample);
    // The next steps integrate from now on: a time without samples (a lost line) moves no tracker.
    void restartEmulationClocks();

    // The entry of a controller numbered from 1; null when there is none.
    const ControllerEntry* controller(std::uint32_t index) const;

    std::uint32_t numControllers;
    bool limitToCounts;
    ControllerEntry* controllers;
    bool inputConnector;
    std::uint32_t numOutputControllers;
    std::uint32_t idOffset;
    double timeStep;  // seconds between the last two emulation steps
    // The seam's clock; tests put in their own.
    sys::ClockReading (*readClock)();

private:
    bool parseChannelOrder(const ConfigOption& option, bool valuators);
    bool parseValuatorScale(const ConfigOption& option);
    bool parseControllerOrder(const ConfigOption& option);
    bool parseEmulation(const ConfigOption& option);
    TrackerEmulation* emulationOf(std::uint32_t index) const;
    ControllerEntry* controllerNamedBy(const char* text);
    void startContinuation(std::uint32_t controllerIndex) const;
    void printEmulation(std::uint32_t controllerIndex, const TrackerEmulation& emulation) const;
    void reportRejected(const char* problem, const char* label, const ConfigOption& option) const;

    CLogH* logger;
    bool ownsLogger;
};
