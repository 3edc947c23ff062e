#pragma once
// The module's two exported entry points, by their undecorated names.

#include "config/device_config.h"
#include "device/base.h"

extern "C" {
PENDAX_EXPORT CBase* createDev(DeviceConfig* config, const CLogH* logger);
PENDAX_EXPORT bool deleteDev(CBase* device);
}
