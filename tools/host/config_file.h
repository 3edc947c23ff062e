#pragma once
// The host's configuration file: one option per line, keyword and arguments separated by blanks,
// "#" starting a comment. Each option keeps the number of the line it came from.

#include <cstddef>
#include <cstdint>
#include <istream>
#include <string>
#include <vector>

struct OptionLine {
    std::uint32_t lineNumber;        // 0 for options that come from the command line
    std::vector<std::string> words;  // keyword first, then the arguments

    bool operator==(const OptionLine& other) const {
        return lineNumber == other.lineNumber && words == other.words;
    }
};

struct OptionLines {
    std::vector<OptionLine> lines;
    std::string error;  // empty when the file was read whole

    bool ok() const { return error.empty(); }
};

// The largest file read; a larger one is refused, naming the line where it passes the size.
constexpr std::size_t maxOptionFileBytes = 1 << 20;

// fileName only names the text in error messages ("FILE:LINE: …"). A line may hold no control
// character but tabs (and a carriage return at its end).
OptionLines parseOptionLines(std::istream& text, const std::string& fileName);
OptionLines readOptionFile(const std::string& path);

// Adds an option after the file's lines, under line number 0, so that it overrides them where
// the last line wins. False, with the options unchanged, when they are already at the limit.
bool addCommandLineOption(std::vector<OptionLine>& lines, std::vector<std::string> words);
