#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "config_builder.h"
#include "controller/con_common.h"
#include "option_table.h"
#include "plain_logger.h"
#include "stdout_capture.h"

namespace {

using Lines = OptionLines;
using Scale = std::array<float, 4>;

Scale scaleOf(const ControllerEntry& entry, std::uint32_t real) {
    const float* c = entry.valuatorScale[real - 1];
    return {c[0], c[1], c[2], c[3]};
}

// The output numbers of the first n real channels.
std::vector<std::uint32_t> mapOf(const std::uint32_t* order, std::size_t n = 8) {
    return {order, order + n};
}

struct OptionCase {
    const char* name;
    Lines lines;
    std::vector<std::string> messages;  // after the logger's "c: ERROR: "
    bool result;
    std::vector<int> used;
    std::function<void(const ControllerEntry&)> check;
    bool inputConnector = true;
};

const Scale identity{0, 0, 1, 0};

const OptionCase optionCases[] = {
    {"valuator order in any letter case swaps two valuators",
     {{"ValuatorOrder", "1", "2", "1"}},
     {},
     true,
     {1},
     [](const ControllerEntry& e) {
         EXPECT_EQ(e.numValuators, 2u);
         EXPECT_EQ(mapOf(e.valuatorOrder), (std::vector<std::uint32_t>{2, 1, 0, 0, 0, 0, 0, 0}));
     }},
    {"valuator order 3 1 2 publishes three and drops the rest",
     {{"valuatororder", "1", "3", "1", "2"}},
     {},
     true,
     {1},
     [](const ControllerEntry& e) {
         EXPECT_EQ(e.numValuators, 3u);
         EXPECT_EQ(mapOf(e.valuatorOrder), (std::vector<std::uint32_t>{2, 3, 1, 0, 0, 0, 0, 0}));
     }},
    {"zeros leave output positions empty",
     {{"valuatororder", "1", "0", "-", "3"}},
     {},
     true,
     {1},
     [](const ControllerEntry& e) {
         EXPECT_EQ(e.numValuators, 3u);
         EXPECT_EQ(mapOf(e.valuatorOrder), (std::vector<std::uint32_t>{0, 0, 3, 0, 0, 0, 0, 0}));
     }},
    {"controller number alone empties the map",
     {{"buttonorder", "1"}},
     {},
     true,
     {1},
     [](const ControllerEntry& e) {
         EXPECT_EQ(e.numButtons, 0u);
         EXPECT_EQ(mapOf(e.buttonOrder, 24), std::vector<std::uint32_t>(24, 0));
     }},
    {"button order reverses three buttons",
     {{"buttonorder", "1", "3", "2", "1"}},
     {},
     true,
     {1},
     [](const ControllerEntry& e) {
         EXPECT_EQ(e.numButtons, 3u);
         EXPECT_EQ(mapOf(e.buttonOrder, 4), (std::vector<std::uint32_t>{3, 2, 1, 0}));
     }},
    {"order without arguments",
     {{"valuatororder"}},
     {"Incomplete option line found for Order at line 1."},
     false,
     {0},
     nullptr},
    {"order for a controller that does not exist",
     {{"valuatororder", "2", "1"}, {"buttonorder", "0"}},
     {"Invalid controller ID found for Order option at line 1.",
      "Invalid controller ID found for Order option at line 2."},
     false,
     {0, 0},
     nullptr},
    {"order with a word for a channel",
     {{"valuatororder", "1", "x"}},
     {"Invalid arg found for Order at line 1."},
     false,
     {0},
     nullptr},
    {"order naming a channel twice",
     {{"valuatororder", "1", "2", "0", "2"}},
     {"Same ID found more than once in Order option at line 1."},
     false,
     {0},
     [](const ControllerEntry& e) {
         EXPECT_EQ(e.numValuators, 8u);
         EXPECT_EQ(mapOf(e.valuatorOrder), (std::vector<std::uint32_t>{1, 2, 3, 4, 5, 6, 7, 8}));
     }},
    {"order beyond the controller's buttons",
     {{"buttonorder", "1", "25"}},
     {"Invalid ID found in Order option at line 1."},
     false,
     {0},
     nullptr},
    {"negative channel reads far beyond every limit",
     {{"valuatororder", "1", "-1"}},
     {"Invalid ID found in Order option at line 1."},
     false,
     {0},
     nullptr},
    {"a lowered count limits later lines",
     {{"valuatororder", "1", "1", "2"},
      {"valuatororder", "1", "3"},
      {"valuatorscale", "1", "2", "3"}},
     {"Invalid ID found in Order option at line 2.",
      "Invalid valuator ID found for ValuatorScale option at line 3."},
     false,
     {1, 0, 0},
     nullptr},
    {"gain on two valuators",
     {{"valuatorscale", "1", "2.5", "1", "2"}},
     {},
     true,
     {1},
     [](const ControllerEntry& e) {
         EXPECT_EQ(scaleOf(e, 1), (Scale{0, 0, 2.5f, 0}));
         EXPECT_EQ(scaleOf(e, 2), (Scale{0, 0, 2.5f, 0}));
         EXPECT_EQ(scaleOf(e, 3), identity);
     }},
    {"polynomial on all valuators",
     {{"valuatorscale", "1", "[0.5,0,1,-0.25]", "ALL"}},
     {},
     true,
     {1},
     [](const ControllerEntry& e) {
         EXPECT_EQ(scaleOf(e, 1), (Scale{0.5f, 0, 1, -0.25f}));
         EXPECT_EQ(scaleOf(e, 32), (Scale{0.5f, 0, 1, -0.25f}));
     }},
    {"short bracket fills from the cube term",
     {{"valuatorscale", "1", "[1]", "3"}},
     {},
     true,
     {1},
     [](const ControllerEntry& e) {
         EXPECT_EQ(scaleOf(e, 3), (Scale{1, 0, 0, 0}));
     }},
    {"a written zero gain is accepted",
     {{"valuatorscale", "1", "0", "1"}},
     {},
     true,
     {1},
     [](const ControllerEntry& e) {
         EXPECT_EQ(scaleOf(e, 1), (Scale{0, 0, 0, 0}));
     }},
    {"all ends the selection",
     {{"valuatorscale", "1", "2", "all", "99"}},
     {},
     true,
     {1},
     [](const ControllerEntry& e) {
         EXPECT_EQ(scaleOf(e, 8), (Scale{0, 0, 2, 0}));
     }},
    {"scale without arguments, or fewer than three",
     {{"valuatorscale"}, {"valuatorscale", "1", "2"}},
     {"Incomplete option line found for ValuatorScale at line 1.",
      "Incomplete option line found for ValuatorScale at line 2."},
     false,
     {0, 0},
     nullptr},
    {"scale of all zeros in brackets",
     {{"valuatorscale", "1", "[0,0,0,0]", "1"}},
     {"Incomplete option line found for ValuatorScale at line 1."},
     false,
     {0},
     [](const ControllerEntry& e) { EXPECT_EQ(scaleOf(e, 1), identity); }},
    {"scale for a controller that does not exist",
     {{"valuatorscale", "x", "2", "1"}},
     {"Invalid controller ID found for ValuatorScale option at line 1."},
     false,
     {0},
     nullptr},
    {"scale given as a word",
     {{"valuatorscale", "1", "big", "1"}},
     {"Invalid arg found for ValuatorScale at line 1."},
     false,
     {0},
     nullptr},
    {"scale naming a valuator out of range",
     {{"valuatorscale", "1", "2", "1", "99", "all"}},
     {"Invalid valuator ID found for ValuatorScale option at line 1."},
     false,
     {0},
     [](const ControllerEntry& e) { EXPECT_EQ(scaleOf(e, 1), identity); }},
    {"controller order is left alone on an input connector",
     {{"controllerorder", "1"}},
     {},
     true,
     {0},
     [](const ControllerEntry& e) { EXPECT_EQ(e.outputId, 1u); }},
    {"controller order reads only as many as are published",
     {{"unitorder", "1", "5"}},
     {},
     true,
     {1},
     [](const ControllerEntry& e) { EXPECT_EQ(e.outputId, 1u); },
     false},
    {"controller order naming a missing controller",
     {{"order", "2"}},
     {"Invalid controller ID found for Order option at line 1."},
     false,
     {0},
     nullptr,
     false},
    {"faulty lines are all reported, good ones still applied",
     {{"valuatororder"},
      {"port", "com1"},
      {"valuatorscale", "1", "3", "2"},
      {"buttonorder", "1", "x"},
      {"emulatetracker", "1"}},
     {"Incomplete option line found for Order at line 1.", "Invalid arg found for Order at line 4.",
      "Incomplete option line found for EmulateTracker at line 5."},
     false,
     {0, 0, 1, 0, 0},
     [](const ControllerEntry& e) {
         EXPECT_EQ(scaleOf(e, 2), (Scale{0, 0, 3, 0}));
     }},
    {"no controller keywords at all",
     {{"port", "com1"}, {"baud", "9600"}},
     {},
     true,
     {0, 0},
     nullptr},
};

class ControllerOptions : public testing::TestWithParam<OptionCase> {};

TEST_P(ControllerOptions, ApplyOrReportEachLine) {
    const OptionCase& c = GetParam();
    const CLogH log = plainLogger("c");
    CConCommonH handler(&log);
    handler.inputConnector = c.inputConnector;
    handler.numOutputControllers = 1;
    ASSERT_TRUE(handler.setControllerCount(1, true));
    ASSERT_TRUE(handler.setController(1, 1, 8, 24));
    EXPECT_EQ(runOptionLines(c.lines, "c", c.messages, c.used,
                             [&](DeviceConfig* config) { return handler.parseOptions(config); }),
              c.result);
    if (c.check) {
        c.check(*handler.controller(1));
    }
}

INSTANTIATE_TEST_SUITE_P(Table, ControllerOptions, testing::ValuesIn(optionCases), CaseName());

TEST(ControllerHandler, WithoutCountLimitOrdersReachAll32Channels) {
    const CLogH log = plainLogger("c");
    CConCommonH handler(&log);
    ASSERT_TRUE(handler.setControllerCount(1, false));
    ASSERT_TRUE(handler.setController(1, 1, 8, 24));
    ConfigBuilder config{{"buttonorder", "1", "25"}};
    EXPECT_TRUE(handler.parseOptions(config.get()));
    EXPECT_EQ(handler.controller(1)->numButtons, 25u);
    EXPECT_EQ(handler.controller(1)->buttonOrder[24], 1u);
}

TEST(ControllerHandler, StructuralFaultsEndTheParse) {
    const CLogH log = plainLogger("c");
    CConCommonH handler(&log);
    ConfigBuilder config{{"valuatororder", "1"}};
    StdoutCapture out;
    EXPECT_FALSE(handler.parseOptions(config.get()));
    handler.setControllerCount(1, true);
    EXPECT_FALSE(handler.parseOptions(nullptr));
    EXPECT_EQ(out.lines(), (std::vector<std::string>{"c: ERROR: CConCommonH: lookup Null",
                                                     "c: ERROR: CConCommonH: config empty"}));
}

TEST(ControllerHandler, SizingAndSettingControllers) {
    CConCommonH handler(nullptr);
    EXPECT_FALSE(handler.setControllerCount(0, true));
    EXPECT_FALSE(handler.setController(1, 1, 8, 24));
    EXPECT_FALSE(handler.clear());
    ASSERT_TRUE(handler.setControllerCount(2, true));
    EXPECT_FALSE(handler.setController(3, 1, 8, 24));
    EXPECT_FALSE(handler.setController(1, 1, 33, 24));
    ASSERT_TRUE(handler.setController(2, 7, 4, 3));
    const ControllerEntry& entry = *handler.controller(2);
    EXPECT_EQ(entry.outputId, 7u);
    EXPECT_EQ(mapOf(entry.valuatorOrder, 5), (std::vector<std::uint32_t>{1, 2, 3, 4, 0}));
    EXPECT_EQ(mapOf(entry.buttonOrder, 4), (std::vector<std::uint32_t>{1, 2, 3, 0}));
    EXPECT_EQ(handler.controller(1)->outputId, 0u);
    EXPECT_TRUE(handler.clear());
    EXPECT_EQ(handler.numControllers, 0u);
    EXPECT_EQ(handler.controller(1), nullptr);
}

TEST(ControllerHandler, ScalePolynomial) {
    CConCommonH handler(nullptr);
    handler.setControllerCount(1, true);
    handler.setController(1, 1, 8, 24);
    EXPECT_EQ(handler.scaleValuator(1, 1, 0.3f), 0.3f);
    handler.controllers[0].valuatorScale[1][2] = 2.0f;
    handler.controllers[0].valuatorScale[1][3] = 1.0f;
    EXPECT_EQ(handler.scaleValuator(1, 2, 3.0f), 7.0f);
    handler.controllers[0].valuatorScale[2][0] = 0.5f;
    handler.controllers[0].valuatorScale[2][3] = -0.25f;
    EXPECT_EQ(handler.scaleValuator(1, 3, -1.0f), -1.75f);
    EXPECT_EQ(handler.scaleValuator(0, 1, 1.0f), 0.0f);
    EXPECT_EQ(handler.scaleValuator(2, 1, 1.0f), 0.0f);
    EXPECT_EQ(handler.scaleValuator(1, 0, 1.0f), 0.0f);
    EXPECT_EQ(handler.scaleValuator(1, 33, 1.0f), 0.0f);
}

}  // namespace
