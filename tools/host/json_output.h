#pragma once
// Where the JSON lines go: a file, or standard output, whose log lines (the module's and the
// host's) then move to standard error so that standard output holds JSON only.

#include <fstream>
#include <memory>
#include <ostream>
#include <string>

class JsonOutput {
public:
    static constexpr const char* standardOutputName = "-";

    // False, with the reason in error, when the file cannot be written.
    bool open(const std::string& path, std::string& error);
    // Null until open succeeded.
    std::ostream* stream() const { return target; }

private:
    std::ofstream file;
    std::unique_ptr<std::ostream> standardOutput;
    std::ostream* target = nullptr;
};
