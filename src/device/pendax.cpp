#include "device/pendax.h"

#include "controller/con_common.h"
#include "tracker/tra_common.h"

CPendax::CPendax(DeviceConfig* config, const CLogH* hostLogger)
    : CBase(hostLogger),
      serialPort(nullptr),
      deviceName(nullptr),
      serialPortName(nullptr),
      baudRate(0),
      initInfo{},
      trackerEntry(nullptr),
      lastTracker(),
      newTracker(),
      controllerEntry(nullptr),
      lastController{},
      newController{},
      numControllers(0),
      boxState{},
      decoded{},
      rxBuffer{},
      config(config),
      traCommon(nullptr),
      conCommon(nullptr),
      numEmulatedTrackers(0),
      lineLost(false),
      stopped(false),
      republish(false),
      nextReopenMs(0) {
    lastController.reset();
    newController.reset();
    logger->debug("CPendax: \"constructor\" called.", true);
    if (hostLogger == nullptr) {
        logger->setName("CPendax");
    }
}

CPendax::~CPendax() {
    delete[] deviceName;
    delete[] serialPortName;
    delete traCommon;
    delete conCommon;
    delete serialPort;
    logger->debug("CPendax: \"destructor\" called.", true);
}

bool CPendax::start() {
    logger->debug("CPendax: \"start\" called.", true);
    return true;
}

std::int32_t CPendax::configure() {
    logger->debug("CPendax: \"configure\" called.", true);
    identify();
    setupBox();
    return dataType;
}

bool CPendax::stop() {
    logger->debug("CPendax: \"stop\" called.", true);
    stopped = true;
    lineLost = false;
    if (serialPort != nullptr) {
        serialPort->closePort();
    }
    return true;
}

std::int32_t CPendax::sendData(std::int32_t, std::int32_t) {
    logger->warning("CPendax: Can not send any data.", true);
    return -1;
}
