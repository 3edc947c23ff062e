#include "host_device.h"

#include "platform/byte_order.h"

namespace {
CLogH hostLogger(std::int32_t debugSetting) {
    CLogH logger;
    logger.setName("pendax-host");
    logger.debugSetting = debugSetting;
    return logger;
}
}  // namespace

HostDevice::HostDevice(const HostSetup& setup)
    : module(setup.modulePath.c_str()),
      config(setup.deviceName),
      logger(hostLogger(setup.debugSetting)),
      trackers(HostStorage::Kind::trackers, logger,
               static_cast<std::int32_t>(setup.preloadTrackers)),
      controllers(HostStorage::Kind::controllers, logger,
                  static_cast<std::int32_t>(setup.preloadControllers)) {
    for (const OptionLine& line : setup.optionLines) {
        config.add(line.lineNumber, line.words);
    }
    initInfo.trackerStorage = trackers.get();
    initInfo.controllerStorage = controllers.get();
}

HostDevice::Opening HostDevice::open() {
    device = module.createDev(config.get(), &logger);
    if (device == nullptr) {
        return Opening::notCreated;
    }
    initialised = device->init(&initInfo) == 1;
    return initialised ? Opening::ready : Opening::initFailed;
}

std::int32_t HostDevice::configure() {
    return device->configure();
}

void HostDevice::start() {
    device->start();
}

PollCycle HostDevice::poll() {
    // The module leaves the mask of a kind it does not publish as it finds it.
    masks = ChangeMasks{};
    const std::int32_t result = device->recvData(&masks, 0);
    return {result, fromNetwork(masks.trackerMask), fromNetwork(masks.controllerMask)};
}

ConData HostDevice::controller(std::uint32_t position) {
    controllers.get()->lock();
    const ConData record = controllers.controllerRecord(position);
    controllers.get()->unlock();
    return record;
}

TrackerSample HostDevice::tracker(std::uint32_t position) {
    trackers.get()->lock();
    const TrackerSample sample = TrackerSample::fromRecord(trackers.trackerRecord(position));
    trackers.get()->unlock();
    return sample;
}

void HostDevice::close() {
    if (device == nullptr) {
        return;
    }
    if (initialised) {
        device->stop();
    }
    module.deleteDev(device);
    device = nullptr;
}
