#pragma once
// How the box's channels become the published controller record: per controller its output
// number, the order maps of valuators and buttons and the scale polynomial of every valuator.

#include <cstdint>

#include "config/device_config.h"
#include "platform/logger.h"

struct ControllerEntry {
    static constexpr std::uint32_t maxChannels = 32;

    std::uint32_t outputId;
    std::uint32_t numValuators;
    std::uint32_t numButtons;
    std::uint32_t valuatorOrder[maxChannels];  // [real - 1] = output number, 0 = not published
    std::uint32_t buttonOrder[maxChannels];
    float valuatorScale[maxChannels][4];  // c3, c2, c1, c0
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

    // The entry of a controller numbered from 1; null when there is none.
    const ControllerEntry* controller(std::uint32_t index) const;

    std::uint32_t numControllers;
    bool limitToCounts;
    ControllerEntry* controllers;
    bool inputConnector;
    std::uint32_t numOutputControllers;
    std::uint32_t idOffset;

private:
    bool parseChannelOrder(const ConfigOption& option, bool valuators);
    bool parseValuatorScale(const ConfigOption& option);
    bool parseControllerOrder(const ConfigOption& option);
    ControllerEntry* controllerNamedBy(const char* text);
    void startContinuation(std::uint32_t controllerIndex) const;
    void reportRejected(const char* problem, const char* label, const ConfigOption& option) const;

    CLogH* logger;
    bool ownsLogger;
};
