#include <gtest/gtest.h>

#include <cstring>
#include <sstream>

#include "json_records.h"
#include "platform/byte_order.h"

namespace {

TEST(HostJsonRecords, ControllerRecordAsStored) {
    ConData record{};
    record.reset();
    record.id = toNetwork(4);
    record.timeSec = toNetwork(1765321234);
    record.timeUsec = toNetwork(7000);
    record.numValuators = toNetwork(8);
    record.numButtons = toNetwork(24);
    const std::int32_t valuators[] = {0, 1000, -500, 1, -1, 2147483647, -2147483647 - 1, 999};
    for (std::size_t i = 0; i < 8; ++i) {
        record.valuators[i] = toNetworkSigned(valuators[i]);
    }
    record.valuators[8] = toNetworkSigned(123);  // beyond the record's count: not shown
    record.buttonBits[0] = 0x81;                 // buttons 1 and 8
    record.buttonBits[1] = 0x02;                 // button 10
    record.buttonBits[2] = 0x80;                 // button 24
    record.buttonBits[3] = 0xff;                 // beyond the count

    std::ostringstream out;
    writeControllerJson(out, record);
    EXPECT_EQ(out.str(),
              "{\"kind\":\"controller\",\"id\":4,\"time\":1765321234.007,"
              "\"valuators\":[0.000,1.000,-0.500,0.001,-0.001,2147483.647,-2147483.648,0.999],"
              "\"buttons\":[1,0,0,0,0,0,0,1,0,1,0,0,0,0,0,0,0,0,0,0,0,0,0,1]}\n");
}

TEST(HostJsonRecords, TrackerRecordAsStored) {
    TraData record;
    const std::uint32_t words[] = {toNetwork(2),
                                   0,
                                   toNetwork(1765321234),
                                   toNetwork(123456),
                                   0,
                                   toNetworkSigned(100000),
                                   toNetworkSigned(-1),
                                   toNetworkSigned(-150000),
                                   toNetworkSigned(12345),
                                   toNetworkSigned(0),
                                   toNetworkSigned(-2147483647 - 1)};
    std::memcpy(static_cast<void*>(&record), words, sizeof words);

    std::ostringstream out;
    writeTrackerJson(out, TrackerSample::fromRecord(record));
    EXPECT_EQ(out.str(),
              "{\"kind\":\"tracker\",\"id\":2,\"time\":1765321234.123456,"
              "\"pose\":[1.00000,-0.00001,-1.50000,0.12345,0.00000,-21474.83648]}\n");
}

}  // namespace
