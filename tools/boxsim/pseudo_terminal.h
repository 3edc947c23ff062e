#pragma once
// The box's end of the line: a pseudo-terminal whose slave side a host opens as its serial port.
// The slave starts raw (no echo, no line editing), and the box keeps it open itself, so that the
// master does not see the line hang up while a host closes and reopens the port.

#include <string>

class CPseudoTerminal {
public:
    // Throws std::system_error when no pseudo-terminal can be had.
    CPseudoTerminal();
    ~CPseudoTerminal();
    CPseudoTerminal(const CPseudoTerminal&) = delete;
    CPseudoTerminal& operator=(const CPseudoTerminal&) = delete;

    int master() const { return masterFd; }  // non-blocking
    const std::string& slavePath() const { return path; }

private:
    int masterFd = -1;
    int slaveFd = -1;
    std::string path;
};
