#pragma once
// Conversion of a real value to the storages' fixed point: value x factor, truncated toward zero.

#include <cmath>
#include <cstdint>
#include <limits>

// Values beyond the 32-bit range stay at the nearest limit instead of wrapping; a value that is
// not a number is stored as 0.
inline std::int32_t toFixedPoint(double scaled) {
    if (std::isnan(scaled)) {
        return 0;
    }
    if (scaled >= 2147483647.0) {
        return std::numeric_limits<std::int32_t>::max();
    }
    if (scaled <= -2147483648.0) {
        return std::numeric_limits<std::int32_t>::min();
    }
    return static_cast<std::int32_t>(scaled);
}
