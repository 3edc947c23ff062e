// The "emulatetracker" option, the numbering of emulated trackers, and the integration step,
// with the clock driven by the test.

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "config_builder.h"
#include "controller/con_common.h"
#include "option_table.h"
#include "plain_logger.h"
#include "platform/byte_order.h"
#include "stdout_capture.h"

namespace {

using Lines = OptionLines;
using Values = std::array<float, 6>;
using Ids = std::array<std::uint32_t, 6>;

struct EmulationCase {
    const char* name;
    Lines lines;
    std::vector<std::string> messages;  // after the logger's "c: ERROR: "
    std::vector<int> used;
    // Expected settings of controller 1; none when no emulation may be set up.
    const TrackerEmulation* expected;
};

TrackerEmulation emulation(Values init, Ids valuators, std::uint32_t resetButton = 0) {
    TrackerEmulation e{};
    std::copy(init.begin(), init.end(), e.initValues);
    std::copy(valuators.begin(), valuators.end(), e.valuatorIds);
    e.resetButton = resetButton;
    return e;
}

const TrackerEmulation firstThreeDrivePosition = emulation({}, {1, 2, 3, 0, 0, 0});
const TrackerEmulation allSixWithReset = emulation({1, 2, 3, 4, 5, 6}, {1, 2, 3, 4, 5, 6}, 5);
const TrackerEmulation partialStart = emulation({1.5f, -2, 0, 0, 0, 0}, {8, 0, 0, 0, 0, 1}, 24);
const TrackerEmulation plainSix = emulation({}, {1, 2, 3, 4, 5, 6});
const TrackerEmulation lettersAreZero = emulation({}, {0, 2, 0, 0, 0, 0});

const std::string incomplete = "Incomplete option line found for EmulateTracker at line 1.";
const std::string badValuator = "Invalid valuator ID found for EmulateTracker option at line 1.";
const std::string badButton =
    "Invalid button ID found for EmulateTracker option at line 1. Ignored.";
const std::string badController =
    "Invalid controller ID found for EmulateTracker option at line 1.";

const EmulationCase emulationCases[] = {
    {"valuators 1 to 3 drive the position",
     {{"emulatetracker", "1", "[0,0,0,0,0,0]", "1", "2", "3", "0", "0", "0"}},
     {},
     {1},
     &firstThreeDrivePosition},
    {"initial values and a reset button",
     {{"EmulateTracker", "1", "[1,2,3,4,5,6]", "1", "2", "3", "4", "5", "6", "5"}},
     {},
     {1},
     &allSixWithReset},
    {"missing initial values stay 0, the last button is allowed",
     {{"emulatetracker", "1", "[1.5,-2]", "8", "0", "0", "0", "0", "1", "24"}},
     {},
     {1},
     &partialStart},
    {"a second argument without a bracket is all-zero initial values",
     {{"emulatetracker", "1", "5", "1", "2", "3", "4", "5", "6"}},
     {},
     {1},
     &plainSix},
    {"a word where a valuator belongs reads as 0",
     {{"emulatetracker", "1", "[]", "x", "2", "y", "0", "0", "0"}},
     {},
     {1},
     &lettersAreZero},
    {"a later line replaces an earlier one",
     {{"emulatetracker", "1", "[9]", "1", "1", "1", "1", "1", "1", "2"},
      {"emulatetracker", "1", "[]", "1", "2", "3", "0", "0", "0"}},
     {},
     {1, 1},
     &firstThreeDrivePosition},
    {"a rejected line leaves the earlier settings",
     {{"emulatetracker", "1", "[]", "1", "2", "3", "0", "0", "0"},
      {"emulatetracker", "1", "[7]", "4", "4", "4", "4", "4", "9"}},
     {"Invalid valuator ID found for EmulateTracker option at line 2."},
     {1, 0},
     &firstThreeDrivePosition},
    {"no argument", {{"emulatetracker"}}, {incomplete}, {0}, nullptr},
    {"controller 0", {{"emulatetracker", "0"}}, {badController}, {0}, nullptr},
    {"controller 2 of one", {{"emulatetracker", "2", "[]"}}, {badController}, {0}, nullptr},
    {"controller named by a word",
     {{"emulatetracker", "one", "[]"}},
     {badController},
     {0},
     nullptr},
    {"controller alone", {{"emulatetracker", "1"}}, {incomplete}, {0}, nullptr},
    {"seven arguments",
     {{"emulatetracker", "1", "[]", "1", "2", "3", "4", "5"}},
     {incomplete},
     {0},
     nullptr},
    {"ten arguments",
     {{"emulatetracker", "1", "[]", "1", "2", "3", "4", "5", "6", "1", "2"}},
     {"Too many args found for EmulateTracker at line 1."},
     {0},
     nullptr},
    {"valuator 9 of 8",
     {{"emulatetracker", "1", "[]", "1", "2", "3", "4", "5", "9"}},
     {badValuator},
     {0},
     nullptr},
    {"a negative valuator",
     {{"emulatetracker", "1", "[]", "-1", "2", "3", "4", "5", "6"}},
     {badValuator},
     {0},
     nullptr},
    {"valuators beyond an earlier order line's count",
     {{"valuatororder", "1", "1", "2", "3"},
      {"emulatetracker", "1", "[]", "1", "2", "3", "4", "0", "0"}},
     {"Invalid valuator ID found for EmulateTracker option at line 2."},
     {1, 0},
     nullptr},
    {"reset button 0",
     {{"emulatetracker", "1", "[]", "1", "2", "3", "4", "5", "6", "0"}},
     {badButton},
     {0},
     nullptr},
    {"reset button 25 of 24",
     {{"emulatetracker", "1", "[]", "1", "2", "3", "4", "5", "6", "25"}},
     {badButton},
     {0},
     nullptr},
};

void PrintTo(const EmulationCase& c, std::ostream* out) {
    *out << c.name;
}

class EmulationOption : public testing::TestWithParam<EmulationCase> {};

TEST_P(EmulationOption, AcceptsOrReportsTheLine) {
    const EmulationCase& c = GetParam();
    const CLogH log = plainLogger("c");
    CConCommonH handler(&log);
    handler.numOutputControllers = 1;
    ASSERT_TRUE(handler.setControllerCount(1, true));
    ASSERT_TRUE(handler.setController(1, 1, 8, 24));
    EXPECT_EQ(runOptionLines(c.lines, "c", c.messages, c.used,
                             [&](DeviceConfig* config) { return handler.parseOptions(config); }),
              c.messages.empty());

    const TrackerEmulation* got = handler.controller(1)->emulation;
    if (c.expected == nullptr) {
        EXPECT_EQ(got, nullptr);
        EXPECT_EQ(handler.numberEmulatedTrackers(1), 0u);
        return;
    }
    ASSERT_NE(got, nullptr);
    EXPECT_EQ(got->trackerId, 0u);
    for (std::size_t a = 0; a < 6; ++a) {
        EXPECT_EQ(got->initValues[a], c.expected->initValues[a]) << "axis " << a;
        EXPECT_EQ(got->valuatorIds[a], c.expected->valuatorIds[a]) << "axis " << a;
    }
    EXPECT_EQ(got->resetButton, c.expected->resetButton);
    EXPECT_EQ(got->lastTime, 0.0);
}

INSTANTIATE_TEST_SUITE_P(Table, EmulationOption, testing::ValuesIn(emulationCases), CaseName());

TEST(EmulatedTrackers, AreNumberedAcrossControllersInOrder) {
    CConCommonH handler(nullptr);
    ASSERT_TRUE(handler.setControllerCount(3, true));
    const float init[6] = {};
    const std::uint32_t valuators[6] = {1, 0, 0, 0, 0, 0};
    ASSERT_TRUE(handler.setEmulation(1, 0, init, valuators, 0));
    ASSERT_TRUE(handler.setEmulation(3, 0, init, valuators, 0));
    EXPECT_FALSE(handler.setEmulation(4, 0, init, valuators, 0));
    EXPECT_EQ(handler.numberEmulatedTrackers(0), 0u);
    EXPECT_EQ(handler.controller(1)->emulation->trackerId, 0u);
    EXPECT_EQ(handler.numberEmulatedTrackers(5), 2u);
    EXPECT_EQ(handler.controller(1)->emulation->trackerId, 5u);
    EXPECT_EQ(handler.controller(2)->emulation, nullptr);
    EXPECT_EQ(handler.controller(3)->emulation->trackerId, 6u);
}

// The clock the emulation reads, moved by the tests.
sys::ClockReading testNow{1765321234, 0, 0, 0};
sys::ClockReading testClock() {
    return testNow;
}
void advanceClock(std::uint32_t milliseconds) {
    const std::uint32_t total = testNow.milliseconds + milliseconds;
    testNow.seconds += static_cast<std::int32_t>(total / 1000);
    testNow.milliseconds = static_cast<std::uint16_t>(total % 1000);
}

class EmulationStep : public testing::Test {
protected:
    CConCommonH handler{nullptr};
    ConData sample{};
    TraData tracker;

