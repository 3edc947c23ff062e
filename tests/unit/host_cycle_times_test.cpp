#include <gtest/gtest.h>

#include <chrono>

#include "cycle_stats.h"
#include "cycle_times.h"

namespace {

using std::chrono::microseconds;
using std::chrono::milliseconds;

TEST(HostCycleTimes, QuantilesWithinTheHistogramsStepAndTheLargestExactly) {
    CycleTimes times;
    EXPECT_EQ(times.quantileMs(0.5), 0.0);
    for (int ms = 1; ms <= 1000; ++ms) {
        times.add(milliseconds(ms));
    }
    times.add(microseconds(1234567));
    EXPECT_EQ(times.count(), 1001u);
    EXPECT_NEAR(times.quantileMs(0.5), 501.0, 501.0 * 0.012);
    EXPECT_NEAR(times.quantileMs(0.99), 991.0, 991.0 * 0.012);
    EXPECT_DOUBLE_EQ(times.largestMs(), 1234.567);
    EXPECT_LE(times.quantileMs(1.0), times.largestMs());

    CycleTimes tiny;
    tiny.add(std::chrono::nanoseconds(10));  // below the histogram's first step
    EXPECT_GT(tiny.quantileMs(0.5), 0.0);
    EXPECT_LE(tiny.quantileMs(0.5), tiny.largestMs() + 0.001);
}

TEST(HostCycleStats, TheLineLimitFollowsTheConfiguredSpeed) {
    EXPECT_EQ(configuredBaud({}), 19200);
    EXPECT_EQ(configuredBaud({{1, {"BAUD", "9600"}}, {2, {"port", "com1"}}}), 9600);
    EXPECT_EQ(configuredBaud({{1, {"baudrate", "0x9600"}}, {2, {"baud", "115200"}}}), 115200);
    EXPECT_EQ(configuredBaud({{1, {"baud", "9600", "extra"}}}), 19200);  // refused by the module
    CycleTimes times;
    for (int cycle = 0; cycle < 76; ++cycle) {
        times.add(milliseconds(13));
    }
    const CycleStats stats = CycleStats::of(times, 1.0, 19200);
    EXPECT_DOUBLE_EQ(stats.lineLimitPerSecond, 76.8);
    EXPECT_NEAR(stats.shareOfLineLimit, 76 / 76.8, 1e-9);
    EXPECT_NEAR(stats.medianMs, 13.0, 13.0 * 0.012);
}

}  // namespace
