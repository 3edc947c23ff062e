#pragma once
// Shared by both sides of the host's seam: standard output below the C++ streams.

#include <cstdio>
#include <ext/stdio_filebuf.h>
#include <iostream>
#include <ostream>

namespace hostos {

// What the C++ stream and the C library still hold goes out before a descriptor changes.
inline void flushStandardOutput() {
    std::cout.flush();
    std::fflush(stdout);
}

// An output stream that owns the descriptor it writes to.
class DescriptorStream : public std::ostream {
public:
    explicit DescriptorStream(int fd) : std::ostream(nullptr), buffer(fd, std::ios::out) {
        rdbuf(&buffer);
    }

private:
    __gnu_cxx::stdio_filebuf<char> buffer;
};

}  // namespace hostos
