// The reference host run as a user runs it: exit codes, messages, and what reaches the module and
// comes back from the storages, against the real module and against a scripted stand-in.

#include <gtest/gtest.h>
#include <signal.h>

#include <cmath>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "host_process.h"
#include "temp_file.h"
#include "test_emulator.h"
#include "text_lines.h"

namespace {

std::vector<std::string> host(const std::vector<std::string>& args) {
    return underTestEmulator(PENDAX_HOST_PATH, args);
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(HostProgram, HelpExitsZeroListingTheOptions) {
    const ProcessResult run = runProgram(host({"--help"}));
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err, "");
    for (const char* option : {"Usage: pendax-host [options] [CONFIG]", "--port NAME", "--json",
                               "--preload-controllers N", "Exit status"}) {
        EXPECT_TRUE(contains(run.out, option)) << option;
    }
}

TEST(HostProgram, CommandLineMistakesExitTwoWithUsage) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"--bogus"}, {"--count", "many"}, {"a.cfg", "b.cfg"}}) {
        SCOPED_TRACE(args.front());
        const ProcessResult run = runProgram(host(args));
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_TRUE(contains(run.err, "Usage: pendax-host [options] [CONFIG]")) << run.err;
    }
    EXPECT_TRUE(contains(runProgram(host({"--bogus"})).err, "unknown option --bogus"));
}

TEST(HostProgram, ConfigurationFileErrorsExitTwoNamingFileAndLine) {
    std::string tooManyOptions = "# 33 options\n";
    for (int i = 0; i < 33; ++i) {
        tooManyOptions += "baud 9600\n";
    }
    const TempFile manyOptions(tooManyOptions);
    std::string tooManyArgs = "port com1\n\n# 65 arguments\nbuttonorder";
    for (int i = 0; i < 65; ++i) {
        tooManyArgs += " 1";
    }
    const TempFile manyArgs(tooManyArgs + "\n");
    const TempFile endless(std::string(2 << 20, '0'));  // as /dev/zero reads, but with an end
    const TempFile binary(std::string("port a\n\x01\x02\n", 10));
    struct Case {
        std::string path;
        std::string message;
    };
    const Case cases[] = {
        {manyOptions.path, manyOptions.path + ":34: too many options"},
        {manyArgs.path, manyArgs.path + ":4: too many arguments for \"buttonorder\" (65)"},
        {endless.path, endless.path + ":1: the file is larger than 1048576 bytes"},
        {binary.path, binary.path + ":2: control character 0x01 in the line"},
        {"/nonexistent/pendax.cfg",
         "cannot read /nonexistent/pendax.cfg: No such file or directory"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        const ProcessResult run = runProgram(host({c.path}));
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(contains(run.err, "pendax-host: " + c.message)) << run.err;
        EXPECT_EQ(run.out, "") << "the module was not even loaded";
    }
}

TEST(HostProgram, ModuleThatCannotBeLoadedExitsTwo) {
    const ProcessResult run = runProgram(host({"--module", "/nonexistent/libpendax.so"}));
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(contains(run.err, "cannot load the module /nonexistent/libpendax.so"));
}

TEST(HostProgram, PortThatDoesNotExistMakesInitFailAndExitsOne) {
    const ProcessResult run =
        runProgram(host({"--port", "/dev/pendax-no-such-port", "--count", "1"}));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(contains(run.err, "pendax-host: the module refused: init failed")) << run.err;
}

TEST(HostProgram, ModuleGetsTheFileLinesThenThePortOptionTheNameAndTheLogger) {
    const TempFile config("# box on the desk\nport /dev/ttyS0\n\nbaud 9600   # slow line\n");
    const ProcessResult run =
        runProgram(host({"--module", SCRIPTED_MODULE_PATH, "--count", "0", "--name", "desk",
                         "--debug", "4", "--port", "/dev/ttyUSB1", config.path}));
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(linesOf(run.out), (std::vector<std::string>{
                                    "scripted: init desk with logger pendax-host debug 4",
                                    "scripted: line 2: port /dev/ttyS0",
                                    "scripted: line 4: baud 9600",
                                    "scripted: line 0: port /dev/ttyUSB1",
                                    "pendax-host: configure returned data type 3 (controller data)",
                                    "scripted: start",
                                    "pendax-host: 0 cycles: 0 published, 0 unchanged, 0 empty, 0 "
                                    "failed, 0 reconnections",
                                    "pendax-host: 0.0 cycles/s, 0.000 of the line's 38.4 at 9600 "
                                    "baud; cycle median 0.00 ms, 99th percentile 0.00 ms, largest "
                                    "0.00 ms",
                                    "scripted: stop",
                                    "scripted: deleteDev",
                                }));
}

TEST(HostProgram, RefusedInitExitsOneAfterDeletingTheDevice) {
    const TempFile config("refuse\n");
    const ProcessResult run =
        runProgram(host({"--module", SCRIPTED_MODULE_PATH, "--count", "5", config.path}));
    EXPECT_EQ(run.exitCode, 1);
    const std::vector<std::string> lines = linesOf(run.out);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "scripted: deleteDev") << "no start, no stop after a failed init";
    EXPECT_FALSE(contains(run.out, "scripted: stop"));
}

