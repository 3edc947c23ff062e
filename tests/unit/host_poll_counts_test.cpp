#include <gtest/gtest.h>

#include <chrono>

#include "poll_state.h"

namespace {

TEST(HostPollCounts, AReconnectionIsAPacketAfterFailingForALostLinesTime) {
    using std::chrono::milliseconds;
    const PollCounts::Clock::time_point start{};
    struct Step {
        int atMs;
        std::int32_t result;
        std::uint32_t controllers;
    };
    const Step steps[] = {
        {0, 1, 1},     {100, -1, 0}, {600, -1, 0}, {1150, 0, 0},  // reopened, no packet yet
        {1200, 1, 1},                                             // a lost line found again
        {2000, -1, 0}, {2100, 1, 0},                              // a bad packet: no loss
        {3000, 0, 0},  {5000, 1, 0},                              // a silent box: no loss
    };
    PollCounts counts;
    for (const Step& step : steps) {
        counts.add({step.result, 0, step.controllers}, start + milliseconds(step.atMs));
    }
    EXPECT_EQ(counts.cycles, 9u);
    EXPECT_EQ(counts.published, 2u);
    EXPECT_EQ(counts.unchanged, 2u);
    EXPECT_EQ(counts.empty, 2u);
    EXPECT_EQ(counts.failed, 3u);
    EXPECT_EQ(counts.reconnections, 1u);
}

}  // namespace
