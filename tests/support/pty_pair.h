#pragma once
// A pseudo-terminal: the test holds the master side and hands the slave's path to the port.

#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>
#include <string>

class PtyPair {
public:
    PtyPair() {
        char name[256] = {};
        termios raw{};
        cfmakeraw(&raw);
        cfsetspeed(&raw, B9600);
        if (openpty(&master, &slave, name, &raw, nullptr) != 0) {
            throw std::runtime_error("openpty failed");
        }
        path = name;
    }
    ~PtyPair() {
        closeMaster();
        if (slave >= 0) {
            ::close(slave);
        }
    }
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    const std::string& slavePath() const { return path; }
    int slaveFd() const { return slave; }

    void send(const std::string& bytes) const {
        if (::write(master, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) {
            throw std::runtime_error("pty write failed");
        }
    }

    // Everything the port sent, gathered until the line stays quiet for quietMs.
    std::string receive(int quietMs = 200) const {
        std::string result;
        pollfd p{master, POLLIN, 0};
        while (poll(&p, 1, quietMs) > 0 && (p.revents & POLLIN) != 0) {
            char buffer[256];
            const ssize_t n = ::read(master, buffer, sizeof buffer);
            if (n <= 0) {
                break;
            }
            result.append(buffer, static_cast<std::size_t>(n));
        }
        return result;
    }

    void closeMaster() {
        if (master >= 0) {
            ::close(master);
            master = -1;
        }
    }

private:
    int master = -1;
    int slave = -1;
    std::string path;
};

// Milliseconds taken by a call.
template <typename Call>
long long millisecondsOf(Call&& call) {
    const auto start = std::chrono::steady_clock::now();
    call();
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 start)
        .count();
}
