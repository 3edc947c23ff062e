#pragma once
// The reference host's command line: pendax-host [options] [CONFIG], or
// pendax-host --probe [PORT...].

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "board_identity.h"
#include "faults.h"

struct HostOptions {
    std::string configPath;  // empty: no file, the module runs on its defaults
    std::string deviceName = "pendax";
    std::optional<std::string> port;
    std::optional<BoardIdentity> sim;  // a virtual box of this board serves the port
    bool motion = false;               // the virtual box's inputs move on their own
    Faults simFaults;                  // how the virtual box misbehaves
    bool faultGiven = false;
    std::string modulePath;  // empty: the module built beside the host
    std::int32_t debugSetting = 0;
    double rate = 0.0;  // polling cycles per second; 0: as fast as the box answers
    std::optional<std::uint64_t> cycles;
    std::optional<double> seconds;
    std::optional<std::string> jsonPath;  // "-": standard output
    std::uint32_t preloadControllers = 0;
    std::uint32_t preloadTrackers = 0;
    std::optional<std::string> statsPath;  // the cycle statistics as JSON, written at the end
    bool probe = false;                    // look for boxes instead of running one
    std::vector<std::string> probePorts;   // empty: every serial port the system knows of
    bool help = false;
};

struct CommandLine {
    HostOptions options;
    std::string error;  // empty when the command line was understood

    bool ok() const { return error.empty(); }
};

CommandLine parseCommandLine(int argc, const char* const argv[]);

// The whole help text, and the one line that goes with an error.
std::string usageText();
std::string usageLine();