TEST(HostProgram, JsonHoldsEveryPublishedRecordReadBackFromItsStoragePosition) {
    const TempFile config("tracker\n");
    const TempFile json("");
    const ProcessResult run =
        runProgram(host({"--module", SCRIPTED_MODULE_PATH, "--count", "2", "--json", json.path,
                         "--preload-controllers", "2", "--preload-trackers", "1", config.path}));
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(contains(run.out, "2 cycles: 2 published, 0 unchanged, 0 empty, 0 failed"));

    std::ifstream written(json.path);
    std::stringstream text;
    text << written.rdbuf();
    const std::string buttonsOne = "[1,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0]";
    const std::string buttonsTwo = "[0,1,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0]";
    EXPECT_EQ(linesOf(text.str()),
              (std::vector<std::string>{
                  "{\"kind\":\"controller\",\"id\":3,\"time\":1765321235.250,\"valuators\":[0.500,"
                  "-0.250,0.000,0.000,0.000,0.000,0.000,0.000],\"buttons\":" +
                      buttonsOne + "}",
                  "{\"kind\":\"tracker\",\"id\":2,\"time\":1765321235.250,\"pose\":[1.00000,"
                  "-1.50000,0.00000,0.00000,0.00000,0.00000]}",
                  "{\"kind\":\"controller\",\"id\":3,\"time\":1765321236.250,\"valuators\":[1.000,"
                  "-0.250,0.000,0.000,0.000,0.000,0.000,0.000],\"buttons\":" +
                      buttonsTwo + "}",
                  "{\"kind\":\"tracker\",\"id\":2,\"time\":1765321236.250,\"pose\":[2.00000,"
                  "-1.50000,0.00000,0.00000,0.00000,0.00000]}",
              }));
}

TEST(HostProgram, StopSignalsEndPollingCleanly) {
    for (const int stopSignal : {SIGINT, SIGTERM}) {
        SCOPED_TRACE(stopSignal);
        // JSON on standard output: the log moves to standard error.
        ChildProcess child(host({"--module", SCRIPTED_MODULE_PATH, "--rate", "20", "--json", "-"}));
        ASSERT_TRUE(child.waitForOutput("{\"kind\":\"controller\""));
        child.signal(stopSignal);
        const ProcessResult run = child.finish();
        EXPECT_EQ(run.exitCode, 0);
        for (const std::string& line : linesOf(run.out)) {
            EXPECT_EQ(line.rfind("{\"kind\":\"controller\",\"id\":1,", 0), 0u) << line;
        }
        const std::vector<std::string> log = linesOf(run.err);
        ASSERT_GE(log.size(), 4u);
        EXPECT_TRUE(contains(log[log.size() - 4], " published, ")) << log[log.size() - 4];
        EXPECT_TRUE(contains(log[log.size() - 3], " cycles/s, ")) << log[log.size() - 3];
        EXPECT_EQ(log[log.size() - 2], "scripted: stop");
        EXPECT_EQ(log[log.size() - 1], "scripted: deleteDev");
    }
}

