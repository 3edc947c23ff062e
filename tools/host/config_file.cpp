#include "config_file.h"

#include <algorithm>
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

// The first control character of a line other than a tab, or a carriage return that ends it
// (a Windows line end); std::string::npos when there is none.
std::size_t controlCharacterIn(const std::string& line) {
    for (std::size_t i = 0; i < line.size(); ++i) {
        const auto c = static_cast<unsigned char>(line[i]);
        const bool windowsLineEnd = c == '\r' && i + 1 == line.size();
        if ((c < 0x20 || c == 0x7f) && c != '\t' && !windowsLineEnd) {
            return i;
        }
    }
    return std::string::npos;
}

std::string hexByte(char c) {
    static const char digits[] = "0123456789ABCDEF";
    const auto byte = static_cast<unsigned char>(c);
    return std::string("0x") + digits[byte >> 4] + digits[byte & 0x0F];
}

// Stops soon after a byte more than a file may hold, so that a file without end (a device, a pipe
// that keeps writing) is not read into memory whole.
std::string readBounded(std::istream& text) {
    std::string content;
    char chunk[4096];
    while (content.size() <= maxOptionFileBytes && text) {
        text.read(chunk, sizeof chunk);
        content.append(chunk, static_cast<std::size_t>(text.gcount()));
    }
    return content;
}

}  // namespace

OptionLines parseOptionLines(std::istream& text, const std::string& fileName) {
    OptionLines result;
    const std::string content = readBounded(text);
    if (content.size() > maxOptionFileBytes) {
        const auto lines = std::count(content.begin(), content.begin() + maxOptionFileBytes, '\n');
        result.error = at(fileName, static_cast<std::uint32_t>(lines + 1)) +
                       "the file is larger than " + std::to_string(maxOptionFileBytes) + " bytes";
        return result;
    }
    std::istringstream lines(content);
    std::uint32_t lineNumber = 0;
    for (std::string line; std::getline(lines, line);) {
        ++lineNumber;
        const std::size_t control = controlCharacterIn(line);
        if (control != std::string::npos) {
            result.error = at(fileName, lineNumber) + "control character " +
                           hexByte(line[control]) + " in the line: only text, blanks and tabs";
            return result;
        }
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
