#pragma once
// How long each polling cycle took: counted in a histogram of 32 steps to each doubling of time
// (each within about 1 % of the cycles it holds), so that a run of days takes no more memory than
// one of seconds, with the largest time kept exactly.

#include <array>
#include <chrono>
#include <cstdint>

class CycleTimes {
public:
    void add(std::chrono::nanoseconds time);

    std::uint64_t count() const { return cycles; }
    // The time within which the given share of the cycles ended (0.5 the median, 0.99 the 99th
    // percentile), in milliseconds; 0 before any cycle.
    double quantileMs(double share) const;
    double largestMs() const { return static_cast<double>(largest.count()) / 1e6; }

private:
    static constexpr int stepsPerDoubling = 32;
    // From 1 µs (anything shorter counts as 1 µs) to 2^40 µs, about twelve days.
    static constexpr std::size_t bucketCount = 40 * stepsPerDoubling + 1;

    std::array<std::uint64_t, bucketCount> buckets{};
    std::uint64_t cycles = 0;
    std::chrono::nanoseconds largest{0};
};
