#pragma once
// Points std::cout, and so the module's log, at another buffer while the object lives. The module
// shares the host's C++ runtime, so its std::cout is this one.

#include <iostream>
#include <streambuf>

class CoutSwap {
public:
    explicit CoutSwap(std::streambuf* replacement) : previous(std::cout.rdbuf(replacement)) {}
    ~CoutSwap() { std::cout.rdbuf(previous); }
    CoutSwap(const CoutSwap&) = delete;
    CoutSwap& operator=(const CoutSwap&) = delete;

    std::streambuf* original() const { return previous; }

private:
    std::streambuf* previous;
};
