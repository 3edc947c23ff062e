#include "config/config_checker.h"

#include <iostream>

#include "config/config_input.h"

bool CConfigH::reportUnused(const DeviceConfig* config, const CLogH& logger) {
    if (config == nullptr) {
        return true;
    }
    bool result = true;
    for (std::uint32_t i = 0; i < optionCount(*config); ++i) {
        const ConfigOption& option = config->options[i];
        if (option.used == 0) {
            logger.error("CConfigH: Unknown option \"", false);
            std::cout << keywordOf(option) << "\" found at line " << option.lineNumber << "."
                      << std::endl;
            result = false;
        }
    }
    return result;
}
