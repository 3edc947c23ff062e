// Windows side of the host's seam.

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <atomic>
#include <stdexcept>
#include <system_error>

#include "host_os.h"
#include "platform/sys/sys.h"
#include "standard_output.h"

namespace hostos {

void* loadLibrary(const std::string& path, std::string& error) {
    HMODULE library = LoadLibraryA(path.c_str());
    if (library == nullptr) {
        error = sys::lastErrorText();
    }
    return reinterpret_cast<void*>(library);
}

void* librarySymbol(void* library, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

void freeLibrary(void* library) {
    FreeLibrary(static_cast<HMODULE>(library));
}

bool libraryLoaded(const std::string& path) {
    return GetModuleHandleA(path.c_str()) != nullptr;
}

void* createStorageMutex() {
    return CreateMutexA(nullptr, FALSE, nullptr);
}

void destroyStorageMutex(void* mutex) {
    CloseHandle(mutex);
}

std::vector<std::string> serialPorts() {
    std::vector<std::string> ports;
    for (int number = 1; number <= 64; ++number) {
        ports.push_back((number < 10 ? "COM" : "\\\\.\\COM") + std::to_string(number));
    }
    return ports;
}

// A COM name keeps its adapter across a replug: it is its own stable name.
std::string stableNameOf(const std::string&) {
    return {};
}

PortProblem lastPortProblem() {
    switch (GetLastError()) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return PortProblem::missing;
        case ERROR_ACCESS_DENIED:  // a COM port already open elsewhere
        case ERROR_SHARING_VIOLATION:
            return PortProblem::busy;
        case ERROR_INVALID_FUNCTION:
        case ERROR_INVALID_HANDLE:
        case ERROR_INVALID_PARAMETER:
        case ERROR_NOT_SUPPORTED:
            return PortProblem::notSerial;
        default:
            return PortProblem::other;
    }
}

std::string programFolder() {
    char executable[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, executable, sizeof executable);
    const std::string path(executable, length < sizeof executable ? length : 0);
    return path.substr(0, path.find_last_of("\\/") + 1);
}

bool standardOutputIsTerminal() {
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode) != 0;
}

void prepareTerminal() {
    const HANDLE console = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    if (GetConsoleMode(console, &mode) != 0) {
        SetConsoleMode(console, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
    }
}

struct HostedBox::Box {};

HostedBox::HostedBox(const BoardIdentity&, bool, const Faults&) {
    throw std::system_error(std::make_error_code(std::errc::function_not_supported),
                            "Windows has no pseudo-terminals; run pendax-boxsim on Linux");
}

HostedBox::~HostedBox() = default;

std::string HostedBox::port() const {
    return {};
}

namespace {
std::atomic<bool> stopFlag{false};

BOOL WINAPI requestStop(DWORD event) {
    switch (event) {
        case CTRL_C_EVENT:
        case CTRL_BREAK_EVENT:
        case CTRL_CLOSE_EVENT:
            // The second request goes to the system's handler, which ends the program.
            return stopFlag.exchange(true) ? FALSE : TRUE;
        default:
            return FALSE;
    }
}
}  // namespace

void installStopHandlers() {
    SetConsoleCtrlHandler(requestStop, TRUE);
}

bool stopRequested() {
    return stopFlag;
}

namespace {

constexpr int standardOutput = 1;
constexpr int standardError = 2;
}  // namespace

StandardOutputCapture::StandardOutputCapture() {
    char folder[MAX_PATH] = {};
    char name[MAX_PATH] = {};
    if (GetTempPathA(sizeof folder, folder) == 0 || GetTempFileNameA(folder, "pdx", 0, name) == 0) {
        throw std::runtime_error("cannot name a file to capture standard output in");
    }
    // Binary, so that the module's line ends arrive as it writes them; gone when closed.
    captureFile = _open(name, _O_RDWR | _O_BINARY | _O_TEMPORARY | _O_TRUNC);
    if (captureFile < 0) {
        throw std::runtime_error("cannot make a file to capture standard output in");
    }
    flushStandardOutput();
    savedOutput = _dup(standardOutput);
    _dup2(captureFile, standardOutput);
}

StandardOutputCapture::~StandardOutputCapture() {
    flushStandardOutput();
    _dup2(savedOutput, standardOutput);
    _close(savedOutput);
    _close(captureFile);
}

std::string StandardOutputCapture::text() const {
    flushStandardOutput();
    const long end = _lseek(captureFile, 0, SEEK_END);
    std::string text(end > 0 ? static_cast<std::size_t>(end) : 0, '\0');
    _lseek(captureFile, 0, SEEK_SET);
    const int got = _read(captureFile, text.data(), static_cast<unsigned>(text.size()));
    text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at)) {
        text.erase(at, 1);
    }
    return text;
}

StandardOutputTap::StandardOutputTap() {
    int ends[2];
    // Room for far more than one polling cycle writes, as it is emptied between cycles only.
    if (_pipe(ends, 1 << 20, _O_BINARY | _O_NOINHERIT) != 0) {
        throw std::runtime_error("cannot make a pipe for standard output");
    }
    flushStandardOutput();
    terminal = _dup(standardOutput);
    _dup2(ends[1], standardOutput);
    _close(ends[1]);
    tapped = ends[0];
}

StandardOutputTap::~StandardOutputTap() {
    writeToTerminal(take());
    _dup2(terminal, standardOutput);
    _close(terminal);
    _close(tapped);
}

std::string StandardOutputTap::take() {
    flushStandardOutput();
    const auto pipe = reinterpret_cast<HANDLE>(_get_osfhandle(tapped));
    std::string text;
    char buffer[4096];
    for (DWORD waiting = 0;
         PeekNamedPipe(pipe, nullptr, 0, nullptr, &waiting, nullptr) != 0 && waiting > 0;) {
        const int got = _read(tapped, buffer, waiting < sizeof buffer ? waiting : sizeof buffer);
        if (got <= 0) {
            break;
        }
        text.append(buffer, static_cast<std::size_t>(got));
    }
    return text;
}

// The console takes the text as UTF-16, whatever its code page.
void StandardOutputTap::writeToTerminal(const std::string& text) {
    if (text.empty()) {
        return;
    }
    const int length = static_cast<int>(text.size());
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    wide.resize(static_cast<std::size_t>(
        MultiByteToWideChar(CP_UTF8, 0, text.data(), length, wide.data(), length)));
    DWORD written = 0;
    WriteConsoleW(reinterpret_cast<HANDLE>(_get_osfhandle(terminal)), wide.data(),
                  static_cast<DWORD>(wide.size()), &written, nullptr);
}

std::unique_ptr<std::ostream> divertStandardOutputToStandardError() {
    flushStandardOutput();
    const int original = _dup(standardOutput);
    _dup2(standardError, standardOutput);
    return std::make_unique<DescriptorStream>(original);
}

}  // namespace hostos
