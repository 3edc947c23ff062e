#pragma once
// The system's own error texts, as the module's messages carry them, for the failures the tests
// bring about. system_texts_posix.cpp has the C library's, system_texts_win32.cpp Windows' as Wine
// gives them.

namespace systemTexts {
extern const char* const fileNotFound;    // a port name that names nothing
extern const char* const mutexAbandoned;  // a storage mutex whose owner ended holding it
extern const char* const mutexNotOwned;   // releasing a storage mutex the caller does not hold
extern const char* const noMutexHandle;   // waiting on a null mutex handle
}  // namespace systemTexts
