#pragma once
// One tracker sample exactly as it lies in the host's tracker storage: 56 bytes, every word in
// network order, the pose in fixed point (value x 100000).

#include <cstddef>
#include <cstdint>

#include "platform/record_sizes.h"

struct TraData {
    // Every word zero, the reserved ones included, so that nothing unset reaches a storage.
    TraData();

    bool setId(std::uint32_t newId);
    bool setTime(std::uint32_t seconds, std::uint32_t microseconds);

    bool setX(float value) { return setValue(x, value); }
    bool setY(float value) { return setValue(y, value); }
    bool setZ(float value) { return setValue(z, value); }
    bool setAzim(float value) { return setValue(azim, value); }
    bool setElev(float value) { return setValue(elev, value); }
    bool setRoll(float value) { return setValue(roll, value); }
    float getX() const { return valueOf(x); }
    float getY() const { return valueOf(y); }
    float getZ() const { return valueOf(z); }
    float getAzim() const { return valueOf(azim); }
    float getElev() const { return valueOf(elev); }
    float getRoll() const { return valueOf(roll); }
    // The same by axis: 0 to 5 for X, Y, Z, Azim, Elev, Roll.
    bool setAxis(std::size_t axis, float value);
    float getAxis(std::size_t axis) const;

    // Whether the two poses are equal; id, time stamp and reserved bytes do not count.
    static bool sameData(const TraData& a, const TraData& b);

    std::uint32_t id;
    std::uint32_t reserved0;
    std::uint32_t timeSec;
    std::uint32_t timeUsec;
    std::uint32_t reserved1;
    std::uint32_t x;
    std::uint32_t y;
    std::uint32_t z;
    std::uint32_t azim;
    std::uint32_t elev;
    std::uint32_t roll;
    std::uint8_t reserved2[12];

private:
    static bool setValue(std::uint32_t& word, float value);
    static float valueOf(std::uint32_t word);
};

// The six pose words in the order X, Y, Z, Azim, Elev, Roll.
inline constexpr std::uint32_t TraData::*poseWords[] = {
    &TraData::x, &TraData::y, &TraData::z, &TraData::azim, &TraData::elev, &TraData::roll};

static_assert(sizeof(TraData) == trackerRecordSize,
              "TraData is shared with the host byte for byte");
static_assert(offsetof(TraData, id) == 0, "TraData layout");
static_assert(offsetof(TraData, reserved0) == 4, "TraData layout");
static_assert(offsetof(TraData, timeSec) == 8, "TraData layout");
static_assert(offsetof(TraData, timeUsec) == 12, "TraData layout");
static_assert(offsetof(TraData, reserved1) == 16, "TraData layout");
static_assert(offsetof(TraData, x) == 20, "TraData layout");
static_assert(offsetof(TraData, y) == 24, "TraData layout");
static_assert(offsetof(TraData, z) == 28, "TraData layout");
static_assert(offsetof(TraData, azim) == 32, "TraData layout");
static_assert(offsetof(TraData, elev) == 36, "TraData layout");
static_assert(offsetof(TraData, roll) == 40, "TraData layout");
static_assert(offsetof(TraData, reserved2) == 44, "TraData layout");
