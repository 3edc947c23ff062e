#pragma once
// The module's two exported entry points, by their undecorated names.

#include "device/base.h"
#include "device/device_config.h"

extern "C" {
PENDAX_EXPORT CBase* createDev(DeviceConfig* config, const CLogH* logger);
PENDAX_EXPORT bool deleteDev(CBase* device);
}
