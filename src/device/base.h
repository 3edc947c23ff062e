#pragma once
// The device interface the host drives: seven operations in a fixed slot order. The host never
// destroys a device through this interface (deleteDev does), so it has no virtual destructor.

#include <cstdint>

#include "device/host_records.h"
#include "platform/logger.h"

class CBase {
public:
    virtual std::int32_t init(const InitInfo* info) = 0;
    virtual bool start() = 0;
    virtual std::int32_t configure() = 0;
    virtual bool stop() = 0;
    virtual bool printSettings() = 0;
    virtual std::int32_t recvData(ChangeMasks* masks, std::int32_t unused) = 0;
    virtual std::int32_t sendData(std::int32_t first, std::int32_t second) = 0;

    CBase(const CBase&) = delete;
    CBase& operator=(const CBase&) = delete;

protected:
    explicit CBase(const CLogH* hostLogger);
    ~CBase();

    std::int32_t reserved;
    bool ownsLogger;
    CLogH* logger;
    bool inputConnector;
    std::int32_t dataType;
};
