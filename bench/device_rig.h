#pragma once
// A Pendax device brought up the way the host brings it up: the host's logger, storages and option
// lines (the port, the line speed and any others given), init on the given port, then the box set
// up. What that prints is kept out of the
// benchmark's output, and shown only when the device could not be brought up.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "config_builder.h"
#include "device/pendax.h"
#include "host_storage.h"
#include "plain_logger.h"
#include "stdout_capture.h"

class DeviceRig {
public:
    using SetUp = std::function<bool(CPendax&)>;

    DeviceRig(const std::string& port, int baud, const SetUp& setUp,
              const std::vector<std::vector<std::string>>& lines = {})
        : config({{"port", port}, {"baud", std::to_string(baud)}}) {
        for (const auto& line : lines) {
            config.add(line);
        }
        device = std::make_unique<CPendax>(config.get(), &log);
        StdoutCapture output;
        const InitInfo info{trackers.get(), controllers.get(), {}};
        ready = device->init(&info) == 1 && setUp(*device);
        failure = ready ? "" : output.text();
    }

    // One polling cycle, as the host runs it.
    std::int32_t poll() { return device->recvData(&masks, 0); }
    // One cycle; whether it published the controller.
    bool published() { return poll() == 1 && masks.controllerMask != 0; }

    bool ready = false;
    std::string failure;  // what the device printed while it failed to come up

private:
    CLogH log = plainLogger("bench");
    HostStorage trackers{HostStorage::Kind::trackers, log};
    HostStorage controllers{HostStorage::Kind::controllers, log};
    ConfigBuilder config;
    std::unique_ptr<CPendax> device;
    ChangeMasks masks{};
};
