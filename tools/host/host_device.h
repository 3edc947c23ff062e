#pragma once
// The module and everything the host hands it, laid out as the daemon lays it out: the
// configuration object, the host's logger record, the two storages with their counts and mutexes,
// the init-info and change-mask records. Drives the device through its lifecycle.

#include <cstdint>
#include <string>
#include <vector>

#include "config_builder.h"
#include "config_file.h"
#include "controller/con_data.h"
#include "device/base.h"
#include "device/host_records.h"
#include "host_storage.h"
#include "loaded_module.h"
#include "platform/logger.h"
#include "poll_cycle.h"
#include "published_records.h"

struct HostSetup {
    std::string modulePath;
    std::string deviceName;
    std::vector<OptionLine> optionLines;
    std::int32_t debugSetting;
    std::uint32_t preloadControllers;  // other devices' entries already in the storages
    std::uint32_t preloadTrackers;
};

class HostDevice {
public:
    enum class Opening { ready, notCreated, initFailed };

    // Throws std::runtime_error when the module cannot be loaded.
    explicit HostDevice(const HostSetup& setup);
    ~HostDevice() { close(); }
    HostDevice(const HostDevice&) = delete;
    HostDevice& operator=(const HostDevice&) = delete;

    Opening open();
    std::int32_t configure();  // the data-type code: 3 controller data only, 1 with a tracker
    void start();
    PollCycle poll();
    // Copies taken under the storage's lock, as any other reader of the storage would.
    ConData controller(std::uint32_t position);
    TrackerSample tracker(std::uint32_t position);
    // stop once init has opened the port, then deleteDev; later calls do nothing.
    void close();

private:
    LoadedModule module;
    ConfigBuilder config;
    CLogH logger;
    HostStorage trackers;
    HostStorage controllers;
    InitInfo initInfo{};
    ChangeMasks masks{};
    CBase* device = nullptr;
    bool initialised = false;
};
