// What an installer asks the reference host: which port the box is on and at which speed
// (--probe), and how fast the module polls against what the line allows (the statistics).

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "host_process.h"
#include "pty_pair.h"
#include "temp_file.h"
#include "test_emulator.h"
#include "text_lines.h"
#include "virtual_box.h"

namespace {

using Clock = std::chrono::steady_clock;
using Lines = std::vector<std::string>;

std::vector<std::string> host(const std::vector<std::string>& args) {
    return underTestEmulator(PENDAX_HOST_PATH, args);
}

// A port another program holds, as the module holds its own: opened and locked.
class HeldPort {
public:
    explicit HeldPort(const std::string& path)
        : fd(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK)) {
        if (fd < 0 || flock(fd, LOCK_EX | LOCK_NB) != 0) {
            throw std::runtime_error("cannot hold " + path);
        }
    }
    ~HeldPort() { ::close(fd); }
    HeldPort(const HeldPort&) = delete;
    HeldPort& operator=(const HeldPort&) = delete;

private:
    int fd;
};

TEST(HostProbe, NamesEachPortsBoxOrWhyThereIsNone) {
    BoardIdentity revisionG = BoardIdentity::kt512();
    revisionG.revision = 'g';
    revisionG.epromRevision = 7;
    CVirtualBox box(revisionG);
    CVirtualBox busyBox;
    const HeldPort held(busyBox.linePath());
    PtyPair nobodyBehind;
    const TempFile file("port com1\n");
    const std::string fifo = file.path + ".fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);

    const auto start = Clock::now();
    const ProcessResult run =
        runProgram(host({"--probe", box.linePath(), nobodyBehind.slavePath(), fifo, file.path,
                         busyBox.linePath(), "/dev/pendax-no-such-port"}));
    const auto took = Clock::now() - start;
    ::unlink(fifo.c_str());
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(
        linesOf(run.out),
        (Lines{
            box.linePath() +
                ": Pendax KT512 revision g, EPROM revision 7, at 19200 baud: supported by "
                "this module",
            nobodyBehind.slavePath() + ": no answer at any speed",
            fifo + ": not a serial line (Inappropriate ioctl for device)",
            file.path + ": not a serial line (Inappropriate ioctl for device)",
            busyBox.linePath() + ": busy: another program has it open (Device or resource busy)",
            "/dev/pendax-no-such-port: not there (No such file or directory)",
        }));
    // Nothing but identification requests, one for each speed until the box answered.
    EXPECT_EQ(box.counters().identifications, 1u);
    EXPECT_EQ(box.counters().bytesReceived, 1u);
    EXPECT_EQ(busyBox.counters().bytesReceived, 0u);
    EXPECT_EQ(nobodyBehind.receive(), std::string(8, 'T'));
    // About half a second for each of the eight speeds on the silent line, little for the rest.
    EXPECT_LT(took, std::chrono::seconds(30));
}

TEST(HostProbe, ABoardThisModuleCannotUseAndNoBoxAtAll) {
    const ProcessResult kt256 = runProgram(host({"--probe", "--sim=kt256"}));
    EXPECT_EQ(kt256.exitCode, 0) << kt256.err;
    EXPECT_NE(kt256.out.find(": Pendax KT256 sub-type 3, at 19200 baud: not supported by this "
                             "module\n"),
              std::string::npos)
        << kt256.out;

    const ProcessResult none = runProgram(host({"--probe", "/dev/pendax-no-such-port"}));
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_EQ(none.out, "/dev/pendax-no-such-port: not there (No such file or directory)\n");
}

// The figures of --stats, against the counts of the same run.
struct Stats {
    double cycles, seconds, perSecond, baud, limit, share, median, p99, max, published, unchanged,
        empty, failed;
};

Stats readStats(const std::string& path) {
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    const std::string json = text.str();
    const auto number = [&json](const std::string& key) {
        const std::regex pattern("\"" + key + "\":([-0-9.]+)");
        std::smatch match;
        return std::regex_search(json, match, pattern) ? std::stod(match[1]) : -1.0;
    };
    return {number("cycles"),
            number("seconds"),
            number("cycles_per_second"),
            number("baud"),
            number("line_limit_per_second"),
            number("share_of_line_limit"),
            number("median"),
            number("p99"),
            number("max"),
            number("published"),
            number("unchanged"),
            number("empty"),
            number("failed")};
}

TEST(HostStatistics, AgreeWithTheCycleCounts) {
    const TempFile stats;
    const TempFile slowLine("baud 9600\n");
    const ProcessResult run = runProgram(
        host({"--sim", "--motion", "--count", "300", "--stats", stats.path, slowLine.path}));
    EXPECT_EQ(run.exitCode, 0) << run.err;
    const Stats s = readStats(stats.path);
    EXPECT_EQ(s.cycles, 300);
    EXPECT_EQ(s.published + s.unchanged + s.empty + s.failed, 300);
    EXPECT_EQ(s.baud, 9600);
    EXPECT_DOUBLE_EQ(s.limit, 38.4);
    EXPECT_NEAR(s.perSecond, s.cycles / s.seconds, s.perSecond * 0.01);
    EXPECT_NEAR(s.share, s.perSecond / s.limit, s.share * 0.01);
    EXPECT_GT(s.median, 0);
    EXPECT_LE(s.median, s.p99);
    EXPECT_LE(s.p99, s.max);
    EXPECT_LE(s.max, s.seconds * 1000) << "no cycle outlasts the run";
    EXPECT_NE(run.out.find("pendax-host: 300 cycles: "), std::string::npos) << run.out;
    const std::regex summary(
        "pendax-host: [0-9.]+ cycles/s, [0-9.]+ of the line's 38\\.4 at 9600 "
        "baud; cycle median [0-9.]+ ms, 99th percentile [0-9.]+ ms, largest "
        "[0-9.]+ ms\n");
    EXPECT_TRUE(std::regex_search(run.out, summary)) << run.out;
}

}  // namespace
