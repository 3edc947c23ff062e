// POSIX side of the seam: a serial port is a termios device read with poll so that reads keep
// the Win32 COMMTIMEOUTS meaning; a host mutex is a robust, process-shared pthread mutex.

#include <dlfcn.h>
#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <pthread.h>
#include <sched.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/syscall.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstring>
#include <ctime>

#include "platform/sys/sys.h"

namespace sys {
namespace {

// What a handle stands for: the descriptor, the line settings it had before we opened it (put
// back at close), and the DCB and time-out fields that termios has no place for.
struct Port {
    int fd;
    termios original;
    DCB dcb;
    COMMTIMEOUTS timeouts;
};

Port* portOf(Handle handle) {
    if (handle == nullptr || handle == invalidHandle()) {
        errno = EBADF;
        return nullptr;
    }
    return static_cast<Port*>(handle);
}

struct BaudCode {
    DWORD rate;
    speed_t code;
};

// B0 is listed so that a line found at speed 0 (a fresh pseudo-terminal) can be put back so.
constexpr BaudCode baudCodes[] = {
    {0, B0},         {50, B50},       {75, B75},         {110, B110},       {134, B134},
    {150, B150},     {200, B200},     {300, B300},       {600, B600},       {1200, B1200},
    {1800, B1800},   {2400, B2400},   {4800, B4800},     {9600, B9600},     {19200, B19200},
    {38400, B38400}, {57600, B57600}, {115200, B115200}, {230400, B230400},
};

bool baudToCode(DWORD rate, speed_t* code) {
    for (const BaudCode& entry : baudCodes) {
        if (entry.rate == rate) {
            *code = entry.code;
            return true;
        }
    }
    return false;
}

DWORD codeToBaud(speed_t code) {
    for (const BaudCode& entry : baudCodes) {
        if (entry.code == code) {
            return entry.rate;
        }
    }
    return 0;
}

// Win32 ports have no line discipline: bytes pass untouched, nothing is echoed.
void makeRaw(termios* t) {
    cfmakeraw(t);
    t->c_cflag |= CLOCAL | CREAD;
    t->c_cc[VMIN] = 0;
    t->c_cc[VTIME] = 0;
}

void readLineSettings(const termios& t, DCB* dcb) {
    dcb->DCBlength = sizeof(DCB);
    dcb->BaudRate = codeToBaud(cfgetospeed(&t));
    switch (t.c_cflag & CSIZE) {
        case CS5:
            dcb->ByteSize = 5;
            break;
        case CS6:
            dcb->ByteSize = 6;
            break;
        case CS7:
            dcb->ByteSize = 7;
            break;
        default:
            dcb->ByteSize = 8;
            break;
    }
    if ((t.c_cflag & PARENB) == 0) {
        dcb->Parity = NOPARITY;
    } else if (dcb->Parity != MARKPARITY && dcb->Parity != SPACEPARITY) {
        dcb->Parity = (t.c_cflag & PARODD) != 0 ? ODDPARITY : EVENPARITY;
    }
    if ((t.c_cflag & CSTOPB) == 0) {
        dcb->StopBits = ONESTOPBIT;
    } else if (dcb->StopBits == ONESTOPBIT) {
        dcb->StopBits = TWOSTOPBITS;
    }
    dcb->fBinary = 1;
}

bool writeLineSettings(const DCB& dcb, termios* t) {
    speed_t code = 0;
    if (!baudToCode(dcb.BaudRate, &code) || dcb.ByteSize < 5 || dcb.ByteSize > 8 ||
        dcb.Parity > SPACEPARITY || dcb.StopBits > TWOSTOPBITS) {
        errno = EINVAL;
        return false;
    }
    makeRaw(t);
    cfsetispeed(t, code);
    cfsetospeed(t, code);
    constexpr tcflag_t sizes[] = {CS5, CS6, CS7, CS8};
    t->c_cflag = (t->c_cflag & ~CSIZE) | sizes[dcb.ByteSize - 5];
    t->c_cflag &= ~(PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
    switch (dcb.Parity) {
        case ODDPARITY:
            t->c_cflag |= PARENB | PARODD;
            break;
        case EVENPARITY:
            t->c_cflag |= PARENB;
            break;
        case MARKPARITY:
            t->c_cflag |= PARENB | PARODD | CMSPAR;
            break;
        case SPACEPARITY:
            t->c_cflag |= PARENB | CMSPAR;
            break;
        default:
            break;
    }
    if (dcb.fParity != 0) {
        t->c_iflag |= INPCK;
    }
    if (dcb.StopBits != ONESTOPBIT) {
        t->c_cflag |= CSTOPB;
    }
    // termios has one switch for both hardware handshakes. RTS handshaking on input without
    // honouring CTS on output cannot be expressed; the lines then run without flow control,
    // which never blocks output to a box whose CTS line is not wired.
    if (dcb.fOutxCtsFlow != 0 && dcb.fRtsControl == RTS_CONTROL_HANDSHAKE) {
        t->c_cflag |= CRTSCTS;
    }
    if (dcb.fOutX != 0) {
        t->c_iflag |= IXON;
    }
    if (dcb.fInX != 0) {
        t->c_iflag |= IXOFF;
    }
    t->c_cc[VSTART] = static_cast<cc_t>(dcb.XonChar);
    t->c_cc[VSTOP] = static_cast<cc_t>(dcb.XoffChar);
    return true;
}

// Raises or drops DTR and RTS as asked. Pseudo-terminals have no modem lines and refuse these
// calls; that is no reason to fail the settings.
void applyModemLines(int fd, const DCB& dcb) {
    int dtr = TIOCM_DTR;
    int rts = TIOCM_RTS;
    if (dcb.fDtrControl != 0) {
        ioctl(fd, dcb.fDtrControl == 1 || dcb.fDtrControl == 2 ? TIOCMBIS : TIOCMBIC, &dtr);
    }
    if (dcb.fRtsControl == RTS_CONTROL_ENABLE || dcb.fRtsControl == RTS_CONTROL_HANDSHAKE) {
        ioctl(fd, TIOCMBIS, &rts);
    } else if (dcb.fRtsControl == RTS_CONTROL_DISABLE) {
        ioctl(fd, TIOCMBIC, &rts);
    }
}

using Clock = std::chrono::steady_clock;

// Milliseconds left until the deadline, clamped for poll (0 when passed).
int millisecondsUntil(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) {
        return 0;
    }
    return left > INT_MAX ? INT_MAX : static_cast<int>(left);
}

// Waits until the descriptor is ready for the given events, at most timeoutMs (-1: forever).
// Returns 1 when ready, 2 when the line has hung up (the next transfer call reports what is left),
// 0 on time-out, -1 on error.
int waitReady(int fd, short events, int timeoutMs) {
    pollfd p{fd, events, 0};
    for (;;) {
        const int rc = poll(&p, 1, timeoutMs);
        if (rc >= 0) {
            if (rc == 0) {
                return 0;
            }
            return (p.revents & (POLLHUP | POLLERR)) != 0 ? 2 : 1;
        }
        if (errno != EINTR) {
            return -1;
        }
    }
}

// Reads whatever is waiting, up to count. Returns the bytes read, 0 when nothing was there or the
// other side reached its end, -1 on error.
ssize_t readAvailable(int fd, unsigned char* buffer, std::uint32_t count) {
    for (;;) {
        const ssize_t rc = ::read(fd, buffer, count);
        if (rc >= 0) {
            return rc;
        }
        if (errno == EAGAIN || errno == EWOULDBLOCK) {
            return 0;
        }
        if (errno != EINTR) {
            return -1;
        }
    }
}

}  // namespace

Handle invalidHandle() {
    return reinterpret_cast<Handle>(static_cast<std::intptr_t>(-1));
}

Handle openPort(const char* name) {
    const int fd = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return invalidHandle();
    }
    // Win32 refuses what is not a communications device; a file or a pipe would take no line
    // settings and no read time-outs.
    if (isatty(fd) == 0) {
        const int error = errno;
        ::close(fd);
        errno = error;
        return invalidHandle();
    }
    // Win32 opens a port without sharing: a second opener is turned away.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        errno = EBUSY;
        return invalidHandle();
    }
    Port* port = new Port{};
    port->fd = fd;
    if (tcgetattr(fd, &port->original) == 0) {
        readLineSettings(port->original, &port->dcb);
        termios raw = port->original;
        makeRaw(&raw);
        tcsetattr(fd, TCSANOW, &raw);
    }
    port->dcb.XonChar = 0x11;
    port->dcb.XoffChar = 0x13;
    return port;
}

