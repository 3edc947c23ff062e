#pragma once
// A test's way into a CPendax's box dialogue and box state. Until the device's init opens its
// port, attachPort does what init will do for the dialogue: open the port with init's line
// settings and time-outs, and set init's box-state defaults.

#include <cstdint>

#include "device/pendax.h"

class CPendaxProbe {
public:
    explicit CPendaxProbe(CPendax& device) : device(device) {}

    bool attachPort(const char* path, std::int32_t baud = 19200) {
        auto* port = new CRS232H(device.logger);
        if (!port->openPort(path)) {
            delete port;
            return false;
        }
        PortAttributes attributes{};
        port->getWorkingAttributes(&attributes);
        attributes.dcb.fBinary = 1;
        attributes.dcb.fParity = 0;
        attributes.dcb.fOutxCtsFlow = 0;
        attributes.dcb.fRtsControl = RTS_CONTROL_HANDSHAKE;
        attributes.dcb.ByteSize = 8;
        attributes.dcb.StopBits = ONESTOPBIT;
        // Bounded reads: a silent box ends a read after 100 ms plus two characters' time a byte.
        attributes.timeouts.ReadIntervalTimeout = 100;
        attributes.timeouts.ReadTotalTimeoutConstant = 100;
        attributes.timeouts.ReadTotalTimeoutMultiplier =
            static_cast<DWORD>((20000 + baud - 1) / baud);
        attributes.timeouts.WriteTotalTimeoutMultiplier = 0;
        attributes.timeouts.WriteTotalTimeoutConstant = 0;
        port->setWorkingAttributes(&attributes);
        if (!port->setBaudRate(baud) || !port->setAttributes(nullptr)) {
            delete port;
            return false;
        }
        delete device.serialPort;
        device.serialPort = port;
        device.setBoxStateDefaults();
        return true;
    }

    CRS232H& port() { return *device.serialPort; }
    BoxState& box() { return device.boxState; }
    DecodedPacket& decoded() { return device.decoded; }

    std::int32_t identify() { return device.identify(); }
    std::int32_t setupBox() { return device.setupBox(); }
    std::int32_t decodePacket(const char* packet) { return device.decodePacket(packet); }

private:
    CPendax& device;
};
