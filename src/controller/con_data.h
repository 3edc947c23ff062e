#pragma once
// One controller sample exactly as it lies in the host's controller storage: 184 bytes, every
// word in network order except numButtonBytes.

#include <cstddef>
#include <cstdint>

#include "platform/record_sizes.h"

struct ConData {
    // The clock reading behind the last time stamp, in the C library's ftime form.
    struct TimeBuffer {
        std::int32_t seconds;
        std::uint16_t milliseconds;
        std::int16_t minutesWest;
        std::int16_t daylightSaving;
        std::uint8_t padding[2];
    };

    static constexpr std::uint32_t maxValuators = 32;
    static constexpr std::uint32_t maxButtons = 32;

    void reset();
    bool setTimeStamp();
    bool setId(std::uint32_t newId);
    bool setValuator(std::uint32_t index, float value);
    float getValuator(std::uint32_t index) const;
    bool setButton(std::uint32_t index, int state);
    int getButton(std::uint32_t index) const;
    static bool sameData(const ConData& a, const ConData& b);

    std::uint32_t id;
    std::uint32_t reserved0;
    std::uint32_t timeSec;
    std::uint32_t timeUsec;
    std::uint32_t reserved1;
    std::uint32_t numValuators;
    std::uint32_t numButtons;
    std::uint32_t valuatorOffset;
    std::uint32_t buttonOffset;
    std::uint32_t valuators[maxValuators];
    std::uint8_t buttonBits[4];
    std::uint32_t numButtonBytes;
    TimeBuffer timeBuffer;

private:
    bool buttonInRange(std::uint32_t index) const;
    std::uint32_t valuatorCount() const;
};

static_assert(sizeof(ConData) == controllerRecordSize,
              "ConData is shared with the host byte for byte");
static_assert(offsetof(ConData, timeSec) == 8, "ConData layout");
static_assert(offsetof(ConData, numValuators) == 20, "ConData layout");
static_assert(offsetof(ConData, numButtons) == 24, "ConData layout");
static_assert(offsetof(ConData, valuatorOffset) == 28, "ConData layout");
static_assert(offsetof(ConData, buttonOffset) == 32, "ConData layout");
static_assert(offsetof(ConData, valuators) == 36, "ConData layout");
static_assert(offsetof(ConData, buttonBits) == 164, "ConData layout");
static_assert(offsetof(ConData, numButtonBytes) == 168, "ConData layout");
static_assert(offsetof(ConData, timeBuffer) == 172, "ConData layout");