bool requestLowLatency(Handle handle) {
    Port* port = portOf(handle);
    serial_struct serial{};
    if (port == nullptr || ioctl(port->fd, TIOCGSERIAL, &serial) != 0) {
        return false;
    }
    serial.flags |= ASYNC_LOW_LATENCY;
    return ioctl(port->fd, TIOCSSERIAL, &serial) == 0;
}

bool closeHandle(Handle handle) {
    Port* port = portOf(handle);
    if (port == nullptr) {
        return false;
    }
    tcsetattr(port->fd, TCSANOW, &port->original);
    const int rc = ::close(port->fd);
    const int error = errno;
    delete port;
    errno = error;
    return rc == 0;
}

bool getCommState(Handle handle, DCB* dcb) {
    Port* port = portOf(handle);
    termios t{};
    if (port == nullptr || tcgetattr(port->fd, &t) != 0) {
        return false;
    }
    readLineSettings(t, &port->dcb);
    *dcb = port->dcb;
    return true;
}

bool setCommState(Handle handle, const DCB* dcb) {
    Port* port = portOf(handle);
    termios t{};
    if (port == nullptr || tcgetattr(port->fd, &t) != 0 || !writeLineSettings(*dcb, &t) ||
        tcsetattr(port->fd, TCSANOW, &t) != 0) {
        return false;
    }
    applyModemLines(port->fd, *dcb);
    port->dcb = *dcb;
    port->dcb.DCBlength = sizeof(DCB);
    return true;
}

