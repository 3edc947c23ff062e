#pragma once
// The Pendax device: reads the box over its serial line and publishes its inputs to the host.

#include <cstdint>

#include "device/base.h"
#include "device/device_config.h"
#include "platform/serial_port.h"

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
    CRS232H* serialPort;
    char* deviceName;
    char* serialPortName;
    std::int32_t baudRate;
    InitInfo initInfo;
    DeviceConfig* config;
};
