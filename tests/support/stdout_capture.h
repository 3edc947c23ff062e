#pragma once
// Captures what the module writes to std::cout while the object lives, and puts std::cout's
// number format back afterwards (the tracker report leaves it in fixed notation). That is where
// the module's objects are linked into the test; a module binary with a runtime of its own writes
// past it: see hostos::StandardOutputCapture.

#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "text_lines.h"

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

    std::vector<std::string> lines() const { return linesOf(captured.str()); }

    void clear() { captured.str(""); }

private:
    std::ostringstream captured;
    std::streambuf* previous;
    std::ios format{nullptr};
};
