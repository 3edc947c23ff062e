#include "device/exports.h"

#include <new>

#include "device/pendax.h"

CBase* createDev(DeviceConfig* config, const CLogH* logger) {
    return new (std::nothrow) CPendax(config, logger);
}

bool deleteDev(CBase* device) {
    if (device == nullptr) {
        return false;
    }
    delete static_cast<CPendax*>(device);
    return true;
}
