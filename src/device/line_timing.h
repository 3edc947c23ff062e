#pragma once
// The read time-outs the device gives its port, and how long bytes take on the box's line.

#include <cstdint>

namespace lineTiming {

// A read ends this long after its last byte, and at the latest this long plus two characters'
// time a byte after it began.
constexpr std::uint32_t readIntervalMs = 100;
constexpr std::uint32_t readTotalConstantMs = 100;

// Time that the given number of characters (10 bits each) take at the line rate, rounded up to
// whole milliseconds; 0 for a rate that is not positive. Exact for any 32-bit rate.
constexpr std::uint32_t charactersMs(std::uint32_t characters, std::int32_t baud) {
    if (baud <= 0) {
        return 0;
    }
    const std::uint64_t bitMilliseconds = std::uint64_t{characters} * 10 * 1000;
    const auto rate = static_cast<std::uint64_t>(baud);
    return static_cast<std::uint32_t>((bitMilliseconds + rate - 1) / rate);
}

}  // namespace lineTiming
