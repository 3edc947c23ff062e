// pendax-host.exe and pendax.dll under Wine against pendax-boxsim run natively on a
// pseudo-terminal, which the Wine prefix knows as a COM port: the real Win32 serial, mutex, library
// and console calls, end to end. Run by the Windows build's tests, which hand over where Wine, the
// prefix and the host are (PENDAX_WINE, WINEPREFIX, PENDAX_HOST_EXE).

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "box_program.h"
#include "host_process.h"
#include "temp_file.h"
#include "text_lines.h"

namespace {

std::string environmentValue(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0') {
        throw std::runtime_error(std::string(name) +
                                 " is not set: run this from the Windows build");
    }
    return value;
}

// Wine writes Windows line ends.
std::vector<std::string> windowsLines(const std::string& text) {
    std::vector<std::string> lines = linesOf(text);
    for (std::string& line : lines) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
    }
    return lines;
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// pendax-boxsim serving a line that the prefix maps as COM<number>.
class ComBox {
public:
    ComBox(int number, const std::vector<std::string>& options)
        : program(PENDAX_BOXSIM_PATH, options),
          link(std::filesystem::path(environmentValue("WINEPREFIX")) / "dosdevices" /
               ("com" + std::to_string(number))),
          number(number) {
        const std::string line = program.firstLine();
        if (line.empty() || line.front() != '/') {
            throw std::runtime_error("pendax-boxsim named no line: " + line);
        }
        std::filesystem::remove(link);
        std::filesystem::create_symlink(line, link);
    }
    ~ComBox() {
        std::error_code ignored;
        std::filesystem::remove(link, ignored);
    }
    ComBox(const ComBox&) = delete;
    ComBox& operator=(const ComBox&) = delete;

    // From COM10 on, Windows knows the port only by its device path.
    std::string portName() const {
        const std::string com = "COM" + std::to_string(number);
        return number < 10 ? com : "\\\\.\\" + com;
    }

    // Sets inputs or faults with console commands, and returns once the box has taken them all.
    void set(const std::vector<std::string>& commands) const {
        for (const std::string& command : commands) {
            program.type(command + "\n");
        }
        program.type("stats\n");
        program.errorLine();
    }

private:
    BoxProgram program;
    std::filesystem::path link;
    int number;
};

ProcessResult runHost(const std::vector<std::string>& arguments) {
    std::vector<std::string> command{environmentValue("PENDAX_WINE"),
                                     environmentValue("PENDAX_HOST_EXE")};
    command.insert(command.end(), arguments.begin(), arguments.end());
    return runProgram(command);
}

// The published records' JSON lines, after checking that nothing else reached standard output.
std::vector<std::string> jsonLines(const ProcessResult& run) {
    const std::vector<std::string> lines = windowsLines(run.out);
    for (const std::string& line : lines) {
        EXPECT_EQ(line.rfind("{\"kind\":", 0), 0u) << "not JSON: " << line;
    }
    return lines;
}

struct BoardCase {
    const char* name;
    std::vector<std::string> box;
    std::vector<std::string> dialogue;  // what the module says of the box before polling
    std::string summary;                // the host's count of the cycles
    std::size_t published;
};

void PrintTo(const BoardCase& board, std::ostream* out) {
    *out << board.name;
}

class HostUnderWine : public testing::TestWithParam<BoardCase> {};

