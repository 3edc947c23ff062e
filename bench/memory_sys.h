#pragma once
// What the benchmark's in-memory operating-system seam (memory_sys.cpp) offers beside
// platform/sys/sys.h: one serial port with a box behind it, and a count of the calls that would
// have gone to the system.

#include <cstdint>

#include "memory_box.h"

namespace memory_sys {

// The only port name that opens.
constexpr const char* portName = "memory";

CMemoryBox& box();

struct Calls {
    std::uint64_t writes;
    std::uint64_t reads;
    std::uint64_t sleeps;  // a polling cycle's yield among them
};
Calls calls();

}  // namespace memory_sys
