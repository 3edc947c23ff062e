#include "controller/con_data.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <ctime>
#include <limits>
#include <vector>

#include "platform/byte_order.h"

namespace {

std::vector<unsigned char> bytesAt(const ConData& record, std::size_t offset, std::size_t count) {
    const auto* raw = reinterpret_cast<const unsigned char*>(&record);
    return {raw + offset, raw + offset + count};
}

ConData deviceRecord() {
    ConData record{};
    record.reset();
    record.numValuators = toNetwork(8);
    record.numButtons = toNetwork(24);
    return record;
}

using Bytes = std::vector<unsigned char>;

TEST(ConData, WordsLieInNetworkOrderAtTheirOffsets) {
    ConData record = deviceRecord();
    ASSERT_TRUE(record.setId(3));
    ASSERT_TRUE(record.setValuator(1, 1.0f));
    ASSERT_TRUE(record.setValuator(8, -1.0f));
    ASSERT_TRUE(record.setButton(1, 1));
    ASSERT_TRUE(record.setButton(9, 1));
    ASSERT_TRUE(record.setButton(24, 1));

    EXPECT_EQ(bytesAt(record, 0, 4), (Bytes{0, 0, 0, 3}));
    EXPECT_EQ(bytesAt(record, 20, 4), (Bytes{0, 0, 0, 8}));
    EXPECT_EQ(bytesAt(record, 24, 4), (Bytes{0, 0, 0, 24}));
    EXPECT_EQ(bytesAt(record, 36, 4), (Bytes{0x00, 0x00, 0x03, 0xE8}));  // 1000
    EXPECT_EQ(bytesAt(record, 64, 4), (Bytes{0xFF, 0xFF, 0xFC, 0x18}));  // -1000
    EXPECT_EQ(bytesAt(record, 164, 4), (Bytes{0x01, 0x01, 0x80, 0x00}));
    std::uint32_t hostOrder = 0;
    std::memcpy(&hostOrder, bytesAt(record, 168, 4).data(), 4);
    EXPECT_EQ(hostOrder, 4u);  // the one word in the machine's own order
}

TEST(ConData, ValuatorsAreTruncatedTowardZeroAndSaturate) {
    struct Case {
        float value;
        std::int32_t stored;
    };
    const Case cases[] = {
        {0.0019f, 1},
        {-0.0019f, -1},
        {2.5f, 2500},
        {-1.5f, -1500},
        {0.0f, 0},
        {1.0e9f, 2147483647},
        {-1.0e9f, INT32_MIN},
        {std::numeric_limits<float>::infinity(), 2147483647},
    };
    for (const Case& c : cases) {
        ConData record = deviceRecord();
        ASSERT_TRUE(record.setValuator(2, c.value));
        const Bytes stored = bytesAt(record, 40, 4);
        const auto raw = static_cast<std::int32_t>((std::uint32_t{stored[0]} << 24) |
                                                   (std::uint32_t{stored[1]} << 16) |
                                                   (std::uint32_t{stored[2]} << 8) | stored[3]);
        EXPECT_EQ(raw, c.stored) << c.value;
    }
    ConData record = deviceRecord();
    record.setValuator(1, -1.5f);
    EXPECT_FLOAT_EQ(record.getValuator(1), -1.5f);
}

TEST(ConData, IndicesOutsideTheCountsAreRefused) {
    ConData record = deviceRecord();
    const ConData before = record;
    EXPECT_FALSE(record.setValuator(0, 1.0f));
    EXPECT_FALSE(record.setValuator(9, 1.0f));
    EXPECT_FALSE(record.setButton(0, 1));
    EXPECT_FALSE(record.setButton(25, 1));
    EXPECT_FALSE(record.setButton(33, 1));
    EXPECT_FALSE(record.setId(0));
    EXPECT_FALSE(record.setId(33));
    EXPECT_EQ(std::memcmp(&record, &before, sizeof record), 0);

    EXPECT_EQ(record.getValuator(9), 0.0f);
    EXPECT_EQ(record.getButton(25), 0);
    EXPECT_TRUE(record.setId(32));
    EXPECT_EQ(bytesAt(record, 0, 4), (Bytes{0, 0, 0, 32}));
}

TEST(ConData, ButtonStatesSetAndClear) {
    ConData record = deviceRecord();
    EXPECT_TRUE(record.setButton(9, 1));
    EXPECT_EQ(bytesAt(record, 165, 1), Bytes{0x01});
    EXPECT_EQ(record.getButton(9), 1);
    EXPECT_TRUE(record.setButton(9, -3));
    EXPECT_EQ(bytesAt(record, 165, 1), Bytes{0x00});
    EXPECT_EQ(record.getButton(9), 0);
}

TEST(ConData, ResetKeepsTheOffsetsAndZeroesTheRest) {
    ConData record = deviceRecord();
    record.valuatorOffset = toNetwork(36);
    record.buttonOffset = toNetwork(68);
    record.setTimeStamp();
    record.setValuator(3, 0.5f);
    record.setButton(2, 1);
    record.setId(5);
    record.reset();
    EXPECT_EQ(bytesAt(record, 28, 8), (Bytes{0, 0, 0, 36, 0, 0, 0, 68}));
    EXPECT_EQ(bytesAt(record, 0, 28), Bytes(28, 0));
    EXPECT_EQ(bytesAt(record, 36, 132), Bytes(132, 0));
    EXPECT_EQ(record.numButtonBytes, 4u);
}

TEST(ConData, TimeStampIsSecondsAndWholeMilliseconds) {
    ConData record = deviceRecord();
    // The clock the record reads: time() may run a tick behind it, past a second's end.
    const std::time_t before =
        std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    record.setTimeStamp();
    const std::time_t after =
        std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    const Bytes sec = bytesAt(record, 8, 4);
    const Bytes usec = bytesAt(record, 12, 4);
    const std::uint32_t seconds = (std::uint32_t{sec[0]} << 24) | (std::uint32_t{sec[1]} << 16) |
                                  (std::uint32_t{sec[2]} << 8) | sec[3];
    const std::uint32_t micros = (std::uint32_t{usec[0]} << 24) | (std::uint32_t{usec[1]} << 16) |
                                 (std::uint32_t{usec[2]} << 8) | usec[3];
    EXPECT_GE(seconds, static_cast<std::uint32_t>(before));
    EXPECT_LE(seconds, static_cast<std::uint32_t>(after));
    EXPECT_EQ(micros % 1000, 0u);
    EXPECT_LT(micros, 1000000u);
    EXPECT_EQ(record.timeBuffer.seconds, static_cast<std::int32_t>(seconds));
    EXPECT_EQ(record.timeBuffer.milliseconds * 1000u, micros);
}

TEST(ConData, SameDataLooksOnlyAtCountsValuatorsAndButtons) {
    const ConData base = [] {
        ConData r = deviceRecord();
        r.setValuator(4, 0.25f);
        r.setButton(17, 1);
        return r;
    }();
    ConData other = base;
    other.setId(9);
    other.setTimeStamp();
    other.timeBuffer.minutesWest = 60;
    other.valuatorOffset = toNetwork(36);
    EXPECT_TRUE(ConData::sameData(base, other));

    other = base;
    other.setButton(17, 0);
    EXPECT_FALSE(ConData::sameData(base, other));
    other = base;
    other.setValuator(4, 0.252f);
    EXPECT_FALSE(ConData::sameData(base, other));
    other = base;
    other.numButtons = toNetwork(16);
    EXPECT_FALSE(ConData::sameData(base, other));
    other = base;
    other.setValuator(4, 0.2509f);  // stores the same 250
    EXPECT_TRUE(ConData::sameData(base, other));
}

}  // namespace
