#pragma once
// What the scripted operating-system seam (scripted_sys.cpp) offers beside platform/sys/sys.h:
// one serial port whose box a test or a fuzz target plays byte by byte, behind a clock that moves
// only while the device waits. Reads keep the Win32 time-out rules on that clock, so every wait
// of the device is measured exactly and costs no real time.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace scripted_sys {

// The only port name that opens.
constexpr const char* portName = "scripted";

// Hears each write of the device, as one text; answers by putting bytes on the line with send().
using Box = std::function<void(const std::string& written)>;

// Starts afresh: port closed, line empty, clock at 0, counts at 0, this box behind the port.
void reset(Box box);

// Puts bytes on the line: the first firstMs after the later of now and the last byte already
// on its way, every further one gapMs after the one before.
void send(const std::string& bytes, std::uint32_t firstMs = 0, std::uint32_t gapMs = 0);

// Milliseconds since reset.
std::uint64_t nowMs();

struct Calls {
    std::uint64_t writes;
    std::uint64_t reads;
    std::uint64_t sleeps;
    std::uint64_t lowLatencyRequests;
};
Calls calls();

// Whether the port turns the low-latency request down, as a pseudo-terminal or a built-in UART
// does; until reset it takes it.
void refuseLowLatency(bool refuse);

// What each read since the device's last write handed over, in order.
const std::vector<std::string>& readsSinceWrite();

}  // namespace scripted_sys
