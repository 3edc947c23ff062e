#pragma once
// The one place where the module meets the operating system. sys_win32.cpp passes each call
// straight to Win32; sys_posix.cpp gives the same calls the same meaning on POSIX systems.

#include <cstdint>
#include <string>

#include "platform/sys/comm_types.h"

namespace sys {

using Handle = void*;

// The value a failed openPort returns (the platform's invalid-handle value).
Handle invalidHandle();

// Opens a serial port by name for reading and writing, exclusively, as it exists.
Handle openPort(const char* name);
bool closeHandle(Handle port);
// Asks an open port to hand received bytes over at once instead of holding them for a latency
// timer, as Linux's USB serial adapters otherwise do; false when the port does not take it.
// Windows has no such request: there the adapter driver's settings hold the timer.
bool requestLowLatency(Handle port);

bool getCommState(Handle port, DCB* dcb);
bool setCommState(Handle port, const DCB* dcb);
bool getCommTimeouts(Handle port, COMMTIMEOUTS* timeouts);
bool setCommTimeouts(Handle port, const COMMTIMEOUTS* timeouts);

// Synchronous transfers governed by the port's COMMTIMEOUTS. A read that ends because its
// time-outs expired succeeds with the bytes that arrived.
bool writeFile(Handle port, const void* data, std::uint32_t count, std::uint32_t* written);
bool readFile(Handle port, void* buffer, std::uint32_t count, std::uint32_t* read);

// The system's text for the calling thread's last error; call right after the failing call.
std::string lastErrorText();

enum class WaitResult { signalled, abandoned, failed };

// Waits without time limit for a mutex the host created (a Win32 mutex handle, or on POSIX a
// pointer to a process-shared robust pthread_mutex_t). An abandoned mutex is made usable again
// and reported as abandoned; the caller then owns it.
WaitResult waitMutex(void* mutexHandle);
bool releaseMutex(void* mutexHandle);

// One reading of the system clock as the C library's ftime gives it.
struct ClockReading {
    std::int32_t seconds;         // since 1970-01-01 00:00 UTC
    std::uint16_t milliseconds;   // within that second
    std::int16_t minutesWest;     // of UTC, local time zone
    std::int16_t daylightSaving;  // non-zero while daylight-saving time applies
};
ClockReading readClock();

// Loads a dynamic library by file name; null when it cannot be loaded.
Handle loadLibrary(const char* name);
bool freeLibrary(Handle library);

// Milliseconds of a clock that only moves forward, from an arbitrary start.
std::uint64_t monotonicMs();

// The operating system's numeric id of the calling thread.
std::uint32_t currentThreadId();

// Sleeps for the given milliseconds; 0 gives up the rest of the time slice.
void sleepMs(std::uint32_t milliseconds);

}  // namespace sys
