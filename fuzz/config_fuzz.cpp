// A configuration file from fuzz input, read by the host's parser into the configuration object,
// then through init: the device's, the controller handler's and the tracker handler's option
// reading, the unknown-option report and the settings reports. An option may be marked used only
// by a handler that knows its keyword, and init may succeed only when every option was used.

#include <cstdint>
#include <sstream>
#include <string>

#include "config/config_input.h"
#include "config_file.h"
#include "fuzz_check.h"
#include "fuzz_input.h"
#include "scripted_rig.h"
#include "tracker/tra_common.h"

namespace {

constexpr const char* knownKeywords[] = {
    "port",
    "serialport",
    "baud",
    "baudrate",
    "valuatororder",
    "buttonorder",
    "valuatorscale",
    "emulatetracker",
    "transmitteroffset",
    "transmitterrotation",
    "transmitterrotationmatrix",
    "sensoroffset",
    "sensortranslation",
    "sensorrotation",
    "sensorrotationmatrix",
    "calibration",
    "calib",
    "trackerorder",
    "unitorder",
    "order",
    "cavecoord",
    "cavecoordinates",
};

bool known(const char* keyword) {
    for (const char* candidate : knownKeywords) {
        if (compareNoCase(keyword, candidate) == 0) {
            return true;
        }
    }
    return false;
}

void checkUsedFlags(const DeviceConfig& config) {
    for (std::uint32_t i = 0; i < config.numOptions; ++i) {
        const ConfigOption& option = config.options[i];
        fuzzCheck(option.used == 0 || known(option.keyword),
                  "only a handler that knows the keyword uses the option");
    }
}

bool allUsed(const DeviceConfig& config) {
    for (std::uint32_t i = 0; i < config.numOptions; ++i) {
        if (config.options[i].used != 1) {
            return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    std::istringstream file(input.rest());
    const OptionLines parsed = parseOptionLines(file, "fuzz.cfg");
    if (!parsed.ok()) {
        return 0;
    }
    ScriptedRig::Lines lines;
    for (const OptionLine& line : parsed.lines) {
        if (lines.size() + 1 < maxOptions) {  // the rig adds its port line
            lines.push_back(line.words);
        }
    }
    ScriptedRig rig(lines);
    const std::int32_t result = rig.init();
    DeviceConfig& config = *rig.config.get();
    checkUsedFlags(config);
    fuzzCheck(result != 1 || allUsed(config), "init succeeds only when every option was used");
    if (result == 1) {
        rig.device->printSettings();
    }

    // Init reads the tracker options only for an emulated tracker: read them anyway, with the
    // tracker handler set up as init sets it up, and report them.
    CTraCommonH tracker(&rig.log);
    tracker.numTrackers = 1;
    tracker.setTrackerCount(1);
    tracker.initTracker(1, 1, nullptr, nullptr, nullptr);
    if (tracker.parseOptions(&config)) {
        tracker.printTrackerSettings(true);
    }
    checkUsedFlags(config);
    return 0;
}