bool getCommTimeouts(Handle handle, COMMTIMEOUTS* timeouts) {
    Port* port = portOf(handle);
    if (port == nullptr) {
        return false;
    }
    *timeouts = port->timeouts;
    return true;
}

bool setCommTimeouts(Handle handle, const COMMTIMEOUTS* timeouts) {
    Port* port = portOf(handle);
    if (port == nullptr) {
        return false;
    }
    port->timeouts = *timeouts;
    return true;
}

bool writeFile(Handle handle, const void* data, std::uint32_t count, std::uint32_t* written) {
    *written = 0;
    Port* port = portOf(handle);
    if (port == nullptr) {
        return false;
    }
    const COMMTIMEOUTS& t = port->timeouts;
    const bool bounded = t.WriteTotalTimeoutMultiplier != 0 || t.WriteTotalTimeoutConstant != 0;
    const auto deadline = Clock::now() + std::chrono::milliseconds(
                                             std::uint64_t{t.WriteTotalTimeoutMultiplier} * count +
                                             t.WriteTotalTimeoutConstant);
    const auto* bytes = static_cast<const unsigned char*>(data);
    while (*written < count) {
        const ssize_t rc = ::write(port->fd, bytes + *written, count - *written);
        if (rc > 0) {
            *written += static_cast<std::uint32_t>(rc);
            continue;
        }
        if (rc < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
            return false;
        }
        const int ready = waitReady(port->fd, POLLOUT, bounded ? millisecondsUntil(deadline) : -1);
        if (ready < 0) {
            return false;
        }
        if (ready == 0) {
            break;  // write time-out: the count so far is the result
        }
    }
    return true;
}

