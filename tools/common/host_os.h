#pragma once
// The one place where the reference host and the tests meet the operating system, as
// src/platform/sys/ is for the module: loading the module, the storages' mutexes, the terminal,
// stop requests and the process's standard output. host_os_posix.cpp and host_os_win32.cpp give
// each call the same meaning on their system.

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "board_identity.h"
#include "faults.h"

namespace hostos {

// A dynamic library by its file name; null, with the system's reason in error, when it cannot be
// loaded.
void* loadLibrary(const std::string& path, std::string& error);
void* librarySymbol(void* library, const char* name);
void freeLibrary(void* library);
// Whether the process has the library loaded, without loading it.
bool libraryLoaded(const std::string& path);

// A storage mutex as the daemon makes one: on Windows a Win32 mutex handle, elsewhere a
// process-shared, robust pthread mutex. Its owner's death leaves it abandoned, not locked for good.
void* createStorageMutex();
void destroyStorageMutex(void* mutex);

// The folder the running program lies in, ending in its separator.
std::string programFolder();

// The serial ports the system knows of, to look for a box on: on Linux the USB adapters that
// have a /dev/serial/by-id name first, then the other /dev/ttyUSB*, /dev/ttyACM* and /dev/ttyS*;
// on Windows COM1 to COM64 (from COM10 on in the \\.\COM10 form that opens them).
std::vector<std::string> serialPorts();
// A name of the port that survives a replug (its /dev/serial/by-id link), or "" when it has none.
std::string stableNameOf(const std::string& port);

// What the port call of the module's seam that failed just now ran into.
enum class PortProblem { missing, busy, notSerial, other };
PortProblem lastPortProblem();

bool standardOutputIsTerminal();
// Makes the terminal take the live view's cursor moves.
void prepareTerminal();

// Ctrl-C and SIGTERM (on Windows Ctrl-C, Ctrl-Break and closing the console) ask the host to
// stop; a second request ends the program at once, should a stop ever hang. A reader of standard
// output that goes away fails the write instead of ending the program.
void installStopHandlers();
bool stopRequested();

// The virtual box of --sim, serving in the host's own process on a pseudo-terminal until the
// object goes. Throws std::system_error where it cannot start; Windows has no pseudo-terminals.
class HostedBox {
public:
    HostedBox(const BoardIdentity& board, bool motion, const Faults& faults);
    ~HostedBox();
    HostedBox(const HostedBox&) = delete;
    HostedBox& operator=(const HostedBox&) = delete;

    // The line to open.
    std::string port() const;

private:
    struct Box;
    std::unique_ptr<Box> box;
};

// What reaches the process's standard output at the descriptor level, where a module with a C++
// runtime of its own (the self-contained Windows DLL) writes too, while the object lives.
class StandardOutputCapture {
public:
    StandardOutputCapture();
    ~StandardOutputCapture();
    StandardOutputCapture(const StandardOutputCapture&) = delete;
    StandardOutputCapture& operator=(const StandardOutputCapture&) = delete;

    // Everything written so far, line ends as "\n".
    std::string text() const;

private:
    int savedOutput;
    int captureFile;
};

// Takes everything written to standard output while the object lives, by the host and by the
// module whatever its C++ runtime, so that the live view can place it; the terminal that standard
// output was stays reachable. What is left at the end goes on to the terminal.
class StandardOutputTap {
public:
    StandardOutputTap();
    ~StandardOutputTap();
    StandardOutputTap(const StandardOutputTap&) = delete;
    StandardOutputTap& operator=(const StandardOutputTap&) = delete;

    // What was written since the last call, without waiting for more.
    std::string take();
    void writeToTerminal(const std::string& text);

private:
    int terminal;
    int tapped;
};

// Sends everything written to standard output, by the host and by the module, to standard error,
// and returns a stream onto the standard output as it was.
std::unique_ptr<std::ostream> divertStandardOutputToStandardError();

}  // namespace hostos
