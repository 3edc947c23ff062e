#pragma once
// The Pendax device: reads the box over its serial line and publishes its inputs to the host.

#include <cstdint>

#include "config/device_config.h"
#include "controller/con_data.h"
#include "device/base.h"
#include "platform/serial_port.h"
#include "protocol/box_state.h"
#include "protocol/decoded_packet.h"
#include "tracker/tra_data.h"

class CConCommonH;
class CTraCommonH;

class CPendax final : public CBase {
public:
    CPendax(DeviceConfig* config, const CLogH* hostLogger);
    ~CPendax();

    std::int32_t init(const InitInfo* info) override;
    bool start() override;
    std::int32_t configure() override;
    bool stop() override;
    bool printSettings() override;
    std::int32_t recvData(ChangeMasks* masks, std::int32_t unused) override;
    std::int32_t sendData(std::int32_t first, std::int32_t second) override;

private:
    // Tests reach the box dialogue and the box state through this class.
    friend class CPendaxProbe;

    bool readDeviceOptions();
    // Opens the port by its name and gives it the device's line settings and time-outs.
    bool openAndSetUpPort();
    void applyLineSettings();

    void drainInput();
    void buildControllerSample();
    bool publishController(ChangeMasks* masks);

    // The emulated tracker: its slot in the tracker storage, taken during init, and each cycle's
    // step and publication. False on failure, each one logged where it is found.
    bool registerEmulatedTracker();
    bool publishTracker(ChangeMasks* masks);

    // A line that went away: cycles fail at a steady pace, and about every two seconds the port
    // is opened again and the box identified and set up afresh, until it answers.
    bool portFailed() const;
    std::int32_t failedCycle();
    std::int32_t recoverLine();
    bool reopenLine();

    // The box dialogue. Negative results are failures, each one logged where it is found.
    std::int32_t identify();
    std::int32_t setupBox();
    std::int32_t readSetupReply();
    std::int32_t checkChannelSetup();
    void countChannels();
    std::int32_t decodePacket(const char* packet);

    // The channels the device always asks for: all analog and all digital inputs.
    void setBoxStateDefaults();

    // Transfers that a device without a port (init failed or never ran) answers with 0 bytes.
    std::uint32_t writeToBox(const void* data, std::uint32_t count);
    std::uint32_t readFromBox(void* buffer, std::uint32_t count);

    CRS232H* serialPort;
    char* deviceName;
    char* serialPortName;
    std::int32_t baudRate;
    InitInfo initInfo;
    TraData* trackerEntry;
    TraData lastTracker;
    TraData newTracker;
    ConData* controllerEntry;
    ConData lastController;
    ConData newController;
    std::int32_t numControllers;
    BoxState boxState;
    DecodedPacket decoded;
    char rxBuffer[256];
    DeviceConfig* config;
    CTraCommonH* traCommon;
    CConCommonH* conCommon;
    std::int32_t numEmulatedTrackers;
    bool lineLost;
    bool stopped;
    bool republish;  // the next good sample is published even when unchanged
    std::uint64_t nextReopenMs;
};
