#pragma once
// The host's end of a virtual box's line, without the module: raw bytes in and out.

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>
#include <string>

class BoxLine {
public:
    explicit BoxLine(const std::string& path)
        : fd(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC)) {
        if (fd < 0) {
            throw std::runtime_error("cannot open " + path);
        }
    }
    ~BoxLine() { ::close(fd); }
    BoxLine(const BoxLine&) = delete;
    BoxLine& operator=(const BoxLine&) = delete;

    void send(const std::string& bytes) const {
        if (::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) {
            throw std::runtime_error("line write failed");
        }
    }

    // Reads until count bytes came or limitMs passed.
    std::string receive(std::size_t count, int limitMs = 5000) const {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
        std::string bytes;
        while (bytes.size() < count) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                                  deadline - std::chrono::steady_clock::now())
                                  .count();
            pollfd p{fd, POLLIN, 0};
            if (left <= 0 || poll(&p, 1, static_cast<int>(left)) <= 0) {
                break;
            }
            char buffer[256];
            const ssize_t got = ::read(fd, buffer, std::min(sizeof buffer, count - bytes.size()));
            if (got <= 0) {
                break;
            }
            bytes.append(buffer, static_cast<std::size_t>(got));
        }
        return bytes;
    }

    // Whatever arrives within quietMs, to show that nothing does.
    std::string receiveAny(int quietMs = 200) const { return receive(4096, quietMs); }

    int descriptor() const { return fd; }

private:
    int fd;
};
