// A stand-in module for tests of the reference host: it exports createDev and deleteDev like the
// real module, takes the storage positions after those already there, and publishes a known
// sample on every cycle, so the host's part can be checked without a box. It says on standard
// output what the host handed it and which operations ran.
//
// Option lines it understands: "tracker" (publish a tracker too); "refuse" (init fails).

#include <cstring>
#include <iostream>

#include "controller/con_data.h"
#include "device/base.h"
#include "device/exports.h"
#include "platform/byte_order.h"
#include "platform/data_storage.h"

namespace {

class ScriptedDevice final : public CBase {
public:
    ScriptedDevice(DeviceConfig* config, const CLogH* hostLogger)
        : CBase(hostLogger), config(config) {}
    ~ScriptedDevice() { say("deleteDev"); }

    std::int32_t init(const InitInfo* info) override {
        std::cout << "scripted: init " << config->deviceName << " with logger " << logger->name
                  << " debug " << logger->debugSetting << std::endl;
        bool refuse = false;
        for (std::uint32_t i = 0; i < config->numOptions; ++i) {
            const ConfigOption& option = config->options[i];
            std::cout << "scripted: line " << option.lineNumber << ": " << option.keyword;
            for (std::uint32_t a = 0; a < option.numArgs; ++a) {
                std::cout << " " << option.args[a];
            }
            std::cout << std::endl;
            refuse = refuse || std::strcmp(option.keyword, "refuse") == 0;
            tracking = tracking || std::strcmp(option.keyword, "tracker") == 0;
        }
        controllers = info->controllerStorage;
        trackers = info->trackerStorage;
        controllers->lock();
        controllerPosition = static_cast<std::uint32_t>(controllers->getNumControllers()) + 1;
        controllers->setNumControllers(controllerPosition);
        controllers->unlock();
        if (tracking) {
            trackers->lock();
            trackerPosition = static_cast<std::uint32_t>(trackers->getNumTrackers()) + 1;
            trackers->setNumTrackers(trackerPosition);
            trackers->unlock();
            dataType = 1;
        } else {
            dataType = 3;
        }
        return refuse ? -1 : 1;
    }
    bool start() override { return say("start"); }
    std::int32_t configure() override { return dataType; }
    bool stop() override { return say("stop"); }
    bool printSettings() override { return true; }
    std::int32_t sendData(std::int32_t, std::int32_t) override { return -1; }

    // Cycle n publishes valuator 1 = n / 2, valuator 2 = -0.25 and button n alone; its tracker
    // stands at x = n, y = -1.5.
    std::int32_t recvData(ChangeMasks* masks, std::int32_t) override {
        ++cycle;
        ConData record{};
        record.reset();
        record.numValuators = toNetwork(8);
        record.numButtons = toNetwork(24);
        record.setId(controllerPosition);
        record.timeSec = toNetwork(1765321234 + cycle);
        record.timeUsec = toNetwork(250000);
        record.setValuator(1, static_cast<float>(cycle) / 2);
        record.setValuator(2, -0.25f);
        record.setButton(cycle, 1);
        controllers->lock();
        *controllers->getController(controllerPosition) = record;
        controllers->unlock();
        masks->controllerMask = toNetwork(1u << (controllerPosition - 1));
        if (tracking) {
            const std::uint32_t words[] = {toNetwork(trackerPosition),
                                           0,
                                           record.timeSec,
                                           record.timeUsec,
                                           0,
                                           toNetworkSigned(100000 * cycle),
                                           toNetworkSigned(-150000)};
            trackers->lock();
            std::memcpy(trackers->getTracker(trackerPosition), words, sizeof words);
            trackers->unlock();
            masks->trackerMask = toNetwork(1u << (trackerPosition - 1));
        }
        return 1;
    }

private:
    static bool say(const char* operation) {
        std::cout << "scripted: " << operation << std::endl;
        return true;
    }

    DeviceConfig* config;
    CDataStorage* controllers = nullptr;
    CDataStorage* trackers = nullptr;
    bool tracking = false;
    std::uint32_t controllerPosition = 0;
    std::uint32_t trackerPosition = 0;
    std::int32_t cycle = 0;
};

}  // namespace

CBase* createDev(DeviceConfig* config, const CLogH* logger) {
    return new ScriptedDevice(config, logger);
}

bool deleteDev(CBase* device) {
    delete static_cast<ScriptedDevice*>(device);
    return true;
}
