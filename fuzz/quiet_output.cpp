// The module logs to std::cout; a fuzz target runs it millions of times and reads none of it.
// Linked into every target: libFuzzer calls this once before the first input.

#include <iostream>
#include <streambuf>

namespace {

class DiscardingBuffer : public std::streambuf {
protected:
    int overflow(int c) override { return traits_type::not_eof(c); }
    std::streamsize xsputn(const char*, std::streamsize count) override { return count; }
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    static DiscardingBuffer discarded;
    std::cout.rdbuf(&discarded);
    return 0;
}
