#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "command_line.h"

namespace {

CommandLine parse(std::vector<const char*> args) {
    args.insert(args.begin(), "pendax-host");
    return parseCommandLine(static_cast<int>(args.size()), args.data());
}

TEST(HostCommandLine, DefaultsWithoutArguments) {
    const CommandLine parsed = parse({});
    ASSERT_TRUE(parsed.ok());
    const HostOptions& o = parsed.options;
    EXPECT_EQ(o.configPath, "");
    EXPECT_EQ(o.deviceName, "pendax");
    EXPECT_FALSE(o.port);
    EXPECT_EQ(o.modulePath, "");
    EXPECT_EQ(o.debugSetting, 0);
    EXPECT_EQ(o.rate, 0.0);
    EXPECT_FALSE(o.cycles);
    EXPECT_FALSE(o.seconds);
    EXPECT_FALSE(o.jsonPath);
    EXPECT_EQ(o.preloadControllers, 0u);
    EXPECT_EQ(o.preloadTrackers, 0u);
    EXPECT_FALSE(o.help);
}

TEST(HostCommandLine, EveryOptionInBothSpellings) {
    const CommandLine parsed =
        parse({"--port", "/dev/ttyUSB0", "--name=box2", "--module", "/opt/libpendax.so",
               "--debug=-3", "--rate", "62.5", "--count=0", "--seconds", "1.5", "--json=-",
               "--preload-controllers", "32", "--preload-trackers=3", "box.cfg"});
    ASSERT_TRUE(parsed.ok()) << parsed.error;
    const HostOptions& o = parsed.options;
    EXPECT_EQ(o.configPath, "box.cfg");
    EXPECT_EQ(o.port, "/dev/ttyUSB0");
    EXPECT_EQ(o.deviceName, "box2");
    EXPECT_EQ(o.modulePath, "/opt/libpendax.so");
    EXPECT_EQ(o.debugSetting, -3);
    EXPECT_EQ(o.rate, 62.5);
    EXPECT_EQ(o.cycles, 0u);
    EXPECT_EQ(o.seconds, 1.5);
    EXPECT_EQ(o.jsonPath, "-");
    EXPECT_EQ(o.preloadControllers, 32u);
    EXPECT_EQ(o.preloadTrackers, 3u);
}

TEST(HostCommandLine, ConfigMayComeFirstOrAfterTheOptionsEnd) {
    EXPECT_EQ(parse({"box.cfg", "--count", "5"}).options.configPath, "box.cfg");
    EXPECT_EQ(parse({"--", "--odd.cfg"}).options.configPath, "--odd.cfg");
    EXPECT_TRUE(parse({"-h"}).options.help);
    EXPECT_TRUE(parse({"box.cfg", "--help"}).options.help);
}

TEST(HostCommandLine, VirtualBoxTakesItsBoardOnlyAfterEquals) {
    const CommandLine plain = parse({"--sim", "box.cfg"});
    ASSERT_TRUE(plain.ok()) << plain.error;
    EXPECT_EQ(plain.options.configPath, "box.cfg");  // not taken as the board
    ASSERT_TRUE(plain.options.sim.has_value());
    EXPECT_EQ(plain.options.sim->type, 3);
    EXPECT_FALSE(plain.options.motion);

    const CommandLine kt256 = parse({"--sim=kt256", "--motion"});
    ASSERT_TRUE(kt256.ok()) << kt256.error;
    EXPECT_EQ(kt256.options.sim->type, 2);
    EXPECT_TRUE(kt256.options.motion);
}

TEST(HostCommandLine, MistakesAreNamed) {
    struct Case {
        std::vector<const char*> args;
        const char* error;
    };
    const Case cases[] = {
        {{"--bogus"}, "unknown option --bogus"},
        {{"-x"}, "unknown option -x"},
        {{"--port"}, "--port needs a value"},
        {{"--port="}, "--port needs a non-empty value, not \"\""},
        {{"--count", "12abc"}, "--count takes a whole number of cycles, 0 or more, not \"12abc\""},
        {{"--count", "-1"}, "--count takes a whole number of cycles, 0 or more, not \"-1\""},
        {{"--rate", "0"}, "--rate takes a number of cycles per second above 0, not \"0\""},
        {{"--rate", "inf"}, "--rate takes a number of cycles per second above 0, not \"inf\""},
        {{"--seconds", "-0.5"}, "--seconds takes a number of seconds, 0 or more, not \"-0.5\""},
        {{"--debug", "99999999999"}, "--debug takes a whole number, not \"99999999999\""},
        {{"--preload-trackers", "33"},
         "--preload-trackers takes a whole number from 0 to 32, not \"33\""},
        {{"a.cfg", "b.cfg"}, "only one CONFIG may be given; \"b.cfg\" is a second one"},
        {{"--sim=kt999"}, "--sim takes the board kt512 or kt256, not \"kt999\""},
        {{"--sim", "--motion=fast"}, "--motion takes no value"},
        {{"--motion"}, "--motion moves the virtual box's inputs; it goes with --sim"},
        {{"--sim", "--port", "/dev/ttyS0"},
         "--sim and --port name two different lines; give one of them"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.front());
        EXPECT_EQ(parse(c.args).error, c.error);
    }
}

}  // namespace
