#pragma once
// The configuration object the host builds from the option lines of this device: one entry per
// line, split into keyword and arguments. The module reads it and sets only the used flags.

#include <cstddef>
#include <cstdint>

constexpr std::uint32_t maxOptions = 32;
constexpr std::uint32_t maxOptionArgs = 64;

struct ConfigOption {
    std::uint32_t lineNumber;
    const char* keyword;
    const char* args[maxOptionArgs];
    std::uint32_t numArgs;
    std::uint8_t used;
    std::uint8_t reserved[3];
};

struct DeviceConfig {
    std::uint32_t reserved0;
    const char* deviceName;
    std::uint8_t reserved1[268];
    ConfigOption options[maxOptions];
    std::uint32_t numOptions;
};

// The daemon's 32-bit layout; wider builds widen the pointers and share this header.
static_assert(sizeof(void*) != 4 || sizeof(ConfigOption) == 272, "option entry layout");
static_assert(sizeof(void*) != 4 || offsetof(ConfigOption, numArgs) == 264, "option entry layout");
static_assert(sizeof(void*) != 4 || offsetof(ConfigOption, used) == 268, "option entry layout");
static_assert(sizeof(void*) != 4 || offsetof(DeviceConfig, options) == 276, "config layout");
static_assert(sizeof(void*) != 4 || offsetof(DeviceConfig, numOptions) == 8980, "config layout");
