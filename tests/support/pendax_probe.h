#pragma once
// A test's way into a CPendax's box dialogue and box state, which the host never sees.

#include <cstdint>

#include "device/pendax.h"

class CPendaxProbe {
public:
    explicit CPendaxProbe(CPendax& device) : device(device) {}

    CRS232H& port() { return *device.serialPort; }
    BoxState& box() { return device.boxState; }
    DecodedPacket& decoded() { return device.decoded; }

    std::int32_t identify() { return device.identify(); }
    std::int32_t setupBox() { return device.setupBox(); }
    std::int32_t decodePacket(const char* packet) { return device.decodePacket(packet); }

private:
    CPendax& device;
};
