#pragma once
// The yardstick of a polling cycle over a pseudo-terminal: the device's request and packet with
// nothing around them but the system calls they need.

#include <cstddef>
#include <string>

class CBarePtyLoop {
public:
    // Opens the port raw and non-blocking.
    CBarePtyLoop(const std::string& port, std::size_t packetLength);
    ~CBarePtyLoop();
    CBarePtyLoop(const CBarePtyLoop&) = delete;
    CBarePtyLoop& operator=(const CBarePtyLoop&) = delete;

    bool ready() const { return fd >= 0; }

    // Writes "o" and reads until the whole packet is in. False on a failed call, or when the box
    // falls silent for a second.
    bool cycle();

private:
    int fd;
    std::size_t length;
    char packet[256];
};
