#include "json_output.h"

#include <cerrno>
#include <cstring>

#include "host_os.h"

bool JsonOutput::open(const std::string& path, std::string& error) {
    if (path == standardOutputName) {
        // At the descriptor level, so that the module's log moves too whatever runtime it has.
        standardOutput = hostos::divertStandardOutputToStandardError();
        target = standardOutput.get();
        return true;
    }
    file.open(path, std::ios::out | std::ios::trunc);
    if (!file) {
        error = "cannot write the JSON output to " + path + ": " + std::strerror(errno);
        return false;
    }
    target = &file;
    return true;
}
