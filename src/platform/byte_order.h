#pragma once
// Network byte order (most significant byte first) for the words of the shared records,
// whatever the machine's own order.

#include <cstdint>
#include <cstring>

inline std::uint32_t toNetwork(std::uint32_t value) {
    const unsigned char bytes[4] = {
        static_cast<unsigned char>(value >> 24), static_cast<unsigned char>(value >> 16),
        static_cast<unsigned char>(value >> 8), static_cast<unsigned char>(value)};
    std::uint32_t stored = 0;
    std::memcpy(&stored, bytes, sizeof stored);
    return stored;
}

inline std::uint32_t fromNetwork(std::uint32_t stored) {
    unsigned char bytes[4];
    std::memcpy(bytes, &stored, sizeof bytes);
    return (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) |
           (std::uint32_t{bytes[2]} << 8) | std::uint32_t{bytes[3]};
}

inline std::uint32_t toNetworkSigned(std::int32_t value) {
    return toNetwork(static_cast<std::uint32_t>(value));
}

inline std::int32_t fromNetworkSigned(std::uint32_t stored) {
    return static_cast<std::int32_t>(fromNetwork(stored));
}
