// The polling cycle against the virtual box over a pseudo-terminal.

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "config_builder.h"
#include "device/pendax.h"
#include "host_storage.h"
#include "pendax_probe.h"
#include "plain_logger.h"
#include "pty_pair.h"
#include "stdout_capture.h"
#include "virtual_box.h"

namespace {

using Lines = std::vector<std::string>;
using Bytes = std::vector<unsigned char>;

Bytes bytesOf(const std::uint32_t& word) {
    const auto* raw = reinterpret_cast<const unsigned char*>(&word);
    return {raw, raw + 4};
}

class DevicePoll : public testing::Test {
protected:
    CVirtualBox box;
    CLogH log = plainLogger("p");
    HostStorage trackers{HostStorage::Kind::trackers, log};
    std::unique_ptr<HostStorage> controllers;
    std::unique_ptr<ConfigBuilder> config;
    std::unique_ptr<CPendax> device;
    ChangeMasks masks{0xdeadbeef, 0xdeadbeef};

    // Initialises the device on the box's port with the given extra option lines and sets up
    // the box as configure does, without the second that identification waits for the box.
    void ready(std::initializer_list<std::vector<std::string>> lines = {}, int preloaded = 0,
               bool setUp = true) {
        controllers = std::make_unique<HostStorage>(HostStorage::Kind::controllers, log, preloaded);
        config = std::make_unique<ConfigBuilder>(lines);
        config->add({"port", box.slavePath()});
        device = std::make_unique<CPendax>(config->get(), &log);
        const InitInfo info{trackers.get(), controllers->get(), {}};
        StdoutCapture quiet;
        ASSERT_EQ(device->init(&info), 1) << quiet.text();
        if (setUp) {
            CPendaxProbe probe(*device);
            const BoardIdentity board = box.board();
            probe.box().boardType = board.type;
            probe.box().boardSubType = board.subType;
            probe.box().epromRevision = board.epromRevision;
            probe.box().boardRevision = board.revision;
            ASSERT_EQ(probe.setupBox(), 0) << quiet.text();
            ASSERT_EQ(probe.box().packetLength, 24);
        }
    }

