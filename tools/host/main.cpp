// pendax-host: the reference host. Stands in for the tracking daemon: builds what the daemon
// hands a device, loads the module and drives it, and shows what it publishes.

#include <fstream>
#include <iostream>
#include <optional>
#include <stdexcept>
#include <system_error>

#include "command_line.h"
#include "config_file.h"
#include "cycle_stats.h"
#include "host_device.h"
#include "host_os.h"
#include "json_output.h"
#include "live_view.h"
#include "module_path.h"
#include "poll_loop.h"
#include "probe.h"
#include "shared_terminal.h"

namespace {

enum ExitCode { success = 0, moduleRefused = 1, noBoxFound = 1, usageError = 2 };

int fail(ExitCode code, const std::string& message) {
    std::cerr << "pendax-host: " << message << std::endl;
    return code;
}

std::string dataTypeText(std::int32_t dataType) {
    switch (dataType) {
        case 3:
            return "3 (controller data)";
        case 1:
            return "1 (controller and tracker data)";
        default:
            return std::to_string(dataType);
    }
}

// False when the statistics could not be written.
bool poll(HostDevice& device, const HostOptions& options, std::int32_t baud,
          const JsonOutput& json) {
    const bool jsonOnStdout = options.jsonPath == JsonOutput::standardOutputName;
    std::optional<SharedTerminal> terminal;
    std::optional<LiveView> view;
    if (hostos::standardOutputIsTerminal() && !jsonOnStdout) {
        hostos::prepareTerminal();
        terminal.emplace();
        view.emplace(*terminal, baud);
    }
    PollLoop loop(device, {options.cycles, options.seconds, options.rate}, json.stream(),
                  view ? &*view : nullptr);
    loop.run();
    const PollCounts& counts = loop.counts();
    const CycleStats stats = CycleStats::of(counts.times, loop.seconds(), baud);
    if (!view) {
        std::cout << "pendax-host: " << counts.cycles << " cycles: " << counts.published
                  << " published, " << counts.unchanged << " unchanged, " << counts.empty
                  << " empty, " << counts.failed << " failed, " << counts.reconnections
                  << " reconnections" << std::endl;
        std::cout << "pendax-host: " << statsText(stats) << std::endl;
    }
    if (loop.jsonFailed()) {
        std::cerr << "pendax-host: the JSON output could not be written; polling stopped"
                  << std::endl;
    }
    if (options.statsPath) {
        std::ofstream file(*options.statsPath);
        writeStatsJson(file, stats, counts);
        if (!file.flush()) {
            std::cerr << "pendax-host: cannot write the statistics to " << *options.statsPath
                      << std::endl;
            return false;
        }
    }
    return true;
}

// The virtual box of --sim, if asked for; false, with the reason told, when it cannot start.
bool startBox(const HostOptions& options, std::optional<hostos::HostedBox>& box) {
    if (!options.sim) {
        return true;
    }
    try {
        box.emplace(*options.sim, options.motion, options.simFaults);
    } catch (const std::system_error& error) {
        fail(usageError, std::string("cannot start the virtual box: ") + error.what());
        return false;
    }
    return true;
}

// --probe: the ports named, the virtual box's of --sim, or else every serial port there is.
int probe(const HostOptions& options) {
    std::vector<std::string> ports = options.probePorts;
    std::optional<hostos::HostedBox> box;
    if (!startBox(options, box)) {
        return usageError;
    }
    if (box) {
        ports.push_back(box->port());
    }
    return runProbe(ports, std::cout) ? success : noBoxFound;
}

int runHost(const HostOptions& options) {
    OptionLines config;
    if (!options.configPath.empty()) {
        config = readOptionFile(options.configPath);
        if (!config.ok()) {
            return fail(usageError, config.error);
        }
    }
    // The virtual box outlives the device that talks to it.
    std::optional<hostos::HostedBox> box;
    if (!startBox(options, box)) {
        return usageError;
    }
    const std::optional<std::string> port = box ? box->port() : options.port;
    if (port && !addCommandLineOption(config.lines, {"port", *port})) {
        return fail(usageError,
                    "--port, --sim: the configuration already holds the most options the "
                    "module takes");
    }

    JsonOutput json;
    std::string jsonError;
    if (options.jsonPath && !json.open(*options.jsonPath, jsonError)) {
        return fail(usageError, jsonError);
    }

    const HostSetup setup{options.modulePath.empty() ? defaultModulePath() : options.modulePath,
                          options.deviceName,
                          config.lines,
                          options.debugSetting,
                          options.preloadControllers,
                          options.preloadTrackers};
    std::optional<HostDevice> device;
    try {
        device.emplace(setup);
    } catch (const std::runtime_error& error) {
        return fail(usageError, "cannot load the module " + setup.modulePath + ": " + error.what());
    }

    hostos::installStopHandlers();
    switch (device->open()) {
        case HostDevice::Opening::notCreated:
            return fail(moduleRefused, "the module refused: createDev returned no device");
        case HostDevice::Opening::initFailed:
            return fail(moduleRefused,
                        "the module refused: init failed; its messages above say why");
        case HostDevice::Opening::ready:
            break;
    }
    const std::int32_t dataType = device->configure();
    std::cout << "pendax-host: configure returned data type " << dataTypeText(dataType)
              << std::endl;
    device->start();
    const bool statsWritten = poll(*device, options, configuredBaud(config.lines), json);
    device->close();
    return statsWritten ? success : usageError;
}

}  // namespace

int main(int argc, char* argv[]) {
    const CommandLine commandLine = parseCommandLine(argc, argv);
    if (!commandLine.ok()) {
        std::cerr << "pendax-host: " << commandLine.error << "\n" << usageLine();
        return usageError;
    }
    if (commandLine.options.help) {
        std::cout << usageText();
        return success;
    }
    if (commandLine.options.probe) {
        return probe(commandLine.options);
    }
    return runHost(commandLine.options);
}