// Identification, set-up and polling through the real Win32 port calls, for each board kind; the
// module's log leaves standard output to the JSON although the DLL has a runtime of its own.
TEST_P(HostUnderWine, IdentifiesSetsUpAndPollsEveryBoardKind) {
    const BoardCase& board = GetParam();
    const ComBox box(3, board.box);
    box.set({"analog 1 4095"});
    const ProcessResult run = runHost({"--port", box.portName(), "--count", "20", "--json", "-"});
    EXPECT_EQ(run.exitCode, 0) << run.err;

    std::vector<std::string> dialogue;
    for (const std::string& line : windowsLines(run.err)) {
        if (contains(line, "pendax-host: configure returned")) {
            break;
        }
        const std::size_t at = line.find("CPendax: ");
        if (at != std::string::npos) {
            dialogue.push_back(line.substr(at));
        }
    }
    EXPECT_EQ(dialogue, board.dialogue);
    EXPECT_TRUE(contains(run.err, "pendax-host: 20 cycles: " + board.summary)) << run.err;
    const std::vector<std::string> json = jsonLines(run);
    ASSERT_EQ(json.size(), board.published);
    for (const std::string& line : json) {
        EXPECT_TRUE(contains(line, "\"id\":1,")) << line;
        EXPECT_TRUE(contains(line, "\"valuators\":[1.000,0.000,")) << line;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Boards, HostUnderWine,
    testing::Values(BoardCase{"Kt512RevisionHShortSetUp",
                              {"--board", "kt512", "--revision", "h", "--eprom", "5"},
                              {"CPendax: KT512-H.", "CPendax: Setup OK."},
                              "1 published, 19 unchanged, 0 empty, 0 failed",
                              1},
                    BoardCase{"Kt512RevisionKLongSetUp",
                              {"--board", "kt512", "--revision", "k", "--eprom", "7"},
                              {"CPendax: KT512-K.", "CPendax: Setup OK."},
                              "1 published, 19 unchanged, 0 empty, 0 failed",
                              1},
                    BoardCase{"Kt512RevisionE",
                              {"--board", "kt512", "--revision", "e", "--eprom", "5"},
                              {"CPendax: KT512-E.", "CPendax: Setup OK."},
                              "1 published, 19 unchanged, 0 empty, 0 failed",
                              1},
                    // The module asks for all 24 digital inputs, which a KT256 does not have.
                    BoardCase{"Kt256RefusedForTheUpperInputs",
                              {"--board", "kt256"},
                              {"CPendax: Digital inputs 19-24 not supported by KT256."},
                              "0 published, 0 unchanged, 0 empty, 20 failed",
                              0}),
    [](const testing::TestParamInfo<BoardCase>& info) { return info.param.name; });

// Orders and scales as configured, on a port past COM9 and into a storage where other devices'
// controllers come first.
TEST(HostUnderWineOptions, OrdersAndScalesShapeWhatIsPublished) {
    const ComBox box(12, {});
    box.set(
        {"analog 1 4095", "analog 2 0", "analog 3 0", "analog 4 4095", "button 1 1", "button 3 1"});
    const TempFile config(
        "valuatororder 1 3 1 2\n"
        "buttonorder 1 2 1\n"
        "valuatorscale 1 2.5 1\n"
        "valuatorscale 1 [0,0,-1,0.5] 3\n");
    const ProcessResult run = runHost({"--port", box.portName(), "--count", "5", "--json", "-",
                                       "--preload-controllers", "2", config.path});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    const std::vector<std::string> json = jsonLines(run);
    ASSERT_EQ(json.size(), 1u) << run.err;
    const std::regex time("\"time\":[0-9]+\\.[0-9]{3},");
    EXPECT_EQ(std::regex_replace(json[0], time, ""),
              "{\"kind\":\"controller\",\"id\":3,\"valuators\":[1.500,2.500,-1.000,0.000,0.000,"
              "0.000,0.000,0.000],\"buttons\":[0,1,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0]}");
}

TEST(HostUnderWineOptions, OptionErrorsAreReportedByLineAndInitFails) {
    struct Case {
        std::string config;
        std::string error;
    };
    const Case cases[] = {
        {"# the order\nvaluatororder 1 x\n", "ERROR: Invalid arg found for Order at line 2."},
        {"colour blue\n", "ERROR: CConfigH: Unknown option \"colour\" found at line 1."},
        {"baud 14400\n", "ERROR: CRS232H: Could not set the baud rate 14400"},
    };
    const ComBox box(4, {});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.config);
        const TempFile config(c.config);
        const ProcessResult run = runHost({"--port", box.portName(), config.path});
        EXPECT_EQ(run.exitCode, 1) << run.err;
        EXPECT_TRUE(contains(run.err, "the module refused: init failed")) << run.err;
        std::vector<std::string> errors;
        for (const std::string& line : windowsLines(run.out)) {
            if (contains(line, "ERROR: ")) {
                errors.push_back(line.substr(line.find("ERROR: ")));
            }
        }
        EXPECT_EQ(errors, std::vector<std::string>{c.error});
    }
}

// The emulated tracker through the DLL, with a calibration library that the module loads with
// LoadLibraryA and releases when it is deleted.
TEST(HostUnderWineOptions, TrackerIsPublishedAndTheCalibrationLibraryLoaded) {
    const ComBox box(7, {});
    box.set({"analog 3 4095"});
    const std::string library = environmentValue("PENDAX_CALIBRATION_DLL");
    const TempFile config("emulatetracker 1 [0,0,5,0,0,0] 1 2 3 4 5 6 24\ncalibration " + library +
                          "\n");
    const ProcessResult run = runHost(
        {"--port", box.portName(), "--count", "5", "--json", "-", "--debug", "3", config.path});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(contains(run.err, "CDynamicLibH: " + library + " library loaded.")) << run.err;
    EXPECT_TRUE(contains(run.err, "configure returned data type 1 (controller and tracker data)"));
    const std::vector<std::string> log = windowsLines(run.err);
    ASSERT_FALSE(log.empty());
    EXPECT_TRUE(contains(log.back(), "CPendax: \"destructor\" called.")) << log.back();
    EXPECT_TRUE(contains(run.err, "CDynamicLibH: \"unload\" called."));
    bool tracker = false;
    for (const std::string& line : jsonLines(run)) {
        tracker = tracker || line.rfind("{\"kind\":\"tracker\",\"id\":1,", 0) == 0;
    }
    EXPECT_TRUE(tracker) << run.out;
}

// No cycle waits longer than its read bound for a box that says nothing: a silent box does not
// hold the host. The time limit is a generous guard against a hang, nothing finer.
TEST(HostUnderWineFaults, SilentBoxEndsEveryCycleEmpty) {
    const ComBox box(5, {"--fault", "silent"});
    const auto start = std::chrono::steady_clock::now();
    const ProcessResult run = runHost({"--port", box.portName(), "--count", "10"});
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(contains(run.out, "10 cycles: 0 published, 0 unchanged, 10 empty, 0 failed"))
        << run.out;
    EXPECT_LT(elapsed, std::chrono::seconds(40));
}

// A port that does not exist: one line with the system's own text, and no empty line after it.
TEST(HostUnderWineFaults, MissingPortFailsInitWithTheSystemsText) {
    const ProcessResult run = runHost({"--port", "COM9", "--count", "1"});
    EXPECT_EQ(run.exitCode, 1);
    const std::vector<std::string> lines = windowsLines(run.out);
    ASSERT_FALSE(lines.empty()) << run.err;
    const std::regex error(
        "^.* pendax-host\\[[0-9]+\\]: ERROR: CRS232H: Opening port COM9: "
        "File not found\\.$");
    EXPECT_TRUE(std::regex_match(lines.back(), error)) << lines.back();
}

}  // namespace
