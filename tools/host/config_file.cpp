#include "config_file.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

#include "config/device_config.h"

namespace {

// Everything before the first "#", split at blanks; a file written on Windows leaves a carriage
// return at each line end, which counts as a blank.
std::vector<std::string> wordsOf(const std::string& line) {
    std::istringstream words(line.substr(0, line.find('#')));
    std::vector<std::string> result;
    for (std::string word; words >> word;) {
        result.push_back(word);
    }
    return result;
}

std::string at(const std::string& fileName, std::uint32_t lineNumber) {
    return fileName + ":" + std::to_string(lineNumber) + ": ";
}

}  // namespace

OptionLines parseOptionLines(std::istream& text, const std::string& fileName) {
    OptionLines result;
    std::uint32_t lineNumber = 0;
    for (std::string line; std::getline(text, line);) {
        ++lineNumber;
        std::vector<std::string> words = wordsOf(line);
        if (words.empty()) {
            continue;
        }
        if (result.lines.size() == maxOptions) {
            result.error = at(fileName, lineNumber) +
                           "too many options: the module takes at most " +
                           std::to_string(maxOptions);
            return result;
        }
        if (words.size() - 1 > maxOptionArgs) {
            result.error = at(fileName, lineNumber) + "too many arguments for \"" + words[0] +
                           "\" (" + std::to_string(words.size() - 1) +
                           "): an option takes at most " + std::to_string(maxOptionArgs);
            return result;
        }
        result.lines.push_back({lineNumber, std::move(words)});
    }
    return result;
}

OptionLines readOptionFile(const std::string& path) {
    std::ifstream file(path);
    if (!file) {
        return {{}, "cannot read " + path + ": " + std::strerror(errno)};
    }
    OptionLines result = parseOptionLines(file, path);
    if (result.ok() && file.bad()) {
        result.error = "cannot read " + path + ": " + std::strerror(errno);
    }
    return result;
}

bool addCommandLineOption(std::vector<OptionLine>& lines, std::vector<std::string> words) {
    if (lines.size() >= maxOptions) {
        return false;
    }
    lines.push_back({0, std::move(words)});
    return true;
}
