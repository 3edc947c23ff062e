// The parts of the operating-system seam that the in-process stand-ins for it share: the host
// storages' real mutexes (never abandoned here), the real wall clock, and no libraries to load.
// Each stand-in adds its own port, sleeps and tick clock.

#include <pthread.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>

#include "platform/sys/sys.h"

namespace sys {

Handle invalidHandle() {
    return reinterpret_cast<Handle>(static_cast<std::intptr_t>(-1));
}

std::string lastErrorText() {
    return std::strerror(errno);
}

WaitResult waitMutex(void* mutexHandle) {
    if (mutexHandle == nullptr) {
        errno = EINVAL;
        return WaitResult::failed;
    }
    errno = pthread_mutex_lock(static_cast<pthread_mutex_t*>(mutexHandle));
    return errno == 0 ? WaitResult::signalled : WaitResult::failed;
}

bool releaseMutex(void* mutexHandle) {
    if (mutexHandle == nullptr) {
        errno = EINVAL;
        return false;
    }
    errno = pthread_mutex_unlock(static_cast<pthread_mutex_t*>(mutexHandle));
    return errno == 0;
}

ClockReading readClock() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    tm local{};
    localtime_r(&now.tv_sec, &local);
    return {static_cast<std::int32_t>(now.tv_sec),
            static_cast<std::uint16_t>(now.tv_nsec / 1000000),
            static_cast<std::int16_t>(-local.tm_gmtoff / 60),
            static_cast<std::int16_t>(local.tm_isdst > 0 ? 1 : 0)};
}

Handle loadLibrary(const char*) {
    errno = ENOENT;
    return nullptr;
}

bool freeLibrary(Handle) {
    return false;
}

std::uint32_t currentThreadId() {
    return static_cast<std::uint32_t>(syscall(SYS_gettid));
}

}  // namespace sys
