#include "bare_pty_loop.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace {
constexpr int silenceMs = 1000;
}

CBarePtyLoop::CBarePtyLoop(const std::string& port, std::size_t packetLength)
    : fd(::open(port.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC)),
      length(std::min(packetLength, sizeof packet)),
      packet{} {
    termios raw{};
    if (fd >= 0 && tcgetattr(fd, &raw) == 0) {
        cfmakeraw(&raw);
        tcsetattr(fd, TCSANOW, &raw);
    }
}

CBarePtyLoop::~CBarePtyLoop() {
    if (fd >= 0) {
        ::close(fd);
    }
}

bool CBarePtyLoop::cycle() {
    if (::write(fd, "o", 1) != 1) {
        return false;
    }
    std::size_t got = 0;
    while (got < length) {
        pollfd waiting{fd, POLLIN, 0};
        if (poll(&waiting, 1, silenceMs) <= 0) {
            return false;
        }
        const ssize_t n = ::read(fd, packet + got, length - got);
        if (n <= 0) {
            return false;
        }
        got += static_cast<std::size_t>(n);
    }
    return true;
}