bool readFile(Handle handle, void* buffer, std::uint32_t count, std::uint32_t* read) {
    *read = 0;
    Port* port = portOf(handle);
    if (port == nullptr) {
        return false;
    }
    auto* bytes = static_cast<unsigned char*>(buffer);
    const COMMTIMEOUTS& t = port->timeouts;
    const std::uint64_t multiplier = t.ReadTotalTimeoutMultiplier;
    const std::uint64_t constant = t.ReadTotalTimeoutConstant;

    // MAXDWORD interval with zero totals: hand over what is already there.
    const bool immediate = t.ReadIntervalTimeout == MAXDWORD && multiplier == 0 && constant == 0;
    // MAXDWORD interval and multiplier with a finite constant: return as soon as anything came.
    const bool firstByte = t.ReadIntervalTimeout == MAXDWORD && multiplier == MAXDWORD &&
                           constant != 0 && constant != MAXDWORD;
    const bool totalBounded = !immediate && (multiplier != 0 || constant != 0);
    const auto deadline = Clock::now() + std::chrono::milliseconds(
                                             firstByte ? constant : multiplier * count + constant);
    const bool intervalBounded = t.ReadIntervalTimeout != 0 && t.ReadIntervalTimeout != MAXDWORD;

    while (*read < count) {
        int waitMs = -1;
        if (immediate) {
            waitMs = 0;
        } else {
            if (totalBounded) {
                waitMs = millisecondsUntil(deadline);
            }
            if (intervalBounded && *read > 0) {
                const int interval = static_cast<int>(
                    t.ReadIntervalTimeout > INT_MAX ? INT_MAX : t.ReadIntervalTimeout);
                waitMs = waitMs < 0 ? interval : std::min(waitMs, interval);
            }
        }
        const int ready = waitReady(port->fd, POLLIN, waitMs);
        if (ready < 0) {
            return false;
        }
        if (ready == 0) {
            break;
        }
        const ssize_t got = readAvailable(port->fd, bytes + *read, count - *read);
        if (got < 0) {
            return false;
        }
        if (got == 0 && ready == 2) {
            errno = EIO;  // nothing left on a line that hung up, as a pulled adapter's does
            return false;
        }
        if (got == 0 && immediate) {
            break;
        }
        if (got == 0) {
            continue;  // woken without a byte: wait on for what is left of the time-outs
        }
        *read += static_cast<std::uint32_t>(got);
        if (immediate || firstByte) {
            // Take whatever else is already waiting, then return.
            const ssize_t more = readAvailable(port->fd, bytes + *read, count - *read);
            if (more > 0) {
                *read += static_cast<std::uint32_t>(more);
            }
            break;
        }
    }
    return true;
}

std::string lastErrorText() {
    return std::strerror(errno);
}

WaitResult waitMutex(void* mutexHandle) {
    auto* mutex = static_cast<pthread_mutex_t*>(mutexHandle);
    if (mutex == nullptr) {
        errno = EINVAL;
        return WaitResult::failed;
    }
    const int rc = pthread_mutex_lock(mutex);
    if (rc == 0) {
        return WaitResult::signalled;
    }
    if (rc == EOWNERDEAD) {
        pthread_mutex_consistent(mutex);
        errno = EOWNERDEAD;
        return WaitResult::abandoned;
    }
    errno = rc;
    return WaitResult::failed;
}

bool releaseMutex(void* mutexHandle) {
    if (mutexHandle == nullptr) {
        errno = EINVAL;
        return false;
    }
    const int rc = pthread_mutex_unlock(static_cast<pthread_mutex_t*>(mutexHandle));
    if (rc != 0) {
        errno = rc;
        return false;
    }
    return true;
}

ClockReading readClock() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    tm local{};
    localtime_r(&now.tv_sec, &local);
    ClockReading reading{};
    reading.seconds = static_cast<std::int32_t>(now.tv_sec);
    reading.milliseconds = static_cast<std::uint16_t>(now.tv_nsec / 1000000);
    reading.minutesWest = static_cast<std::int16_t>(-local.tm_gmtoff / 60);
    reading.daylightSaving = static_cast<std::int16_t>(local.tm_isdst > 0 ? 1 : 0);
    return reading;
}

Handle loadLibrary(const char* name) {
    return dlopen(name, RTLD_NOW | RTLD_LOCAL);
}

bool freeLibrary(Handle library) {
    return dlclose(library) == 0;
}

std::uint64_t monotonicMs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::uint64_t>(now.tv_sec) * 1000u +
           static_cast<std::uint64_t>(now.tv_nsec / 1000000);
}

std::uint32_t currentThreadId() {
    return static_cast<std::uint32_t>(syscall(SYS_gettid));
}

void sleepMs(std::uint32_t milliseconds) {
    if (milliseconds == 0) {
        sched_yield();
        return;
    }
    timespec delay{static_cast<time_t>(milliseconds / 1000),
                   static_cast<long>(milliseconds % 1000) * 1000000L};
    while (nanosleep(&delay, &delay) != 0 && errno == EINTR) {
    }
}

}  // namespace sys
