#pragma once
// Reading back the records the module published, word by word as they lie in the storages.

#include <cstddef>
#include <cstdint>
#include <string>

#include "controller/con_data.h"
#include "tracker/tra_data.h"

// The tracker record decoded: its network-order words, the pose in × 100000 fixed point
// (X, Y, Z, Azim, Elev, Roll).
struct TrackerSample {
    static constexpr unsigned poseDecimals = 5;

    static TrackerSample fromRecord(const TraData& record);

    std::uint32_t id;
    std::uint32_t timeSec;
    std::uint32_t timeUsec;
    std::int32_t pose[6];
};

// Controller values in × 1000 fixed point.
constexpr unsigned valuatorDecimals = 3;

// The record's own counts, kept to the room it has.
std::uint32_t valuatorCount(const ConData& record);
std::uint32_t buttonCount(const ConData& record);
// Valuator and button numbers count from 1.
std::int32_t valuatorValue(const ConData& record, std::uint32_t valuator);
bool buttonOn(const ConData& record, std::uint32_t button);

// A fixed-point value as an exact decimal text: (-1500, 3) is "-1.500".
std::string decimalText(std::int64_t scaled, unsigned decimals);

// Seconds with the milliseconds the module stamps, or all six digits when there are more.
std::string timeText(std::uint32_t seconds, std::uint32_t microseconds);
