#pragma once
// The Pendax device: reads the box over its serial line and publishes its inputs to the host.

#include <cstdint>

#include "device/base.h"
#include "device/device_config.h"
#include "platform/serial_port.h"
#include "protocol/box_state.h"
#include "protocol/decoded_packet.h"

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
    // Tests reach the box dialogue through this class. Until init opens the port itself, it is
    // also how a test hands the device an opened port (tests/support/pendax_probe.h).
    friend class CPendaxProbe;

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
    BoxState boxState;
    DecodedPacket decoded;
    char rxBuffer[256];
    DeviceConfig* config;
};
