#include <gtest/gtest.h>

#include "config_builder.h"
#include "controller/con_common.h"
#include "plain_logger.h"
#include "stdout_capture.h"

namespace {

const std::string blank = "r: INFO:                       :";

class ControllerReport : public testing::Test {
protected:
    CLogH log = plainLogger("r");
    CConCommonH handler{&log};

    void SetUp() override {
        handler.numOutputControllers = 1;
        handler.setControllerCount(1, true);
        handler.setController(1, 1, 8, 24);
    }

    std::vector<std::string> reportAfter(std::initializer_list<std::vector<std::string>> lines) {
        ConfigBuilder config(lines);
        EXPECT_TRUE(handler.parseOptions(config.get()));
        StdoutCapture out;
        handler.printControllerSettings();
        return out.lines();
    }
};

TEST_F(ControllerReport, DefaultsListEveryChannelWithTheIdentityScale) {
    std::string buttons;
    for (int b = 1; b <= 24; ++b) {
        buttons += " " + std::to_string(b) + "->" + std::to_string(b);
    }
    EXPECT_EQ(
        reportAfter({}),
        (std::vector<std::string>{
            "r: INFO: CONTROLLER ORDER      : <Real con> -> <Output con>",
            blank + " 1->1",
            "r: INFO: VALUATOR ORDER(SCALE) : <Real val> -> <Output val>",
            blank + " 1->1(1X) 2->2(1X) 3->3(1X) 4->4(1X) 5->5(1X) 6->6(1X) 7->7(1X) 8->8(1X)",
            "r: INFO: BUTTON ORDER          : <Real but> -> <Output but>",
            blank + buttons,
        }));
}

TEST_F(ControllerReport, PolynomialsAndOrdersAsConfigured) {
    handler.idOffset = 3;
    const auto lines = reportAfter({{"valuatororder", "1", "3", "0", "1"},
                                    {"valuatorscale", "1", "0", "1"},
                                    {"valuatorscale", "1", "[1,-1,2,0]", "3"},
                                    {"buttonorder", "1", "2", "1"}});
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[1], blank + " 1->4");
    EXPECT_EQ(lines[3], blank + " 1->3() 3->1(1X^3-1X^2+2X)");
    EXPECT_EQ(lines[5], blank + " 1->2 2->1");
}

TEST_F(ControllerReport, SignsJoinTheTerms) {
    const auto lines = reportAfter({{"valuatorscale", "1", "[0.5,0,1,-0.25]", "1"},
                                    {"valuatorscale", "1", "2.5", "2"},
                                    {"valuatorscale", "1", "[0,-3,0,4]", "3"}});
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[3].substr(0, blank.size() + 46),
              blank + " 1->1(0.5X^3+1X-0.25) 2->2(2.5X) 3->3(-3X^2+4)");
}

TEST_F(ControllerReport, EmptyOrdersDropTheirLines) {
    EXPECT_EQ(reportAfter({{"valuatororder", "1"}, {"buttonorder", "1"}}),
              (std::vector<std::string>{
                  "r: INFO: CONTROLLER ORDER      : <Real con> -> <Output con>",
                  blank + " 1->1",
              }));
}

TEST_F(ControllerReport, SeveralControllersAreNamedAndUnpublishedOnesLeftOut) {
    handler.setControllerCount(3, true);
    handler.setController(1, 2, 1, 0);
    handler.setController(2, 0, 8, 8);
    handler.setController(3, 1, 0, 2);
    EXPECT_EQ(reportAfter({}), (std::vector<std::string>{
                                   "r: INFO: CONTROLLER ORDER      : <Real con> -> <Output con>",
                                   blank + " 1->2 3->1",
                                   "r: INFO: VALUATOR ORDER(SCALE) : <Real val> -> <Output val>",
                                   blank + " 1: 1->1(1X)",
                                   "r: INFO: BUTTON ORDER          : <Real but> -> <Output but>",
                                   blank + " 3: 1->1 2->2",
                               }));
}

TEST_F(ControllerReport, TrackerEmulationOfTheOnlyController) {
    ConfigBuilder config{
        {"emulatetracker", "1", "[0.5,-1.25,2,90,0,-45]", "1", "0", "3", "4", "0", "6", "5"}};
    ASSERT_TRUE(handler.parseOptions(config.get()));
    handler.numberEmulatedTrackers(1);
    StdoutCapture out;
    handler.printControllerSettings();
    const auto lines = out.lines();
    ASSERT_EQ(lines.size(), 11u);
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 6, lines.end()),
              (std::vector<std::string>{
                  "r: INFO: TRACKER EMULATION     : As tracker[1]",
                  blank + " Init Values: X=0.5 Y=-1.25 Z=2",
                  blank + " Init Values: Azim=90 Elev=0 Roll=-45",
                  blank + " Val Assign : 1->X 3->Z 4->Azim 6->Roll",
                  blank + " Reset But  : 5",
              }));
}

TEST_F(ControllerReport, TrackerEmulationAmongSeveralControllers) {
    handler.setControllerCount(2, true);
    handler.setController(1, 1, 0, 0);
    handler.setController(2, 2, 0, 0);
    const float init[6] = {};
    const std::uint32_t undriven[6] = {};
    handler.setEmulation(2, 3, init, undriven, 0);
    EXPECT_EQ(reportAfter({}), (std::vector<std::string>{
                                   "r: INFO: CONTROLLER ORDER      : <Real con> -> <Output con>",
                                   blank + " 1->1 2->2",
                                   "r: INFO: TRACKER EMULATION     : 2->tracker[3]",
                                   blank + " 2: Init Values: X=0 Y=0 Z=0",
                                   blank + " 2: Init Values: Azim=0 Elev=0 Roll=0",
                                   blank + " 2: Val Assign :",
                               }));
}

}  // namespace
