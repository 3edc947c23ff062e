#pragma once
// The module logs to std::cout; a fuzz target runs it millions of times and reads none of it.

#include <iostream>
#include <streambuf>

class DiscardingBuffer : public std::streambuf {
protected:
    int overflow(int c) override { return traits_type::not_eof(c); }
    std::streamsize xsputn(const char*, std::streamsize count) override { return count; }
};

inline void silenceStandardOutput() {
    static DiscardingBuffer discarded;
    std::cout.rdbuf(&discarded);
}
