#pragma once
// Captures what the module writes to std::cout while the object lives, and puts std::cout's
// number format back afterwards (the tracker report leaves it in fixed notation).

#include <iostream>
#include <sstream>
#include <string>
#include <vector>

class StdoutCapture {
public:
    StdoutCapture() : previous(std::cout.rdbuf(captured.rdbuf())) { format.copyfmt(std::cout); }
    ~StdoutCapture() {
        std::cout.copyfmt(format);
        std::cout.rdbuf(previous);
    }
    StdoutCapture(const StdoutCapture&) = delete;
    StdoutCapture& operator=(const StdoutCapture&) = delete;

    std::string text() const { return captured.str(); }

    // The captured text split at line ends; an unfinished last line is kept.
    std::vector<std::string> lines() const {
        std::vector<std::string> result;
        std::istringstream in(captured.str());
        for (std::string line; std::getline(in, line);) {
            result.push_back(line);
        }
        return result;
    }

    void clear() { captured.str(""); }

private:
    std::ostringstream captured;
    std::streambuf* previous;
    std::ios format{nullptr};
};
