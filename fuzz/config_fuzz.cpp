// A configuration file from fuzz input, read by the host's parser into the configuration object,
// then through init: the device's, the controller handler's and the tracker handler's option
// reading, the unknown-option report and the settings report. An option may be marked used only
// by a handler that knows its keyword, and init may succeed only when every option was used.

#include <cstdint>
#include <sstream>
#include <string>

#include "config/config_input.h"
#include "config_file.h"
#include "fuzz_check.h"
#include "fuzz_input.h"
#include "quiet_output.h"
#include "scripted_rig.h"

namespace {

constexpr const char* knownKeywords[] = {
    "port",          "serialport",  "baud",          "baudrate",
    "valuatororder", "buttonorder", "valuatorscale", "emulatetracker",
};

bool known(const char* keyword) {
    for (const char* candidate : knownKeywords) {
        if (compareNoCase(keyword, candidate) == 0) {
            return true;
        }
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    silenceStandardOutput();
    return 0;
}

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

    const DeviceConfig& config = *rig.config.get();
    bool allUsed = true;
    for (std::uint32_t i = 0; i < config.numOptions; ++i) {
        const ConfigOption& option = config.options[i];
        fuzzCheck(option.used == 0 || known(option.keyword),
                  "only a handler that knows the keyword uses the option");
        allUsed = allUsed && option.used == 1;
    }
    fuzzCheck(result != 1 || allUsed, "init succeeds only when every option was used");
    if (result == 1) {
        rig.device->printSettings();
    }
    return 0;
}
