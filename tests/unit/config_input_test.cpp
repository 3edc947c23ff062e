#include "config/config_input.h"

#include <gtest/gtest.h>

#include "config/config_checker.h"
#include "config_builder.h"
#include "plain_logger.h"
#include "stdout_capture.h"

namespace {

TEST(ConfigInput, KeywordsMatchIgnoringCaseOnly) {
    struct Case {
        const char* a;
        const char* b;
        int result;
    };
    const Case cases[] = {
        {"port", "port", 0},  {"PORT", "port", 0},   {"Port", "port", 0},
        {"ports", "port", 1}, {" port", "port", -1}, {"baud", "port", -1},
        {"", "", 0},          {nullptr, "", 0},      {"\xe9", "a", 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(compareNoCase(c.a, c.b), c.result) << (c.a != nullptr ? c.a : "(null)");
    }
}

TEST(ConfigInput, IntegersParseInAutomaticBase) {
    struct Case {
        const char* text;
        std::int32_t value;
    };
    const Case cases[] = {
        {"0x10", 16},
        {"010", 8},
        {"-5", -5},
        {"  42", 42},
        {"12ab", 12},
        {"abc", 0},
        {"", 0},
        {nullptr, 0},
        {"0X1f", 31},
        {"99999999999", INT32_MAX},
        {"-99999999999", INT32_MIN},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(parseInt(c.text), c.value) << (c.text != nullptr ? c.text : "(null)");
    }
}

TEST(ConfigInput, OptionErrorsShareOneShape) {
    const CLogH log = plainLogger("dev");
    StdoutCapture out;
    reportOptionError(log, "CPendax: ", "Incomplete option line found for ", "Baud at line ", 7);
    reportOptionError(log, "", "Invalid button ID found for ", "EmulateTracker option at line ", 12,
                      ". Ignored.");
    EXPECT_EQ(out.lines(),
              (std::vector<std::string>{
                  "dev: ERROR: CPendax: Incomplete option line found for Baud at line 7.",
                  "dev: ERROR: Invalid button ID found for EmulateTracker option at line 12. "
                  "Ignored.",
              }));
}

TEST(ConfigChecker, ReportsEveryUnusedLineInFileOrder) {
    ConfigBuilder config;
    config.add(3, {"port", "com1"}).add(5, {"Bogus"}).add(9, {"sensoroffset", "1"});
    config.get()->options[0].used = 1;
    const CLogH log = plainLogger("pendax");
    StdoutCapture out;
    EXPECT_FALSE(CConfigH::reportUnused(config.get(), log));
    EXPECT_EQ(out.lines(), (std::vector<std::string>{
                               "pendax: ERROR: CConfigH: Unknown option \"Bogus\" found at line 5.",
                               "pendax: ERROR: CConfigH: Unknown option \"sensoroffset\" found at "
                               "line 9.",
                           }));

    ConfigBuilder empty;
    out.clear();
    EXPECT_TRUE(CConfigH::reportUnused(empty.get(), log));
    EXPECT_EQ(out.text(), "");
}

TEST(ConfigInput, CountsBeyondTheObjectAreCutWithAnError) {
    ConfigBuilder config;
    config.add(4, {"valuatororder", "1"});
    config.get()->options[0].numArgs = 70;
    config.get()->options[0].keyword = nullptr;
    config.get()->numOptions = 40;
    const CLogH log = plainLogger("pendax");
    StdoutCapture out;
    reportOversizedConfig(*config.get(), log);
    EXPECT_EQ(out.lines(), (std::vector<std::string>{
                               "pendax: ERROR: CConfigH: Too many options, reading the first 32 "
                               "of 40.",
                               "pendax: ERROR: CConfigH: Too many args, reading the first 64 of "
                               "70 at line 4.",
                           }));
    EXPECT_EQ(optionCount(*config.get()), 32u);
    EXPECT_EQ(argCount(config.option(0)), 64u);
    EXPECT_STREQ(keywordOf(config.option(0)), "");
    EXPECT_STREQ(argOf(config.option(0), 1), "");   // a missing argument text reads as empty
    EXPECT_STREQ(argOf(config.option(0), 64), "");  // beyond the limit
}

}  // namespace
