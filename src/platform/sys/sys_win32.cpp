// Win32 side of the seam: every call passes straight to the platform.

#include <sys/timeb.h>
#include <windows.h>

#include "platform/sys/sys.h"

namespace sys {

Handle invalidHandle() {
    return INVALID_HANDLE_VALUE;
}

Handle openPort(const char* name) {
    return CreateFileA(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool requestLowLatency(Handle) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return false;
}

bool closeHandle(Handle port) {
    return CloseHandle(port) != 0;
}

bool getCommState(Handle port, DCB* dcb) {
    return GetCommState(port, dcb) != 0;
}

bool setCommState(Handle port, const DCB* dcb) {
    return SetCommState(port, const_cast<DCB*>(dcb)) != 0;
}

bool getCommTimeouts(Handle port, COMMTIMEOUTS* timeouts) {
    return GetCommTimeouts(port, timeouts) != 0;
}

bool setCommTimeouts(Handle port, const COMMTIMEOUTS* timeouts) {
    return SetCommTimeouts(port, const_cast<COMMTIMEOUTS*>(timeouts)) != 0;
}

bool writeFile(Handle port, const void* data, std::uint32_t count, std::uint32_t* written) {
    DWORD done = 0;
    const BOOL ok = WriteFile(port, data, count, &done, nullptr);
    *written = done;
    return ok != 0;
}

bool readFile(Handle port, void* buffer, std::uint32_t count, std::uint32_t* read) {
    DWORD done = 0;
    const BOOL ok = ReadFile(port, buffer, count, &done, nullptr);
    *read = done;
    return ok != 0;
}

std::string lastErrorText() {
    const DWORD code = GetLastError();
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM,
        nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<LPSTR>(&text), 0,
        nullptr);
    std::string result = length != 0 && text != nullptr ? std::string(text, length)
                                                        : "Unknown error " + std::to_string(code);
    LocalFree(text);
    // The system's texts end in a line end of their own; the caller ends the line.
    result.erase(result.find_last_not_of("\r\n") + 1);
    return result;
}

WaitResult waitMutex(void* mutexHandle) {
    switch (WaitForSingleObject(mutexHandle, INFINITE)) {
        case WAIT_OBJECT_0:
            return WaitResult::signalled;
        case WAIT_ABANDONED:
            // Such a wait succeeds and sets no error, so the last one would be reported instead.
            SetLastError(ERROR_ABANDONED_WAIT_0);
            return WaitResult::abandoned;
        default:
            return WaitResult::failed;
    }
}

bool releaseMutex(void* mutexHandle) {
    return ReleaseMutex(mutexHandle) != 0;
}

ClockReading readClock() {
    __timeb32 now{};
    _ftime32(&now);
    return ClockReading{static_cast<std::int32_t>(now.time), now.millitm, now.timezone,
                        now.dstflag};
}

Handle loadLibrary(const char* name) {
    return LoadLibraryA(name);
}

bool freeLibrary(Handle library) {
    return FreeLibrary(static_cast<HMODULE>(library)) != 0;
}

std::uint64_t monotonicMs() {
    return GetTickCount64();
}

std::uint32_t currentThreadId() {
    return GetCurrentThreadId();
}

void sleepMs(std::uint32_t milliseconds) {
    Sleep(milliseconds);
}

}  // namespace sys
