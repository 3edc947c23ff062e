#pragma once
// The module's view of the host's mutex object: only the fields it uses, at their offsets.

#include <cstddef>
#include <cstdint>

#include "platform/logger.h"

class CMutexH {
public:
    bool lock();
    bool unlock();

    std::uint8_t hostData0[68];
    void* mutexHandle;  // a Win32 mutex handle; on POSIX a process-shared robust pthread_mutex_t*
    std::uint8_t hostData1[8];
    CLogH* logger;

private:
    void reportFailure(const char* message) const;
};

static_assert(sizeof(void*) != 4 || offsetof(CMutexH, mutexHandle) == 68, "CMutexH layout");
static_assert(sizeof(void*) != 4 || offsetof(CMutexH, logger) == 80, "CMutexH layout");
