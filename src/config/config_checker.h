#pragma once

#include "config/device_config.h"
#include "platform/logger.h"

// Finds the option lines that no handler consumed.
class CConfigH {
public:
    // Reports every unused line; true when there was none.
    static bool reportUnused(const DeviceConfig* config, const CLogH& logger);
};
