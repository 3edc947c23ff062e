#include "command_line.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "platform/data_storage.h"

namespace {

// Whole texts only: "12abc", "" or a value out of range is refused, not cut short.
bool parseWhole(const std::string& text, long long low, long long high, long long& value) {
    if (text.empty()) {
        return false;
    }
    char* end = nullptr;
    errno = 0;
    value = std::strtoll(text.c_str(), &end, 10);
    return errno == 0 && *end == '\0' && value >= low && value <= high;
}

bool parseReal(const std::string& text, double& value) {
    if (text.empty()) {
        return false;
    }
    char* end = nullptr;
    errno = 0;
    value = std::strtod(text.c_str(), &end);
    return errno == 0 && *end == '\0' && std::isfinite(value);
}

using Apply = std::string (*)(HostOptions&, const std::string&);

enum class Value {
    required,         // --name VALUE or --name=VALUE
    afterEqualsOnly,  // --name, or --name=VALUE
    none,             // --name
};

struct OptionSpec {
    const char* name;
    Apply apply;  // returns what is wrong with the value, or the empty text
    Value value = Value::required;
};

std::string nonEmpty(const std::string& value) {
    return value.empty() ? "needs a non-empty value" : "";
}

std::string preloadCount(const std::string& value, std::uint32_t& target) {
    long long count = 0;
    if (!parseWhole(value, 0, CDataStorage::maxEntries, count)) {
        return "takes a whole number from 0 to " + std::to_string(CDataStorage::maxEntries);
    }
    target = static_cast<std::uint32_t>(count);
    return {};
}

const OptionSpec optionSpecs[] = {
    {"port",
     [](HostOptions& o, const std::string& v) {
         o.port = v;
         return nonEmpty(v);
     }},
    {"sim",
     [](HostOptions& o, const std::string& v) -> std::string {
         BoardIdentity board = BoardIdentity::kt512();
         if (!v.empty() && !boardNamed(v, &board)) {
             return "takes the board kt512 or kt256";
         }
         o.sim = board;
         return {};
     },
     Value::afterEqualsOnly},
    {"motion",
     [](HostOptions& o, const std::string&) -> std::string {
         o.motion = true;
         return {};
     },
     Value::none},
    {"fault",
     [](HostOptions& o, const std::string& v) -> std::string {
         const std::size_t equals = v.find('=');
         std::string error;
         if (!applyFault(o.simFaults, v.substr(0, equals),
                         equals == std::string::npos ? "" : v.substr(equals + 1), &error)) {
             return "takes one of the virtual box's faults (" + error + ")";
         }
         o.faultGiven = true;
         return {};
     }},
    {"name",
     [](HostOptions& o, const std::string& v) {
         o.deviceName = v;
         return nonEmpty(v);
     }},
    {"module",
     [](HostOptions& o, const std::string& v) {
         o.modulePath = v;
         return nonEmpty(v);
     }},
    {"debug",
     [](HostOptions& o, const std::string& v) -> std::string {
         long long setting = 0;
         if (!parseWhole(v, std::numeric_limits<std::int32_t>::min(),
                         std::numeric_limits<std::int32_t>::max(), setting)) {
             return "takes a whole number";
         }
         o.debugSetting = static_cast<std::int32_t>(setting);
         return {};
     }},
    {"rate",
     [](HostOptions& o, const std::string& v) -> std::string {
         if (!parseReal(v, o.rate) || o.rate <= 0.0) {
             return "takes a number of cycles per second above 0";
         }
         return {};
     }},
    {"count",
     [](HostOptions& o, const std::string& v) -> std::string {
         long long cycles = 0;
         if (!parseWhole(v, 0, std::numeric_limits<long long>::max(), cycles)) {
             return "takes a whole number of cycles, 0 or more";
         }
         o.cycles = static_cast<std::uint64_t>(cycles);
         return {};
     }},
    {"seconds",
     [](HostOptions& o, const std::string& v) -> std::string {
         double seconds = 0.0;
         if (!parseReal(v, seconds) || seconds < 0.0) {
             return "takes a number of seconds, 0 or more";
         }
         o.seconds = seconds;
         return {};
     }},
    {"json",
     [](HostOptions& o, const std::string& v) {
         o.jsonPath = v;
         return nonEmpty(v);
     }},
    {"stats",
     [](HostOptions& o, const std::string& v) {
         o.statsPath = v;
         return nonEmpty(v);
     }},
    {"probe",
     [](HostOptions& o, const std::string&) -> std::string {
         o.probe = true;
         return {};
     },
     Value::none},
    {"preload-controllers",
     [](HostOptions& o, const std::string& v) { return preloadCount(v, o.preloadControllers); }},
    {"preload-trackers",
     [](HostOptions& o, const std::string& v) { return preloadCount(v, o.preloadTrackers); }},
};

const OptionSpec* findSpec(const std::string& name) {
    for (const OptionSpec& spec : optionSpecs) {
        if (name == spec.name) {
            return &spec;
        }
    }
    return nullptr;
}

}  // namespace

