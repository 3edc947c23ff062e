#include "tracker/tra_data.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

Bytes bytesAt(const TraData& record, std::size_t offset, std::size_t count = 4) {
    const auto* raw = reinterpret_cast<const unsigned char*>(&record);
    return {raw + offset, raw + offset + count};
}

TEST(TraData, ConstructionZeroesEveryByte) {
    EXPECT_EQ(bytesAt(TraData{}, 0, 56), Bytes(56, 0));
}

TEST(TraData, PoseWordsLieInNetworkOrderTruncatedTowardZero) {
    using Setter = bool (TraData::*)(float);
    struct Case {
        Setter set;
        float value;
        std::size_t offset;
        Bytes stored;
    };
    const Case cases[] = {
        {&TraData::setX, 1.0f, 20, {0x00, 0x01, 0x86, 0xA0}},
        {&TraData::setZ, -1.5f, 28, {0xFF, 0xFD, 0xB6, 0x10}},
        {&TraData::setAzim, 0.123456f, 32, {0x00, 0x00, 0x30, 0x39}},  // 12345, not 12346
        {&TraData::setY, -0.000019f, 24, {0xFF, 0xFF, 0xFF, 0xFF}},    // -1, not -2
        {&TraData::setRoll, 21474.0f, 40, {0x7F, 0xFE, 0xB9, 0x40}},
        // Beyond the 32-bit range the nearest limit is kept instead of a wrapped value.
        {&TraData::setElev, 30000.0f, 36, {0x7F, 0xFF, 0xFF, 0xFF}},
        {&TraData::setElev, -30000.0f, 36, {0x80, 0x00, 0x00, 0x00}},
    };
    for (const Case& c : cases) {
        TraData record;
        EXPECT_TRUE((record.*c.set)(c.value));
        EXPECT_EQ(bytesAt(record, c.offset), c.stored) << c.value;
    }
}

TEST(TraData, ReadingRoundsTheDecodedValueToSinglePrecision) {
    TraData record;
    record.setX(1.0f);
    record.setY(-1.5f);
    record.setZ(30000.0f);
    EXPECT_EQ(record.getX(), 1.0f);
    EXPECT_EQ(record.getY(), -1.5f);
    EXPECT_EQ(record.getZ(), static_cast<float>(2147483647 * static_cast<double>(0.00001f)));
}

TEST(TraData, IdAcceptsOnlyStoragePositions) {
    TraData record;
    ASSERT_TRUE(record.setId(7));
    EXPECT_FALSE(record.setId(0));
    EXPECT_FALSE(record.setId(33));
    EXPECT_EQ(bytesAt(record, 0), (Bytes{0, 0, 0, 7}));
    EXPECT_TRUE(record.setId(32));
    EXPECT_EQ(bytesAt(record, 0), (Bytes{0, 0, 0, 0x20}));
    EXPECT_TRUE(record.setTime(1765321234, 567000));
    EXPECT_EQ(bytesAt(record, 8, 8), (Bytes{0x69, 0x38, 0xAA, 0x12, 0x00, 0x08, 0xA6, 0xD8}));
}

TEST(TraData, SameDataComparesThePoseOnly) {
    TraData a;
    a.setX(1.0f);
    a.setRoll(-2.0f);
    TraData b = a;
    b.setId(5);
    b.setTime(100, 2000);
    b.reserved2[0] = 9;
    EXPECT_TRUE(TraData::sameData(a, b));
    b.setRoll(-2.00001f);
    EXPECT_FALSE(TraData::sameData(a, b));
}

}  // namespace
