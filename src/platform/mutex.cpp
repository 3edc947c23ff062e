#include "platform/mutex.h"

#include <iostream>
#include <string>

#include "platform/sys/sys.h"

bool CMutexH::lock() {
    if (sys::waitMutex(mutexHandle) == sys::WaitResult::signalled) {
        return true;
    }
    reportFailure("CMutexH: Locking mutex: ");
    return false;
}

bool CMutexH::unlock() {
    if (sys::releaseMutex(mutexHandle)) {
        return true;
    }
    reportFailure("CMutexH: Unlocking mutex: ");
    return false;
}

void CMutexH::reportFailure(const char* message) const {
    const std::string systemText = sys::lastErrorText();
    errorThrough(logger, message, false);
    std::cout << systemText << std::endl;
}
