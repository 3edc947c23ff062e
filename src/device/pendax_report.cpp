// The device's settings report.

#include <iostream>

#include "controller/con_common.h"
#include "device/pendax.h"
#include "tracker/tra_common.h"

namespace {
const char* orEmpty(const char* text) {
    return text != nullptr ? text : "";
}
}  // namespace

bool CPendax::printSettings() {
    logger->info("DEVICE NAME           : ", false);
    std::cout << orEmpty(deviceName) << std::endl;
    logger->info("DEVICE TYPE           : Pendax(tm)", true);
    logger->info("VERSION               : ", false);
    std::cout << "5.5" << std::endl;
    logger->info("DATA TYPE             : Controller", true);
    logger->info("SERIAL PORT           : ", false);
    std::cout << orEmpty(serialPortName) << std::endl;
    logger->info("BAUD RATE             : ", false);
    std::cout << baudRate << std::endl;
    logger->info("NUMBER OF DEVICES     : 1", true);
    logger->info("NUMBER OF CONTROLLERS : ", false);
    std::cout << (conCommon != nullptr ? conCommon->numOutputControllers : 0u) << std::endl;
    if (conCommon != nullptr) {
        conCommon->printControllerSettings();
    }
    if (traCommon != nullptr) {
        traCommon->printTrackerSettings(true);
    }
    logger->info("-----------------------", true);
    std::cout.flush();
    return true;
}
