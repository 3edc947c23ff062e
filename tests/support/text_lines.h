#pragma once
// Captured text as whole lines, to compare them one by one.

#include <sstream>
#include <string>
#include <vector>

// Split at line ends; an unfinished last line is kept.
inline std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}