CommandLine parseCommandLine(int argc, const char* const argv[]) {
    CommandLine result;
    HostOptions& options = result.options;
    bool optionsEnded = false;
    std::vector<std::string> positional;  // CONFIG, or the ports to probe
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (!optionsEnded && (arg == "--help" || arg == "-h")) {
            options.help = true;
            continue;
        }
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (optionsEnded || arg.empty() || arg[0] != '-' || arg == "-") {
            positional.push_back(arg);
            continue;
        }
        // --name=VALUE or --name VALUE
        const std::size_t equals = arg.find('=');
        const std::string name = arg.substr(0, equals);
        const OptionSpec* spec = arg.rfind("--", 0) == 0 ? findSpec(name.substr(2)) : nullptr;
        if (spec == nullptr) {
            result.error = "unknown option " + name;
            return result;
        }
        std::string value;
        if (spec->value == Value::none && equals != std::string::npos) {
            result.error = name + " takes no value";
            return result;
        }
        if (equals != std::string::npos) {
            value = arg.substr(equals + 1);
        } else if (spec->value != Value::required) {
            value.clear();
        } else if (i + 1 < argc) {
            value = argv[++i];
        } else {
            result.error = name + " needs a value";
            return result;
        }
        const std::string problem = spec->apply(options, value);
        if (!problem.empty()) {
            result.error = name + " " + problem + ", not \"" + value + "\"";
            return result;
        }
    }
    if (options.probe) {
        options.probePorts = positional;
    } else if (positional.size() > 1) {
        result.error = "only one CONFIG may be given; \"" + positional[1] + "\" is a second one";
        return result;
    } else if (!positional.empty()) {
        options.configPath = positional.front();
    }
    if (options.sim && options.port) {
        result.error = "--sim and --port name two different lines; give one of them";
    } else if (options.motion && !options.sim) {
        result.error = "--motion moves the virtual box's inputs; it goes with --sim";
    } else if (options.faultGiven && !options.sim) {
        result.error = "--fault makes the virtual box misbehave; it goes with --sim";
    }
    return result;
}

std::string usageLine() {
    return "Usage: pendax-host [options] [CONFIG]   (pendax-host --help lists the options)\n";
}

std::string usageText() {
    return R"(Usage: pendax-host [options] [CONFIG]
       pendax-host --probe [PORT...]

Loads the Pendax module, hands it the options of CONFIG, drives the box through it
and shows what the module publishes into the storages. With --probe it looks for
boxes instead: on the ports named, or on every serial port the system knows of.

CONFIG has one option per line: the keyword, then its arguments, separated by
blanks; "#" starts a comment. Without CONFIG the module runs on its defaults.

Options:
  --port NAME                serial port, e.g. /dev/ttyUSB0 or COM3 (overrides a port line of
                             CONFIG)
  --sim[=BOARD]              serve the port from a virtual box in this process instead of a
                             real one (overrides a port line of CONFIG); BOARD is kt512 (the
                             default, revision h, EPROM revision 5) or kt256; not on Windows
  --motion                   with --sim: the analog inputs sweep and a pressed button walks
  --fault NAME[=VALUE]       with --sim: a fault of the virtual box, repeatable: silent, short,
                             badstart, badend, garbage=N, dribble=MS, banner, refuse,
                             answer=CHAR, unplug=S (the line is pulled every S seconds for two),
                             forget (a pulled line comes back with the set-up forgotten)
  --name NAME                device name handed to the module (default: pendax)
  --module PATH              module to load (default: the one built beside this program)
  --debug N                  debug setting of the logger handed to the module (default: 0, off)
  --rate HZ                  polling cycles per second (default: as fast as the box answers)
  --count N                  stop after N polling cycles
  --seconds S                stop after S seconds
  --json FILE|-              write each record the module publishes as one JSON object a line;
                             with "-" to standard output, and the module's log to standard error
  --preload-controllers N    put N other devices' controllers into the storage first (0-32)
  --preload-trackers N       put N other devices' trackers into the storage first (0-32)
  --stats FILE               when polling ends, write the cycle statistics (rate against the
                             line's limit, cycle times) to FILE as JSON
  --probe                    ask each port (the PORTs given, else every serial port there is;
                             with --sim the virtual box's too) for a box's identification at
                             each line speed from 19200 on, and say what answered; exit status
                             0 when a box was found, 1 when none
  -h, --help                 show this help and exit

Without --count or --seconds the host polls until Ctrl-C or SIGTERM, then stops the
device cleanly. When standard output is a terminal (and JSON does not go there), a
live view shows the valuators, buttons, tracker pose and polling counts.

Exit status: 0 success, 1 the module refused to start (createDev or init failed),
2 usage, configuration-file or module-loading error.
)";
}
