// The operating-system seam with a scripted port (see scripted_sys.h); mutexes, the wall clock and
// libraries are in_process_sys.cpp's.

#include "scripted_sys.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <limits>

#include "platform/sys/sys.h"

namespace {

struct Arrival {
    std::uint64_t atMs;
    char byte;
};

struct ScriptedPort {
    bool open = false;
    DCB dcb{};
    COMMTIMEOUTS timeouts{};
    scripted_sys::Box box;
    std::deque<Arrival> line;
    std::uint64_t now = 0;
    scripted_sys::Calls calls{};
    bool refusesLowLatency = false;
    std::vector<std::string> reads;
};

ScriptedPort& thePort() {
    static ScriptedPort port;
    return port;
}

ScriptedPort* openPortOf(sys::Handle handle) {
    ScriptedPort& port = thePort();
    if (handle != &port || !port.open) {
        errno = EBADF;
        return nullptr;
    }
    return &port;
}

// The line settings are only kept (from in, or into out): a scripted line has nothing to apply
// them to.
template <typename Setting>
bool keep(sys::Handle handle, Setting ScriptedPort::*setting, const Setting* in, Setting* out) {
    ScriptedPort* port = openPortOf(handle);
    if (port != nullptr && in != nullptr) {
        port->*setting = *in;
    }
    if (port != nullptr && out != nullptr) {
        *out = port->*setting;
    }
    return port != nullptr;
}

constexpr std::uint64_t never = std::numeric_limits<std::uint64_t>::max();

// When a read of count bytes gives up, by the Win32 rules: the total time-out from the start,
// and once a byte came, the interval time-out after the latest byte.
struct ReadLimits {
    std::uint64_t total;
    std::uint64_t interval;  // never: no interval time-out
    bool immediate;          // hand over what is there, wait for nothing
};

ReadLimits limitsOf(const COMMTIMEOUTS& t, std::uint32_t count, std::uint64_t now) {
    const std::uint64_t multiplier = t.ReadTotalTimeoutMultiplier;
    const std::uint64_t constant = t.ReadTotalTimeoutConstant;
    ReadLimits limits{never, never, false};
    if (t.ReadIntervalTimeout == MAXDWORD && multiplier == 0 && constant == 0) {
        limits.immediate = true;
        return limits;
    }
    if (multiplier != 0 || constant != 0) {
        limits.total = now + multiplier * count + constant;
    }
    if (t.ReadIntervalTimeout != 0 && t.ReadIntervalTimeout != MAXDWORD) {
        limits.interval = t.ReadIntervalTimeout;
    }
    return limits;
}

}  // namespace

namespace scripted_sys {

void reset(Box box) {
    ScriptedPort& port = thePort();
    port = ScriptedPort{};
    port.box = std::move(box);
}

void send(const std::string& bytes, std::uint32_t firstMs, std::uint32_t gapMs) {
    ScriptedPort& port = thePort();
    std::uint64_t at = port.line.empty() ? port.now : std::max(port.now, port.line.back().atMs);
    at += firstMs;
    for (const char byte : bytes) {
        port.line.push_back({at, byte});
        at += gapMs;
    }
}

std::uint64_t nowMs() {
    return thePort().now;
}

Calls calls() {
    return thePort().calls;
}

void refuseLowLatency(bool refuse) {
    thePort().refusesLowLatency = refuse;
}

const std::vector<std::string>& readsSinceWrite() {
    return thePort().reads;
}

}  // namespace scripted_sys

namespace sys {

Handle openPort(const char* name) {
    ScriptedPort& port = thePort();
    if (std::strcmp(name, scripted_sys::portName) != 0 || port.open) {
        errno = port.open ? EBUSY : ENOENT;
        return invalidHandle();
    }
    port.open = true;
    return &port;
}

bool requestLowLatency(Handle handle) {
    ScriptedPort* port = openPortOf(handle);
    if (port == nullptr) {
        return false;
    }
    ++port->calls.lowLatencyRequests;
    if (port->refusesLowLatency) {
        errno = ENOTTY;
        return false;
    }
    return true;
}

bool closeHandle(Handle handle) {
    ScriptedPort* port = openPortOf(handle);
    if (port != nullptr) {
        port->open = false;
    }
    return port != nullptr;
}

bool getCommState(Handle handle, DCB* dcb) {
    return keep<DCB>(handle, &ScriptedPort::dcb, nullptr, dcb);
}

bool setCommState(Handle handle, const DCB* dcb) {
    return keep<DCB>(handle, &ScriptedPort::dcb, dcb, nullptr);
}

bool getCommTimeouts(Handle handle, COMMTIMEOUTS* timeouts) {
    return keep<COMMTIMEOUTS>(handle, &ScriptedPort::timeouts, nullptr, timeouts);
}

bool setCommTimeouts(Handle handle, const COMMTIMEOUTS* timeouts) {
    return keep<COMMTIMEOUTS>(handle, &ScriptedPort::timeouts, timeouts, nullptr);
}

bool writeFile(Handle handle, const void* data, std::uint32_t count, std::uint32_t* written) {
    *written = 0;
    ScriptedPort* port = openPortOf(handle);
    if (port == nullptr) {
        return false;
    }
    ++port->calls.writes;
    port->reads.clear();
    *written = count;
    if (port->box) {
        port->box(std::string(static_cast<const char*>(data), count));
    }
    return true;
}

bool readFile(Handle handle, void* buffer, std::uint32_t count, std::uint32_t* read) {
    *read = 0;
    ScriptedPort* port = openPortOf(handle);
    if (port == nullptr) {
        return false;
    }
    ++port->calls.reads;
    const ReadLimits limits = limitsOf(port->timeouts, count, port->now);
    std::string got;
    while (got.size() < count) {
        std::uint64_t giveUpAt = limits.immediate ? port->now : limits.total;
        if (!got.empty() && limits.interval != never) {
            giveUpAt = std::min(giveUpAt, port->now + limits.interval);
        }
        if (port->line.empty() || port->line.front().atMs > giveUpAt) {
            if (giveUpAt == never) {
                // A real port would hold the caller here for good.
                std::fputs("scripted_sys: a read without a time-out waits for ever\n", stderr);
                std::abort();
            }
            port->now = std::max(port->now, giveUpAt);
            break;
        }
        port->now = std::max(port->now, port->line.front().atMs);
        got += port->line.front().byte;
        port->line.pop_front();
    }
    std::memcpy(buffer, got.data(), got.size());
    *read = static_cast<std::uint32_t>(got.size());
    port->reads.push_back(std::move(got));
    return true;
}

std::uint64_t monotonicMs() {
    return thePort().now;
}

void sleepMs(std::uint32_t milliseconds) {
    ++thePort().calls.sleeps;
    thePort().now += milliseconds;
}

}  // namespace sys
