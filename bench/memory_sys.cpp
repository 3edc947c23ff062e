// The operating-system seam with its serial port in memory: the box behind it answers at once,
// sleeping returns at once, and mutexes and the clocks are the real ones (the shared part in
// tests/support/in_process_sys.cpp), so that a benchmark sees the device's own cost of a polling
// cycle.

#include "memory_sys.h"

#include <cerrno>
#include <cstring>
#include <ctime>

#include "platform/sys/sys.h"

namespace {

struct MemoryPort {
    bool open = false;
    DCB dcb{};
    COMMTIMEOUTS timeouts{};
    CMemoryBox box;
    memory_sys::Calls calls{};
};

MemoryPort& thePort() {
    static MemoryPort port;
    return port;
}

MemoryPort* portOf(sys::Handle handle) {
    if (handle != &thePort() || !thePort().open) {
        errno = EBADF;
        return nullptr;
    }
    return &thePort();
}

// The line settings are only kept: a port in memory has no line to apply them to.
template <typename Setting>
bool fetch(sys::Handle handle, Setting MemoryPort::*setting, Setting* out) {
    MemoryPort* port = portOf(handle);
    if (port != nullptr) {
        *out = port->*setting;
    }
    return port != nullptr;
}

template <typename Setting>
bool store(sys::Handle handle, Setting MemoryPort::*setting, const Setting* in) {
    MemoryPort* port = portOf(handle);
    if (port != nullptr) {
        port->*setting = *in;
    }
    return port != nullptr;
}

}  // namespace

namespace memory_sys {

CMemoryBox& box() {
    return thePort().box;
}

Calls calls() {
    return thePort().calls;
}

}  // namespace memory_sys

namespace sys {

Handle openPort(const char* name) {
    MemoryPort& port = thePort();
    if (std::strcmp(name, memory_sys::portName) != 0) {
        errno = ENOENT;
        return invalidHandle();
    }
    if (port.open) {
        errno = EBUSY;
        return invalidHandle();
    }
    port.open = true;
    return &port;
}

bool requestLowLatency(Handle) {
    return true;
}

bool closeHandle(Handle handle) {
    MemoryPort* port = portOf(handle);
    if (port == nullptr) {
        return false;
    }
    port->open = false;
    return true;
}

bool getCommState(Handle handle, DCB* dcb) {
    return fetch(handle, &MemoryPort::dcb, dcb);
}

bool setCommState(Handle handle, const DCB* dcb) {
    return store(handle, &MemoryPort::dcb, dcb);
}

bool getCommTimeouts(Handle handle, COMMTIMEOUTS* timeouts) {
    return fetch(handle, &MemoryPort::timeouts, timeouts);
}

bool setCommTimeouts(Handle handle, const COMMTIMEOUTS* timeouts) {
    return store(handle, &MemoryPort::timeouts, timeouts);
}

bool writeFile(Handle handle, const void* data, std::uint32_t count, std::uint32_t* written) {
    *written = 0;
    MemoryPort* port = portOf(handle);
    if (port == nullptr) {
        return false;
    }
    ++port->calls.writes;
    port->box.receive(data, count);
    *written = count;
    return true;
}

// Whatever is waiting, at once: nothing more would come before the time-outs expire.
bool readFile(Handle handle, void* buffer, std::uint32_t count, std::uint32_t* read) {
    *read = 0;
    MemoryPort* port = portOf(handle);
    if (port == nullptr) {
        return false;
    }
    ++port->calls.reads;
    *read = port->box.hand(buffer, count);
    return true;
}

std::uint64_t monotonicMs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::uint64_t>(now.tv_sec) * 1000u +
           static_cast<std::uint64_t>(now.tv_nsec / 1000000);
}

void sleepMs(std::uint32_t) {
    ++thePort().calls.sleeps;
}

}  // namespace sys