    std::int32_t poll() { return device->recvData(&masks, 0); }
    const ConData& slot(std::uint32_t position = 1) const {
        return controllers->controllerRecord(position);
    }
};

TEST_F(DevicePoll, PublishesAChangedSampleAndMarksItsPosition) {
    ready();
    box.setAnalog(1, 4095);
    box.setAnalog(2, 0);
    box.setAnalog(8, 3071);
    box.setButton(1, true);
    box.setButton(24, true);
    StdoutCapture out;
    EXPECT_EQ(poll(), 1);
    EXPECT_EQ(bytesOf(masks.controllerMask), (Bytes{0, 0, 0, 1}));
    EXPECT_EQ(masks.trackerMask, 0xdeadbeefu);  // no tracker: left as the host passed it

    const ConData& record = slot();
    EXPECT_EQ(bytesOf(record.id), (Bytes{0, 0, 0, 1}));
    EXPECT_EQ(bytesOf(record.numValuators), (Bytes{0, 0, 0, 8}));
    EXPECT_EQ(bytesOf(record.numButtons), (Bytes{0, 0, 0, 24}));
    EXPECT_EQ(bytesOf(record.valuatorOffset), (Bytes{0, 0, 0, 36}));
    EXPECT_EQ(bytesOf(record.buttonOffset), (Bytes{0, 0, 0, 68}));
    EXPECT_FLOAT_EQ(record.getValuator(1), 1.0f);
    EXPECT_FLOAT_EQ(record.getValuator(2), -1.0f);
    EXPECT_FLOAT_EQ(record.getValuator(3), 0.0f);    // at rest: 2048 is just above the middle
    EXPECT_FLOAT_EQ(record.getValuator(8), 0.499f);  // 3071 reads 0.49988, cut to 0.499
    EXPECT_EQ(record.getButton(1), 1);
    EXPECT_EQ(record.getButton(2), 0);
    EXPECT_EQ(record.getButton(24), 1);
    EXPECT_NE(record.timeSec, 0u);
    EXPECT_EQ(out.text(), "");
}

TEST_F(DevicePoll, AnUnchangedSampleIsNotPublishedAgain) {
    ready();
    ASSERT_EQ(poll(), 1);
    ConData first;
    std::memcpy(&first, &slot(), sizeof first);
    EXPECT_EQ(poll(), 1);
    EXPECT_EQ(masks.controllerMask, 0u);
    EXPECT_EQ(std::memcmp(&first, &slot(), sizeof first), 0);  // not even a new time stamp

    box.setButton(9, true);
    EXPECT_EQ(poll(), 1);
    EXPECT_EQ(bytesOf(masks.controllerMask), (Bytes{0, 0, 0, 1}));
    EXPECT_EQ(slot().getButton(9), 1);
}

TEST_F(DevicePoll, ChannelsLeftOutOfTheSetUpAreInvisible) {
    ready({}, 0, false);
    CPendaxProbe probe(*device);
    const BoardIdentity board = box.board();
    probe.box().boardType = board.type;
    probe.box().boardRevision = board.revision;
    probe.box().epromRevision = board.epromRevision;
    probe.box().valuatorMask = 0xfe;  // all but the first analog input
    probe.box().groupMask = 0x30;     // digital inputs 1-16
    StdoutCapture quiet;
    ASSERT_EQ(probe.setupBox(), 0);
    ASSERT_EQ(probe.box().packetLength, 20);
    ASSERT_EQ(poll(), 1);

    box.setAnalog(1, 4095);
    box.setButton(17, true);
    EXPECT_EQ(poll(), 1);
    EXPECT_EQ(masks.controllerMask, 0u);
    EXPECT_FLOAT_EQ(slot().getValuator(1), 0.0f);
    EXPECT_EQ(slot().getButton(17), 0);
}

TEST_F(DevicePoll, OrdersAndScalesShapeThePublishedRecord) {
    ready({{"valuatororder", "1", "3", "1", "2"},
           {"buttonorder", "1", "2", "1"},
           {"valuatorscale", "1", "2.5", "1"},
           {"valuatorscale", "1", "[0,0,-1,0.5]", "3"}});
    box.setAnalog(1, 4095);  // real 1 -> output 2, scaled by 2.5
    box.setAnalog(2, 0);     // real 2 -> output 3, unscaled
    box.setAnalog(3, 0);     // real 3 -> output 1, -1 * -1 + 0.5
    box.setAnalog(4, 4095);  // not published
    box.setButton(1, true);  // real 1 -> output 2
    box.setButton(3, true);  // not published
    ASSERT_EQ(poll(), 1);
    EXPECT_FLOAT_EQ(slot().getValuator(1), 1.5f);
    EXPECT_FLOAT_EQ(slot().getValuator(2), 2.5f);
    EXPECT_FLOAT_EQ(slot().getValuator(3), -1.0f);
    EXPECT_FLOAT_EQ(slot().getValuator(4), 0.0f);
    EXPECT_EQ(slot().getButton(1), 0);
    EXPECT_EQ(slot().getButton(2), 1);
    EXPECT_EQ(slot().getButton(3), 0);
}

TEST_F(DevicePoll, BrokenPacketsAreDroppedQuietly) {
    ready();
    struct Case {
        const char* name;
        Faults faults;
        std::int32_t result;
    };
    Faults shortPacket;
    shortPacket.shortReply = true;
    Faults badStart;
    badStart.badStart = true;
    Faults badEnd;
    badEnd.badEnd = true;
    Faults garbage;
    garbage.garbage = 3;
    Faults silent;
    silent.silent = true;
    const Case cases[] = {
        {"short packet", shortPacket, 0}, {"bad start byte", badStart, -1},
        {"bad end byte", badEnd, -1},     {"leading garbage", garbage, -1},
        {"silent box", silent, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        box.setFaults(c.faults);
        box.setButton(5, true);
        StdoutCapture out;
        masks.controllerMask = 0xffffffff;
        std::int32_t result = 2;
        const auto elapsed = millisecondsOf([&] { result = poll(); });
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(masks.controllerMask, 0u);
        EXPECT_EQ(out.text(), "");
        EXPECT_LT(elapsed, 5000);

        // Back in step at once: the next cycle publishes what the broken one could not.
        box.setFaults(Faults{});
        EXPECT_EQ(poll(), 1);
        EXPECT_EQ(bytesOf(masks.controllerMask), (Bytes{0, 0, 0, 1}));
        EXPECT_EQ(slot().getButton(5), 1);
        box.setButton(5, false);
        EXPECT_EQ(poll(), 1);
    }
}

TEST_F(DevicePoll, WithoutASetUpEveryCycleWarns) {
    ready({}, 0, false);
    StdoutCapture out;
    EXPECT_EQ(poll(), -1);
    EXPECT_EQ(poll(), -1);
    EXPECT_EQ(out.lines(), (Lines{"p: WARNING: CPendax: No chars in input buffer.",
                                  "p: WARNING: CPendax: No chars in input buffer."}));
}

TEST_F(DevicePoll, AfterStopEveryCycleFails) {
    ready();
    device->stop();
    StdoutCapture out;
    EXPECT_EQ(poll(), -1);
    EXPECT_EQ(out.lines(),
              (Lines{"p: ERROR: CRS232H: Writing to " + box.slavePath() + ": Bad file descriptor",
                     "p: ERROR: CPendax: Sending a byte failed."}));
}

TEST_F(DevicePoll, OtherDevicesControllersMoveThePosition) {
    ready({}, 3);
    EXPECT_EQ(controllers->entries(), 4);
    ASSERT_EQ(poll(), 1);
    EXPECT_EQ(bytesOf(masks.controllerMask), (Bytes{0, 0, 0, 0x08}));
    EXPECT_EQ(bytesOf(slot(4).id), (Bytes{0, 0, 0, 4}));
    EXPECT_EQ(slot(1).numValuators, 0u);  // the other devices' slots are not touched
}

TEST_F(DevicePoll, AMissingSlotFailsTheCycleAndKeepsTheSample) {
    ready();
    controllers->get()->numData = nullptr;  // the host took the list away
    StdoutCapture out;
    EXPECT_EQ(poll(), -1);
    EXPECT_EQ(out.lines(), (Lines{"p: ERROR: CPendax: ConData storage not found"}));
    EXPECT_EQ(masks.controllerMask, 0u);
    EXPECT_EQ(poll(), -1);  // still unpublished, so tried again
}

TEST_F(DevicePoll, NoChangeMaskRecordIsTolerated) {
    ready();
    EXPECT_EQ(device->recvData(nullptr, 0), 1);
    EXPECT_EQ(slot().numValuators != 0, true);
}

}  // namespace