    void SetUp() override {
        handler.readClock = testClock;
        handler.setControllerCount(1, true);
        handler.setController(1, 1, 8, 24);
        const float init[6] = {1, -1, 0.5f, 10, 20, 30};
        const std::uint32_t valuators[6] = {1, 2, 0, 3, 0, 0};
        handler.setEmulation(1, 0, init, valuators, 7);
        handler.numberEmulatedTrackers(1);
        sample.reset();
        sample.numValuators = toNetwork(8);
        sample.numButtons = toNetwork(24);
    }

    // The controller sample of this moment, as a polling cycle builds it.
    bool step(float v1, float v2, float v3, bool reset = false) {
        sample.setValuator(1, v1);
        sample.setValuator(2, v2);
        sample.setValuator(3, v3);
        sample.setButton(7, reset ? 1 : 0);
        sample.timeSec = toNetwork(static_cast<std::uint32_t>(testNow.seconds));
        sample.timeUsec = toNetwork(std::uint32_t{testNow.milliseconds} * 1000u);
        return handler.emulateTracker(1, &tracker, &sample);
    }

    std::vector<float> pose() const {
        return {tracker.getX(),    tracker.getY(),    tracker.getZ(),
                tracker.getAzim(), tracker.getElev(), tracker.getRoll()};
    }
    std::uint32_t timeSec() const { return fromNetwork(tracker.timeSec); }
    std::uint32_t timeUsec() const { return fromNetwork(tracker.timeUsec); }
};

TEST_F(EmulationStep, TheFirstStepPlacesTheInitialValuesWithTheSampleTime) {
    advanceClock(250);
    ASSERT_TRUE(step(2.0f, 2.0f, 2.0f));
    EXPECT_EQ(pose(), (std::vector<float>{1, -1, 0.5f, 10, 20, 30}));
    EXPECT_EQ(fromNetwork(tracker.id), 1u);
    EXPECT_EQ(timeSec(), 1765321234u);
    EXPECT_EQ(timeUsec(), 250000u);
}

TEST_F(EmulationStep, DrivenAxesMoveAtTheirValuatorsRate) {
    ASSERT_TRUE(step(0, 0, 0));
    advanceClock(500);
    ASSERT_TRUE(step(2.0f, -0.5f, 1.0f));
    EXPECT_DOUBLE_EQ(handler.timeStep, 0.5);
    EXPECT_EQ(pose(), (std::vector<float>{2.0f, -1.25f, 0.5f, 10.5f, 20, 30}));
    advanceClock(500);
    ASSERT_TRUE(step(2.0f, -0.5f, 1.0f));
    EXPECT_EQ(pose(), (std::vector<float>{3.0f, -1.5f, 0.5f, 11, 20, 30}));
}

TEST_F(EmulationStep, HoldingTheResetButtonKeepsTheInitialValuesWhileTheTimeFollows) {
    ASSERT_TRUE(step(0, 0, 0));
    advanceClock(500);
    ASSERT_TRUE(step(2.0f, 0, 0));
    ASSERT_EQ(tracker.getX(), 2.0f);
    for (int poll = 0; poll < 3; ++poll) {
        advanceClock(100);
        ASSERT_TRUE(step(2.0f, 0, 0, true));
        EXPECT_EQ(pose(), (std::vector<float>{1, -1, 0.5f, 10, 20, 30}));
        EXPECT_EQ(timeUsec(), static_cast<std::uint32_t>(testNow.milliseconds) * 1000u);
    }
    // Released, the step covers all the time since the last ordinary one: 0.3 s, as far as a
    // clock in seconds since 1970 tells it in double precision.
    ASSERT_TRUE(step(2.0f, 0, 0));
    EXPECT_NEAR(tracker.getX(), 1.6f, 2e-5f);
}

TEST_F(EmulationStep, ARestartedClockLeavesOutTheTimeWithoutSamples) {
    ASSERT_TRUE(step(0, 0, 0));
    advanceClock(10000);  // a lost line
    handler.restartEmulationClocks();
    advanceClock(500);
    ASSERT_TRUE(step(2.0f, 0, 0));
    EXPECT_EQ(tracker.getX(), 2.0f);  // moved for half a second, not for ten and a half
}

TEST_F(EmulationStep, RefusesWhatItCannotStep) {
    const TraData before = tracker;
    EXPECT_FALSE(handler.emulateTracker(0, &tracker, &sample));
    EXPECT_FALSE(handler.emulateTracker(2, &tracker, &sample));
    EXPECT_FALSE(handler.emulateTracker(1, nullptr, &sample));
    EXPECT_FALSE(handler.emulateTracker(1, &tracker, nullptr));
    EXPECT_FALSE(handler.resetEmulatedTracker(1, nullptr, nullptr));
    EXPECT_TRUE(TraData::sameData(before, tracker));

    // Without a sample the time stamp is left as the slot held it.
    tracker.setTime(42, 7000);
    ASSERT_TRUE(handler.resetEmulatedTracker(1, &tracker, nullptr));
    EXPECT_EQ(timeSec(), 42u);
    EXPECT_EQ(tracker.getAzim(), 10.0f);
}

}  // namespace
