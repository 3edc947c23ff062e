// The controller options: "valuatororder", "buttonorder", "valuatorscale" and the controller
// order. A rejected line changes nothing, is left unused and fails the parse at the end.

#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "config/config_input.h"
#include "controller/con_common.h"

bool CConCommonH::parseOptions(DeviceConfig* config) {
    if (controllers == nullptr) {
        logger->error("CConCommonH: lookup Null", true);
        return false;
    }
    if (config == nullptr) {
        logger->error("CConCommonH: config empty", true);
        return false;
    }
    bool failed = false;
    for (std::uint32_t i = 0; i < optionCount(*config); ++i) {
        ConfigOption& option = config->options[i];
        bool applied = false;
        if (isKeyword(option, "valuatororder")) {
            applied = parseChannelOrder(option, true);
        } else if (isKeyword(option, "buttonorder")) {
            applied = parseChannelOrder(option, false);
        } else if (isKeyword(option, "valuatorscale")) {
            applied = parseValuatorScale(option);
        } else if (isKeyword(option, "emulatetracker")) {
            applied = parseEmulation(option);
        } else if (isKeyword(option, "controllerorder") || isKeyword(option, "unitorder") ||
                   isKeyword(option, "order")) {
            if (inputConnector) {
                continue;  // the connector fixes the unit order; the line is someone else's
            }
            applied = parseControllerOrder(option);
        } else {
            continue;
        }
        if (applied) {
            option.used = 1;
        } else {
            failed = true;
        }
    }
    return !failed;
}

ControllerEntry* CConCommonH::controllerNamedBy(const char* text) {
    const std::uint32_t index = parseUnsigned(text);
    return index >= 1 && index <= numControllers ? &controllers[index - 1] : nullptr;
}

bool CConCommonH::parseChannelOrder(const ConfigOption& option, bool valuators) {
    const std::uint32_t args = argCount(option);
    if (args == 0) {
        reportRejected("Incomplete option line found for ", "Order at line ", option);
        return false;
    }
    ControllerEntry* entry = controllerNamedBy(argOf(option, 0));
    if (entry == nullptr) {
        reportRejected("Invalid controller ID found for ", "Order option at line ", option);
        return false;
    }
    std::uint32_t& count = valuators ? entry->numValuators : entry->numButtons;
    std::uint32_t* map = valuators ? entry->valuatorOrder : entry->buttonOrder;
    const std::uint32_t limit = limitToCounts ? count : ControllerEntry::maxChannels;

    std::uint32_t real[maxOptionArgs] = {};  // [output position] = real channel, 0 = empty
    std::uint32_t highest = 0;
    for (std::uint32_t p = 1; p < args; ++p) {
        const char* text = argOf(option, p);
        real[p] = parseUnsigned(text);
        if (real[p] == 0 && startsWithLetter(text)) {
            reportRejected("Invalid arg found for ", "Order at line ", option);
            return false;
        }
        highest = std::max(highest, real[p]);
        for (std::uint32_t later = p + 1; real[p] != 0 && later < args; ++later) {
            if (parseUnsigned(argOf(option, later)) == real[p]) {
                reportRejected("Same ID found more than once in ", "Order option at line ", option);
                return false;
            }
        }
    }
    if (highest > limit) {
        reportRejected("Invalid ID found in ", "Order option at line ", option);
        return false;
    }
    count = highest;
    std::fill(map, map + ControllerEntry::maxChannels, 0u);
    for (std::uint32_t p = 1; p < args; ++p) {
        if (real[p] != 0) {
            map[real[p] - 1] = p;
        }
    }
    return true;
}

bool CConCommonH::parseValuatorScale(const ConfigOption& option) {
    const std::uint32_t args = argCount(option);
    if (args == 0) {
        reportRejected("Incomplete option line found for ", "ValuatorScale at line ", option);
        return false;
    }
    ControllerEntry* entry = controllerNamedBy(argOf(option, 0));
    if (entry == nullptr) {
        reportRejected("Invalid controller ID found for ", "ValuatorScale option at line ", option);
        return false;
    }
    if (args < 3) {
        reportRejected("Incomplete option line found for ", "ValuatorScale at line ", option);
        return false;
    }
    float c[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    const char* scale = argOf(option, 1);
    if (scale[0] == '[') {
        std::sscanf(scale, "[%f,%f,%f,%f]", &c[0], &c[1], &c[2], &c[3]);
        if (c[0] == 0.0f && c[1] == 0.0f && c[2] == 0.0f && c[3] == 0.0f) {
            reportRejected("Incomplete option line found for ", "ValuatorScale at line ", option);
            return false;
        }
    } else {
        c[2] = static_cast<float>(std::strtod(scale, nullptr));
        if (c[2] == 0.0f && startsWithLetter(scale)) {
            reportRejected("Invalid arg found for ", "ValuatorScale at line ", option);
            return false;
        }
    }
    bool selected[ControllerEntry::maxChannels] = {};
    for (std::uint32_t a = 2; a < args; ++a) {
        const char* text = argOf(option, a);
        if (compareNoCase(text, "all") == 0) {
            std::fill(std::begin(selected), std::end(selected), true);
            break;
        }
        const std::uint32_t valuator = parseUnsigned(text);
        if (valuator < 1 || valuator > entry->numValuators ||
            valuator > ControllerEntry::maxChannels) {
            reportRejected("Invalid valuator ID found for ", "ValuatorScale option at line ",
                           option);
            return false;
        }
        selected[valuator - 1] = true;
    }
    for (std::uint32_t r = 0; r < ControllerEntry::maxChannels; ++r) {
        if (selected[r]) {
            std::copy(std::begin(c), std::end(c), entry->valuatorScale[r]);
        }
    }
    return true;
}

bool CConCommonH::parseControllerOrder(const ConfigOption& option) {
    const std::uint32_t count = std::min(argCount(option), numOutputControllers);
    ControllerEntry* named[maxOptionArgs] = {};
    for (std::uint32_t p = 0; p < count; ++p) {
        named[p] = controllerNamedBy(argOf(option, p));
        if (named[p] == nullptr) {
            reportRejected("Invalid controller ID found for ", "Order option at line ", option);
            return false;
        }
    }
    for (std::uint32_t i = 0; i < numControllers; ++i) {
        controllers[i].outputId = 0;
    }
    for (std::uint32_t p = 0; p < count; ++p) {
        named[p]->outputId = p + 1;
    }
    return true;
}

void CConCommonH::reportRejected(const char* problem, const char* label,
                                 const ConfigOption& option) const {
    reportOptionError(*logger, "", problem, label, option.lineNumber);
}
