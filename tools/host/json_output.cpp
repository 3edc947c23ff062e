#include "json_output.h"

#include <cerrno>
#include <cstring>
#include <iostream>

bool JsonOutput::open(const std::string& path, std::string& error) {
    if (path == standardOutputName) {
        logToStandardError.emplace(std::cerr.rdbuf());
        standardOutput = std::make_unique<std::ostream>(logToStandardError->original());
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