// The real module against the virtual box, end to end: what the storage holds comes out as JSON.
TEST(HostProgram, VirtualBoxSamplesReachTheJsonThroughTheRealModule) {
    const TempFile config("valuatorscale 1 2 all\n");
    const ProcessResult run =
        runProgram(host({"--sim", "--motion", "--rate", "100", "--count", "30", "--json", "-",
                         "--preload-controllers", "2", config.path}));
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(contains(run.err, "CPendax: KT512-H.")) << run.err;
    EXPECT_TRUE(contains(run.err, "configure returned data type 3 (controller data)")) << run.err;
    EXPECT_TRUE(contains(run.err, "30 cycles: ")) << run.err;

    const std::regex record(
        "\\{\"kind\":\"controller\",\"id\":3,\"time\":[0-9]+\\.[0-9]{3},"
        "\"valuators\":\\[(-?[0-9]\\.[0-9]{3},){7}-?[0-9]\\.[0-9]{3}\\],"
        "\"buttons\":\\[([01],){23}[01]\\]\\}");
    const std::vector<std::string> lines = linesOf(run.out);
    EXPECT_GE(lines.size(), 2u);  // the inputs move for 0.3 s, so samples change
    std::string previous;
    for (const std::string& line : lines) {
        EXPECT_TRUE(std::regex_match(line, record)) << line;
        const std::size_t valuators = line.find("\"valuators\"");
        EXPECT_NE(line.substr(valuators), previous);  // only changed samples are published
        previous = line.substr(valuators);
        // Raw values run from -1 to +1; the scale of 2 doubles them.
        std::istringstream values(line.substr(valuators + 14));
        for (double value = 0.0; values >> value; values.ignore(1)) {
            EXPECT_LE(std::abs(value), 2.0) << line;
            if (values.peek() == ']') {
                break;
            }
        }
    }
}

// The example configurations the README shows, run as it tells a user to run them.
TEST(HostProgram, ExampleConfigurationsRunAgainstTheVirtualBox) {
    const std::string examples = PENDAX_EXAMPLES_DIR;
    const ProcessResult plain =
        runProgram(host({"--sim", "--count", "5", examples + "/pendax.cfg"}));
    EXPECT_EQ(plain.exitCode, 0) << plain.err;
    EXPECT_TRUE(contains(plain.out, " 1->2(2X) 2->1(2X) 3->3(0.5X^3+0.5X)")) << plain.out;
    EXPECT_TRUE(contains(plain.out, "configure returned data type 3 (controller data)"));
    EXPECT_TRUE(contains(plain.out, "5 cycles: 1 published, 4 unchanged, 0 empty, 0 failed"))
        << plain.out;

    const ProcessResult flying =
        runProgram(host({"--sim", "--motion", "--seconds", "1", "--json", "-",
                         "--preload-trackers", "2", examples + "/tracker.cfg"}));
    EXPECT_EQ(flying.exitCode, 0) << flying.err;
    for (const char* line : {"TRACKER EMULATION     : As tracker[1]",
                             "TRANSMITTER ROTATION  : [0][0]: 0.000 [0][1]: 1.000 [0][2]: 0.000",
                             "SENSOR OFFSET         : 1 X:0.000 Y:0.000 Z:0.328",
                             "configure returned data type 1 (controller and tracker data)"}) {
        EXPECT_TRUE(contains(flying.err, line)) << line;
    }
    const std::regex tracker(
        "\\{\"kind\":\"tracker\",\"id\":3,\"time\":[0-9.]+,"
        "\"pose\":\\[([-0-9.]+),([-0-9.]+),([-0-9.]+),.*");
    std::vector<double> heights;
    for (const std::string& line : linesOf(flying.out)) {
        std::smatch pose;
        if (std::regex_match(line, pose, tracker)) {
            heights.push_back(std::stod(pose[3]));
        }
    }
    ASSERT_GE(heights.size(), 2u);
    EXPECT_EQ(heights.front(), 5.0);  // where it begins
    EXPECT_NE(heights.back(), 5.0);   // the moving box flies it
}

TEST(HostProgram, RefusedSetUpLeavesEveryCycleFailing) {
    const ProcessResult run = runProgram(host({"--sim=kt256", "--count", "3", "--json", "-"}));
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(contains(run.err, "CPendax: Digital inputs 19-24 not supported by KT256."));
    EXPECT_TRUE(contains(run.err, "CPendax: No chars in input buffer."));
    EXPECT_TRUE(contains(run.err, "3 cycles: 0 published, 0 unchanged, 0 empty, 3 failed"));
}

}  // namespace
