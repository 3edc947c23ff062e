#include "platform/logger.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "plain_logger.h"
#include "platform/sys/sys.h"
#include "stdout_capture.h"

namespace {

struct PrefixCase {
    bool date;
    bool time;
    bool thread;
};

class LoggerPrefix : public testing::TestWithParam<PrefixCase> {};

TEST_P(LoggerPrefix, EveryLevelWritesItsWholeLine) {
    const PrefixCase flags = GetParam();
    CLogH logger;
    logger.showDate = flags.date;
    logger.showTime = flags.time;
    logger.showThreadId = flags.thread;
    logger.debugSetting = 1;
    logger.setName("unit");

    std::string prefix = "^";
    if (flags.date) {
        prefix += "[A-Z][a-z]{2} [0-9]{2} ";
    }
    if (flags.time) {
        prefix += "[0-9]{2}:[0-9]{2}:[0-9]{2} ";
    }
    prefix += "unit";
    if (flags.thread) {
        prefix += "\\[" + std::to_string(sys::currentThreadId()) + "\\]";
    }
    prefix += ": ";

    StdoutCapture out;
    logger.info("CX: one", true);
    logger.error("CX: two", true);
    logger.warning("CX: three", true);
    logger.debug("CX: four", true);
    logger.debugf("CX: %s %d\n", "five", 5);

    const auto lines = out.lines();
    ASSERT_EQ(lines.size(), 5u);
    const char* expected[] = {"INFO: CX: one", "ERROR: CX: two", "WARNING: CX: three",
                              "DEBUG: CX: four", "DEBUG: CX: five 5"};
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_TRUE(std::regex_match(lines[i], std::regex(prefix + expected[i] + "$"))) << lines[i];
    }
}

INSTANTIATE_TEST_SUITE_P(AllFlagCombinations, LoggerPrefix,
                         testing::Values(PrefixCase{false, false, false},
                                         PrefixCase{true, false, false},
                                         PrefixCase{false, true, false},
                                         PrefixCase{false, false, true},
                                         PrefixCase{true, true, true}));

TEST(Logger, DefaultsAreTheHostContract) {
    CLogH logger;
    EXPECT_TRUE(logger.showDate && logger.showTime && logger.showThreadId && logger.enabled);
    EXPECT_STREQ(logger.name, "MESSAGE");
    EXPECT_STREQ(logger.levelWords[0], "INFO");
    EXPECT_STREQ(logger.levelWords[1], "ERROR");
    EXPECT_STREQ(logger.levelWords[2], "WARNING");
    EXPECT_STREQ(logger.levelWords[3], "DEBUG");
    EXPECT_EQ(logger.debugLevel, 1);
    EXPECT_EQ(logger.debugSetting, 0);
    EXPECT_EQ(logger.debugId, 0);
}

struct FilterCase {
    int setting;
    int level;
    int id;
    bool shown;
};

class DebugFilter : public testing::TestWithParam<FilterCase> {};

TEST_P(DebugFilter, DecidesDebugOutput) {
    const FilterCase c = GetParam();
    CLogH logger = plainLogger("f", c.setting);
    logger.setDebugLevel(c.level);
    logger.setDebugId(c.id);
    EXPECT_EQ(logger.isDebugOn(), c.shown);

    StdoutCapture out;
    logger.debug("CX: d", true);
    logger.debugf("CX: f\n");
    EXPECT_EQ(out.text(), c.shown ? "f: DEBUG: CX: d\nf: DEBUG: CX: f\n" : "");
}

INSTANTIATE_TEST_SUITE_P(Table, DebugFilter,
                         testing::Values(FilterCase{0, 0, 0, false}, FilterCase{0, 1, 1, false},
                                         FilterCase{3, 4, 3, true}, FilterCase{2, 4, 3, false},
                                         FilterCase{5, 4, 0, true}, FilterCase{4, 4, 0, true},
                                         FilterCase{-1, -2, 0, true}, FilterCase{-1, 4, -1, true}));

TEST(Logger, OpenLinesAreContinuedByTheCaller) {
    CLogH logger = plainLogger("p", 1);
    StdoutCapture out;
    logger.info("CX: value ", false);
    std::cout << 42 << std::endl;
    logger.debugf("CX: open");
    std::cout << " closed" << std::endl;
    EXPECT_EQ(out.text(), "p: INFO: CX: value 42\np: DEBUG: CX: open closed\n");
}

TEST(Logger, DisabledWritesNothingButStillAnswersTheFilter) {
    CLogH logger = plainLogger("x", 1);
    logger.enabled = false;
    StdoutCapture out;
    logger.info("a", true);
    logger.error("b", true);
    logger.warning("c", true);
    logger.debug("d", true);
    logger.debugf("e\n");
    EXPECT_EQ(out.text(), "");
    EXPECT_TRUE(logger.isDebugOn());
}

TEST(Logger, LongTextsAreCutNotOverrun) {
    CLogH logger = plainLogger("n", 1);
    const std::string longName(300, 'p');
    logger.setName(longName.c_str());
    EXPECT_EQ(std::string(logger.name), longName.substr(0, 99));

    CLogH formatter = plainLogger("f", 1);
    StdoutCapture out;
    formatter.debugf("CRS232H: Opening %s.\n", longName.c_str());
    const auto lines = out.lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], "f: DEBUG: " + ("CRS232H: Opening " + longName).substr(0, 254));
}

TEST(Logger, OwnedLoggerCopiesTheCreatorsWhole) {
    CLogH host = plainLogger("host", 7);
    host.setDebugLevel(5);
    host.showThreadId = true;
    CLogH* copy = makeOwnedLogger(&host, "CIgnored", 3);
    host.setName("renamed later");
    host.debugSetting = 0;

    EXPECT_STREQ(copy->name, "host");
    EXPECT_EQ(copy->debugSetting, 7);
    EXPECT_EQ(copy->debugLevel, 5);
    EXPECT_TRUE(copy->showThreadId);
    EXPECT_FALSE(copy->showDate);
    EXPECT_EQ(copy->debugId, 3);
    delete copy;

    CLogH* fresh = makeOwnedLogger(nullptr, "CFresh", 4);
    EXPECT_STREQ(fresh->name, "CFresh");
    EXPECT_EQ(fresh->debugId, 4);
    EXPECT_EQ(fresh->debugSetting, 0);
    delete fresh;
}

}  // namespace
