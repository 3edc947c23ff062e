// The tracker options: one table of lines with their messages and effects, then the calibration
// library's replacement and the independence of the transforms from the order of the options.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "config_builder.h"
#include "option_table.h"
#include "plain_logger.h"
#include "stdout_capture.h"
#include "tracker/tra_common.h"

namespace {

using Lines = OptionLines;
using Elements = std::vector<float>;

Elements elementsOf(const Matrix4& matrix, std::initializer_list<int> indices) {
    Elements result;
    for (const int i : indices) {
        result.push_back(matrix.m[i]);
    }
    return result;
}

void expectNear(const Elements& got, const Elements& expected) {
    ASSERT_EQ(got.size(), expected.size());
    for (std::size_t i = 0; i < got.size(); ++i) {
        EXPECT_NEAR(got[i], expected[i], 1e-6f) << "element " << i;
    }
}

struct OptionCase {
    const char* name;
    Lines lines;
    std::vector<std::string> messages;  // after the logger's "t: ERROR: "
    std::vector<int> used;
    std::function<void(const CTraCommonH&)> check;
    bool inputConnector = true;
};

void PrintTo(const OptionCase& c, std::ostream* out) {
    *out << c.name;
}

const TrackerSettings& tracker1(const CTraCommonH& h) {
    return h.trackers[0];
}

void untouched(const CTraCommonH& h) {
    EXPECT_FALSE(h.hasTransmitterOffset || h.hasTransmitterRotation);
    EXPECT_FALSE(tracker1(h).hasSensorOffset || tracker1(h).hasSensorRotation ||
                 tracker1(h).hasSensorTranslation);
    EXPECT_EQ(elementsOf(h.transmitterTransform, {0, 5, 10, 12, 13, 14, 15}),
              (Elements{1, 1, 1, 0, 0, 0, 1}));
}

const std::string at1 = " at line 1.";

const OptionCase optionCases[] = {
    // Transmitter offset: units, and an offset only when some component is not zero.
    {"transmitter offset in meters",
     {{"transmitteroffset", "1", "2", "3", "m"}},
     {},
     {1},
     [](const CTraCommonH& h) {
         EXPECT_TRUE(h.hasTransmitterOffset);
         const Elements feet{1 * 3.28084f, 2 * 3.28084f, 3 * 3.28084f};
         EXPECT_EQ(elementsOf(h.transmitterOffset, {3, 7, 11}), feet);
         EXPECT_EQ(elementsOf(h.transmitterTransform, {12, 13, 14}), feet);
         EXPECT_EQ(elementsOf(h.transmitterTransform, {0, 5, 10, 15}), (Elements{1, 1, 1, 1}));
     }},
    {"keyword and unit in any letter case",
     {{"TRANSMITTEROFFSET", "24", "-6", "0", "Inches"}},
     {},
     {1},
     [](const CTraCommonH& h) {
         EXPECT_EQ(elementsOf(h.transmitterOffset, {3, 7, 11}),
                   (Elements{24 * 0.083333336f, -6 * 0.083333336f, 0}));
     }},
    {"centimetres and meters written out",
     {{"transmitteroffset", "100", "0", "0", "cm"}, {"sensoroffset", "1", "0", "1", "0", "meters"}},
     {},
     {1, 1},
     [](const CTraCommonH& h) {
         EXPECT_EQ(h.transmitterOffset.m[3], 100 * 0.0328084f);
         EXPECT_EQ(tracker1(h).sensorOffset.m[7], 3.28084f);
     }},
    {"a zero transmitter offset is used but sets nothing",
     {{"transmitteroffset", "0", "0", "0"}},
     {},
     {1},
     untouched},
    {"components that cancel out are still an offset",
     {{"transmitteroffset", "1", "-1", "0", "feet"}},
     {},
     {1},
     [](const CTraCommonH& h) {
         EXPECT_TRUE(h.hasTransmitterOffset);
         EXPECT_EQ(elementsOf(h.transmitterTransform, {12, 13, 14}), (Elements{1, -1, 0}));
     }},
    {"transmitter offset faults",
     {{"transmitteroffset", "1", "2"},
      {"transmitteroffset", "1", "2", "3", "m", "4"},
      {"transmitteroffset", "1", "y", "3"},
      {"transmitteroffset", "1", "2", "3", "yards"}},
     {
         "Incomplete option line found for TransmitterOffset at line 1.",
         "Too many args found for TransmitterOffset at line 2.",
         "Invalid arg found for TransmitterOffset at line 3.",
         // Earlier faults: the unit word is no longer looked at.
     },
     {0, 0, 0, 0},
     untouched},
    {"an unknown unit word",
     {{"transmitteroffset", "1", "2", "3", "yards"}, {"sensoroffset", "1", "1", "2", "3", "yards"}},
     {"Invalid string found for TransmitterOffset" + at1},
     {0, 0},
     untouched},
    {"an unknown sensor unit word",
     {{"sensoroffset", "1", "1", "2", "3", "yards"}},
     {"Invalid unit found for SensorOffset" + at1},
     {0},
     untouched},
    // Rotations.
    {"transmitter rotation of 90 degrees about z",
     {{"transmitterrotation", "0", "0", "1", "90"}},
     {},
     {1},
     [](const CTraCommonH& h) {
         EXPECT_TRUE(h.hasTransmitterRotation);
         expectNear(elementsOf(h.transmitterRotation, {0, 1, 4, 5, 10, 15}), {0, 1, -1, 0, 1, 0});
         expectNear(elementsOf(h.transmitterTransform, {0, 1, 4, 5, 10, 15}), {0, 1, -1, 0, 1, 1});
     }},
    {"an angle that is a word",
     {{"transmitterrotation", "0", "0", "1", "abc"}},
     {"Invalid arg found for TransmitterRotation" + at1},
     {0},
     untouched},
    {"an angle that reads as 0 without being a word",
     {{"transmitterrotation", "0", "0", "1", "-x"}},
     {},
     {1},
     [](const CTraCommonH& h) {
         EXPECT_TRUE(h.hasTransmitterRotation);
         EXPECT_EQ(elementsOf(h.transmitterRotation, {0, 1, 5, 10}), (Elements{1, 0, 1, 1}));
     }},
    {"transmitter rotation counts",
     {{"transmitterrotation", "0", "0", "1"}},
     {"Incomplete option line found for TransmitterRotation" + at1},
     {0},
     untouched},
    {"a transmitter rotation matrix",
     {{"transmitterrotationmatrix", "0", "1", "0", "-1", "0", "0", "0", "0", "1"}},
     {},
     {1},
     [](const CTraCommonH& h) {
         EXPECT_EQ(elementsOf(h.transmitterTransform, {0, 1, 2, 4, 5, 6, 8, 9, 10, 15}),
                   (Elements{0, 1, 0, -1, 0, 0, 0, 0, 1, 1}));
     }},
    {"rotation matrix faults",
     {{"transmitterrotationmatrix", "1", "0", "0", "0", "1", "0", "0", "0"},
      {"transmitterrotationmatrix", "1", "0", "0", "0", "1", "0", "0", "0", "1", "1"},
      {"transmitterrotationmatrix", "1", "0", "0", "0", "one", "0", "0", "0", "1"}},
     {"Incomplete option line found for TransmitterRotationMatrix at line 1.",
      "Too many args found for TransmitterRotationMatrix at line 2.",
      "Invalid arg found for TransmitterRotationMatrix at line 3."},
     {0, 0, 0},
     untouched},
    // Sensor options: the tracker id comes first and is read in any base.
    {"a hexadecimal tracker id",
     {{"sensoroffset", "0x1", "1", "2", "3"}},
     {},
     {1},
     [](const CTraCommonH& h) {
         EXPECT_TRUE(tracker1(h).hasSensorOffset);
         EXPECT_EQ(elementsOf(tracker1(h).sensorOffset, {3, 7, 11}), (Elements{1, 2, 3}));
         EXPECT_EQ(elementsOf(tracker1(h).sensorTransform, {12, 13, 14, 15}),
                   (Elements{1, 2, 3, 1}));
         EXPECT_FALSE(h.hasTransmitterOffset);
     }},
    {"the tracker id is checked before the count",
     {{"sensoroffset", "5"}, {"sensorrotation", "0", "0", "0", "1", "90"}, {"sensoroffset"}},
     {"Invalid tracker ID found for SensorOffset at line 1.",
      "Invalid tracker ID found for SensorRotation at line 2.",
      "Incomplete option line found for SensorOffset at line 3."},
     {0, 0, 0},
     untouched},
    {"sensor offset counts",
     {{"sensoroffset", "1", "1", "2"}, {"sensoroffset", "1", "1", "2", "3", "m", "4"}},
     {"Incomplete option line found for SensorOffset at line 1.",
      "Too many args found for SensorOffset at line 2."},
     {0, 0},
     untouched},
    {"a sensor translation changes no matrix",
     {{"sensortranslation", "1", "100", "-50", "0", "cm"}},
     {},
     {1},
     [](const CTraCommonH& h) {
         const TrackerSettings& t = tracker1(h);
         EXPECT_TRUE(t.hasSensorTranslation);
         EXPECT_FALSE(t.hasSensorOffset);
         EXPECT_EQ(Elements(t.sensorTranslation, t.sensorTranslation + 3),
                   (Elements{100 * 0.0328084f, -50 * 0.0328084f, 0}));
         EXPECT_EQ(elementsOf(t.sensorTransform, {12, 13, 14}), (Elements{0, 0, 0}));
     }},
    {"sensor rotation counts",
     {{"sensorrotation", "1", "0", "0", "1"}, {"sensorrotation", "1", "0", "0", "1", "90", "5"}},
     {"Incomplete option line found for SensorRotation at line 1.",
      "Too many args found for SensorRotation at line 2."},
     {0, 0},
     untouched},
    {"a sensor rotation and a sensor rotation matrix",
     {{"sensorrotation", "1", "1", "0", "0", "180"},
      {"sensorrotationmatrix", "1", "1", "0", "0", "0", "1", "0", "0", "0", "-1"}},
     {},
     {1, 1},
     [](const CTraCommonH& h) {
         EXPECT_TRUE(tracker1(h).hasSensorRotation);
         EXPECT_EQ(elementsOf(tracker1(h).sensorTransform, {0, 5, 10, 15}),
                   (Elements{1, 1, -1, 1}));
     }},
    // After an earlier fault the value options check their numbers, then stop.
    {"a valid sensor offset after a fault is left unused",
     {{"order", "1"}, {"sensoroffset", "1", "1", "2", "3"}},
     {"Can not change the order on input connector at line 1."},
     {0, 0},
     untouched},
    {"values are still checked after a fault, the angle and the unit are not",
     {{"cavecoord", "maybe"},
      {"sensorrotation", "1", "0", "x", "1", "90"},
      {"transmitterrotation", "0", "0", "1", "abc"},
      {"sensoroffset", "1", "1", "2", "3", "yards"}},
     {"Invalid string found for CAVECoord at line 1.",
      "Invalid arg found for SensorRotation at line 2."},
     {0, 0, 0, 0},
     untouched},
    // Calibration library.
    {"a calibration library that cannot be loaded is no fault",
     {{"calibration", "/nonexistent/libcalibration.so", "1", "2", "3", "4", "5", "6", "7", "8", "9",
       "10"}},
     {"CDynamicLibH: Can not load the library /nonexistent/libcalibration.so"},
     {1},
     [](const CTraCommonH& h) {
         ASSERT_NE(h.calibration, nullptr);
         EXPECT_STREQ(h.calibrationName, "/nonexistent/libcalibration.so");
         ASSERT_EQ(h.calibrationArgCount, 10u);
         EXPECT_STREQ(h.calibrationArgs[0], "1");
         EXPECT_STREQ(h.calibrationArgs[9], "10");
     }},
    {"calibration faults",
     {{"calib"},
      {"calibration", "lib.so", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11"},
      {"calibration", std::string(256, 'x')}},
     {"Incomplete option line found for Calibration at line 1.",
      "Too many args found for Calibration at line 2.",
      "Invalid arg found for Calibration at line 3."},
     {0, 0, 0},
     [](const CTraCommonH& h) {
         EXPECT_EQ(h.calibration, nullptr);
         EXPECT_EQ(h.calibrationArgCount, 0u);
     }},
    // Tracker order, only off an input connector.
    {"no order on an input connector",
     {{"trackerorder"}, {"unitorder", "1"}},
     {"Can not change the order on input connector at line 1.",
      "Can not change the order on input connector at line 2."},
     {0, 0},
     [](const CTraCommonH& h) { EXPECT_EQ(tracker1(h).order, 1u); }},
    {"off an input connector the order renumbers the trackers",
     {{"order", "2", "1", "2"}},
     {},
     {1},
     [](const CTraCommonH& h) {
         EXPECT_EQ(h.trackers[0].order, 2u);
         EXPECT_EQ(h.trackers[1].order, 1u);
     },
     false},
    {"an order naming a tracker that is not there",
     {{"trackerorder", "1", "3"}, {"trackerorder", "0"}},
     {"Invalid tracker ID found for Order at line 1.",
      "Invalid tracker ID found for Order at line 2."},
     {0, 0},
     [](const CTraCommonH& h) { EXPECT_EQ(h.trackers[0].order, 1u); },
     false},
    {"an empty order clears every output number",
     {{"order"}},
     {},
     {1},
     [](const CTraCommonH& h) { EXPECT_EQ(h.trackers[0].order, 0u); },
     false},
    // CAVE coordinates, only on an input connector.
    {"CAVE coordinates switched on and off",
     {{"cavecoord", "On"}, {"cavecoordinates", "off"}, {"CaveCoord", "YES"}},
     {},
     {1, 1, 1},
     [](const CTraCommonH& h) { EXPECT_TRUE(h.caveCoordinates); }},
    {"CAVE coordinate faults",
     {{"cavecoord", "maybe"}, {"cavecoord", "yes", "no"}, {"cavecoord"}},
     {"Invalid string found for CAVECoord at line 1.",
      "Too many args found for CAVECoord at line 2.",
      "Incomplete option line found for CAVECoord at line 3."},
     {0, 0, 0},
     [](const CTraCommonH& h) { EXPECT_FALSE(h.caveCoordinates); }},
    {"CAVE coordinates are left to others off an input connector",
     {{"cavecoord", "maybe"}},
     {},
     {0},
     nullptr,
     false},
    {"other handlers' lines are left alone",
     {{"port", "com1"}, {"emulatetracker", "1"}, {"transmitteroffsets", "1", "2", "3"}},
     {},
     {0, 0, 0},
     untouched},
};

class TrackerOptions : public testing::TestWithParam<OptionCase> {};

TEST_P(TrackerOptions, ApplyOrReportEachLine) {
    const OptionCase& c = GetParam();
    const CLogH log = plainLogger("t");
    CTraCommonH handler(&log);
    handler.inputConnector = c.inputConnector;
    handler.numTrackers = 2;
    ASSERT_TRUE(handler.setTrackerCount(c.inputConnector ? 1 : 2));
    ASSERT_TRUE(handler.initTracker(1, 1, nullptr, nullptr, nullptr));
    const bool faultReported =
        std::any_of(c.messages.begin(), c.messages.end(),
                    [](const std::string& m) { return m.rfind("CDynamicLibH", 0) != 0; });
    EXPECT_EQ(runOptionLines(c.lines, "t", c.messages, c.used,
                             [&](DeviceConfig* config) { return handler.parseOptions(config); }),
              !faultReported);
    if (c.check) {
        c.check(handler);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, TrackerOptions, testing::ValuesIn(optionCases), CaseName());

TEST(TrackerOptionsParse, NeedsTheTrackerTableAndTheOptions) {
    const CLogH log = plainLogger("t");
    CTraCommonH handler(&log);
    ConfigBuilder empty;
    StdoutCapture out;
    EXPECT_FALSE(handler.parseOptions(empty.get()));
    handler.setTrackerCount(1);
    EXPECT_FALSE(handler.parseOptions(nullptr));
    EXPECT_TRUE(handler.parseOptions(empty.get()));
    EXPECT_EQ(out.lines(), (std::vector<std::string>{"t: ERROR: CTraCommonH: lookup is Null.",
                                                     "t: ERROR: CTraCommonH: config is empty."}));
}

TEST(TrackerOptionsParse, ALaterCalibrationReleasesTheEarlierBeforeLoading) {
    const CLogH log = plainLogger("t", 3);
    CTraCommonH handler(&log);
    handler.setTrackerCount(1);
    const std::string stub = CALIBRATION_STUB_PATH;
    ConfigBuilder config{{"calibration", stub, "a", "b"}, {"calib", stub, "c"}};
    StdoutCapture out;
    ASSERT_TRUE(handler.parseOptions(config.get()));
    ASSERT_EQ(handler.calibrationArgCount, 1u);
    EXPECT_STREQ(handler.calibrationArgs[0], "c");

    const std::vector<std::string> lines = out.lines();
    const auto find = [&](const std::string& line, std::size_t from) {
        return std::find(lines.begin() + static_cast<std::ptrdiff_t>(from), lines.end(), line) -
               lines.begin();
    };
    const std::string loaded = "t: DEBUG: CDynamicLibH: " + stub + " library loaded.";
    const auto firstLoaded = static_cast<std::size_t>(find(loaded, 0));
    const auto released =
        static_cast<std::size_t>(find("t: DEBUG: CDynamicLibH: \"unload\" called.", firstLoaded));
    const auto secondLoaded = static_cast<std::size_t>(find(loaded, firstLoaded + 1));
    EXPECT_LT(firstLoaded, released);
    EXPECT_LT(released, secondLoaded);
    EXPECT_LT(secondLoaded, lines.size());
}

TEST(TrackerOptionsParse, TransformsDoNotDependOnTheOrderOfTheOptions) {
    const std::vector<std::string> offset{"sensoroffset", "1", "1", "2", "3", "m"};
    const std::vector<std::string> rotation{"sensorrotation", "1", "0", "1", "0", "30"};
    const std::vector<std::string> transmitterOffset{"transmitteroffset", "4", "5", "6"};
    const std::vector<std::string> transmitterRotation{"transmitterrotation", "1", "1", "0", "45"};
    CTraCommonH first(nullptr);
    CTraCommonH second(nullptr);
    for (CTraCommonH* handler : {&first, &second}) {
        handler->setTrackerCount(1);
    }
    ConfigBuilder offsetFirst{offset, rotation, transmitterOffset, transmitterRotation};
    ConfigBuilder rotationFirst{transmitterRotation, rotation, transmitterOffset, offset};
    ASSERT_TRUE(first.parseOptions(offsetFirst.get()));
    ASSERT_TRUE(second.parseOptions(rotationFirst.get()));
    const auto all = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
    EXPECT_EQ(elementsOf(first.trackers[0].sensorTransform, all),
              elementsOf(second.trackers[0].sensorTransform, all));
    EXPECT_EQ(elementsOf(first.transmitterTransform, all),
              elementsOf(second.transmitterTransform, all));
    EXPECT_EQ(first.trackers[0].sensorTransform.m[12], 3.28084f);
}

}  // namespace
