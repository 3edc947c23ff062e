#pragma once
// One RS-232 port: opened by name, its settings kept twice (as found at opening, put back at
// closing; and a working copy the device edits and applies), bytes moved synchronously.

#include <cstdint>

#include "platform/logger.h"
#include "platform/port_attributes.h"
#include "platform/sys/sys.h"

class CRS232H {
public:
    explicit CRS232H(const CLogH* creatorLogger = nullptr);
    ~CRS232H();
    CRS232H(const CRS232H&) = delete;
    CRS232H& operator=(const CRS232H&) = delete;

    bool openPort(const char* name);
    bool closePort();

    bool getAttributes(PortAttributes* out);
    bool setAttributes(const PortAttributes* in);
    bool getWorkingAttributes(PortAttributes* out) const;
    bool setWorkingAttributes(const PortAttributes* in);
    bool setBaudRate(std::int32_t rate);

    std::uint32_t write(const void* data, std::uint32_t count);
    std::uint32_t read(void* buffer, std::uint32_t count);
    // Whether the last write or read failed with a system error; running out of time is none.
    bool transferFailed() const { return lastTransferFailed; }
    // Lets go of a port whose line went away: closes the handle without putting the settings
    // back (there is nothing left to put them on) and without a message.
    void dropHandle();

private:
    void reportSystemError(const char* message) const;

    bool ownsLogger;
    char portName[256];
    sys::Handle portHandle;
    PortAttributes savedAttributes;
    PortAttributes workingAttributes;
    CLogH* logger;
    bool lastTransferFailed;
};
