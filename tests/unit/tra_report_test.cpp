#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config_builder.h"
#include "plain_logger.h"
#include "stdout_capture.h"
#include "tracker/tra_common.h"

namespace {

using Lines = std::vector<std::string>;

const std::string blank = "r: INFO:                       :";

class TrackerReport : public testing::Test {
protected:
    CLogH log = plainLogger("r");
    CTraCommonH handler{&log};

    void SetUp() override {
        handler.numTrackers = 1;
        handler.setTrackerCount(1);
        handler.initTracker(1, 1, nullptr, nullptr, nullptr);
    }

    Lines reportAfter(std::initializer_list<std::vector<std::string>> lines, bool showCave = true) {
        ConfigBuilder config(lines);
        StdoutCapture out;
        EXPECT_TRUE(handler.parseOptions(config.get())) << out.text();
        out.clear();
        handler.printTrackerSettings(showCave);
        return out.lines();
    }
};

TEST_F(TrackerReport, DefaultsShowOnlyCaveCoordinatesAndTheOrder) {
    EXPECT_EQ(reportAfter({}), (Lines{
                                   "r: INFO: CAVE COORDINATES      : Unused",
                                   "r: INFO: TRACKER ORDER         : <Real tra> -> <Output tra>",
                                   blank + " 1->1",
                               }));
    EXPECT_EQ(reportAfter({}, false),
              (Lines{
                  "r: INFO: TRACKER ORDER         : <Real tra> -> <Output tra>",
                  blank + " 1->1",
              }));
}

TEST_F(TrackerReport, EveryBlockLineByLine) {
    handler.trackerBase = 3;
    const std::string stub = CALIBRATION_STUB_PATH;
    const Lines rotation = {
        " [0][0]: 0.000 [0][1]: 1.000 [0][2]: 0.000",
        " [1][0]:-1.000 [1][1]: 0.000 [1][2]: 0.000",
        " [2][0]: 0.000 [2][1]: 0.000 [2][2]: 1.000",
    };
    const Lines identity = {
        " 1 [0][0]: 1.000 [0][1]: 0.000 [0][2]: 0.000",
        " 1 [1][0]: 0.000 [1][1]: 1.000 [1][2]: 0.000",
        " 1 [2][0]: 0.000 [2][1]: 0.000 [2][2]: 1.000",
    };
    EXPECT_EQ(reportAfter({{"transmitteroffset", "1", "2.5", "-3"},
                           {"transmitterrotation", "0", "0", "1", "90"},
                           {"sensoroffset", "1", "0.5", "0", "1", "m"},
                           {"sensortranslation", "1", "9", "9", "9"},
                           {"calibration", stub, "gain", "2"}}),
              (Lines{
                  "r: INFO: CAVE COORDINATES      : Unused",
                  // Before the first matrix the stream's own number format holds.
                  "r: INFO: TRANSMITTER OFFSET    : X:1 Y:2.5 Z:-3",
                  "r: INFO: TRANSMITTER ROTATION  :" + rotation[0],
                  blank + rotation[1],
                  blank + rotation[2],
                  "",
                  "r: INFO: TRANSMITTER TRANSFORM :" + rotation[0],
                  blank + rotation[1],
                  blank + rotation[2],
                  "",
                  "r: INFO: TRACKER ORDER         : <Real tra> -> <Output tra>",
                  blank + " 1->4",
                  // From then on fixed notation with three decimals.
                  "r: INFO: SENSOR OFFSET         : 1 X:1.640 Y:0.000 Z:3.281",
                  "r: INFO: SENSOR TRANSFORM      :" + identity[0],
                  blank + identity[1],
                  blank + identity[2],
                  "",
                  "r: INFO: CALIBRATION LIBRARY   : name:" + stub,
                  blank + " arg[0]:gain",
                  blank + " arg[1]:2",
              }));
}

TEST_F(TrackerReport, WideValuesOverflowTheirFieldAndUnorderedTrackersAreLeftOut) {
    handler.numTrackers = 2;
    handler.setTrackerCount(2);
    handler.initTracker(2, 1, nullptr, nullptr, nullptr);
    const Lines lines = reportAfter(
        {{"cavecoord", "on"},
         {"sensorrotationmatrix", "1", "1", "0", "0", "0", "1", "0", "0", "0", "1"},
         {"sensorrotationmatrix", "2", "123.4567", "0", "0", "0", "-0.25", "0", "0", "0", "1"},
         {"calibration", "/nonexistent/libcalibration.so"}});
    EXPECT_EQ(lines, (Lines{
                         "r: INFO: CAVE COORDINATES      : Used",
                         "r: INFO: TRACKER ORDER         : <Real tra> -> <Output tra>",
                         blank + " 2->1",
                         "r: INFO: SENSOR ROTATION       : 2 [0][0]:123.457 [0][1]: 0.000 [0][2]: "
                         "0.000",
                         blank + " 2 [1][0]: 0.000 [1][1]:-0.250 [1][2]: 0.000",
                         blank + " 2 [2][0]: 0.000 [2][1]: 0.000 [2][2]: 1.000",
                         "",
                         "r: INFO: SENSOR TRANSFORM      : 2 [0][0]:123.457 [0][1]: 0.000 [0][2]: "
                         "0.000",
                         blank + " 2 [1][0]: 0.000 [1][1]:-0.250 [1][2]: 0.000",
                         blank + " 2 [2][0]: 0.000 [2][1]: 0.000 [2][2]: 1.000",
                         "",
                         "r: INFO: CALIBRATION LIBRARY   : name:/nonexistent/libcalibration.so",
                     }));
}

}  // namespace
