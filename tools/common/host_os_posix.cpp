// POSIX side of the host's seam.

#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <stdexcept>
#include <system_error>

#include "host_os.h"
#include "standard_output.h"
#include "virtual_box.h"

namespace hostos {

void* loadLibrary(const std::string& path, std::string& error) {
    void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        error = dlerror();
    }
    return library;
}

void* librarySymbol(void* library, const char* name) {
    return dlsym(library, name);
}

void freeLibrary(void* library) {
    dlclose(library);
}

bool libraryLoaded(const std::string& path) {
    void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (library != nullptr) {
        dlclose(library);
    }
    return library != nullptr;
}

void* createStorageMutex() {
    auto* mutex = new pthread_mutex_t;
    pthread_mutexattr_t attributes;
    pthread_mutexattr_init(&attributes);
    pthread_mutexattr_setpshared(&attributes, PTHREAD_PROCESS_SHARED);
    pthread_mutexattr_setrobust(&attributes, PTHREAD_MUTEX_ROBUST);
    pthread_mutex_init(mutex, &attributes);
    pthread_mutexattr_destroy(&attributes);
    return mutex;
}

void destroyStorageMutex(void* mutex) {
    auto* pthreadMutex = static_cast<pthread_mutex_t*>(mutex);
    pthread_mutex_destroy(pthreadMutex);
    delete pthreadMutex;
}

namespace {

const char* const stableFolder = "/dev/serial/by-id";

// The files of a folder whose names begin with the prefix, in name order.
std::vector<std::string> filesIn(const std::string& folder, const std::string& prefix) {
    std::vector<std::string> names;
    if (DIR* directory = opendir(folder.c_str())) {
        while (const dirent* entry = readdir(directory)) {
            const std::string name = entry->d_name;
            if (name != "." && name != ".." && name.rfind(prefix, 0) == 0) {
                names.push_back(folder + "/" + name);
            }
        }
        closedir(directory);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string realPathOf(const std::string& path) {
    char resolved[PATH_MAX];
    return realpath(path.c_str(), resolved) != nullptr ? resolved : path;
}

}  // namespace

std::vector<std::string> serialPorts() {
    std::vector<std::string> ports;
    const auto add = [&ports](const std::string& port) {
        if (std::find(ports.begin(), ports.end(), port) == ports.end()) {
            ports.push_back(port);
        }
    };
    for (const std::string& link : filesIn(stableFolder, "")) {
        add(realPathOf(link));
    }
    for (const char* prefix : {"ttyUSB", "ttyACM", "ttyS"}) {
        std::vector<std::string> devices = filesIn("/dev", prefix);
        // ttyS10 after ttyS9
        std::stable_sort(
            devices.begin(), devices.end(),
            [](const std::string& a, const std::string& b) { return a.size() < b.size(); });
        for (const std::string& device : devices) {
            add(device);
        }
    }
    return ports;
}

std::string stableNameOf(const std::string& port) {
    const std::string device = realPathOf(port);
    for (const std::string& link : filesIn(stableFolder, "")) {
        if (realPathOf(link) == device && link != port) {
            return link;
        }
    }
    return {};
}

PortProblem lastPortProblem() {
    switch (errno) {
        case ENOENT:
        case ENODEV:
        case ENXIO:
        case EIO:
            return PortProblem::missing;
        case EBUSY:
        case EAGAIN:
            return PortProblem::busy;
        case ENOTTY:
            return PortProblem::notSerial;
        default:
            return PortProblem::other;
    }
}

std::string programFolder() {
    char executable[PATH_MAX] = {};
    const ssize_t length = readlink("/proc/self/exe", executable, sizeof executable - 1);
    const std::string path(executable, length > 0 ? static_cast<std::size_t>(length) : 0);
    return path.substr(0, path.rfind('/') + 1);
}

bool standardOutputIsTerminal() {
    return isatty(STDOUT_FILENO) != 0;
}

void prepareTerminal() {}

struct HostedBox::Box {
    explicit Box(const BoardIdentity& board) : virtualBox(board) {}
    CVirtualBox virtualBox;
};

HostedBox::HostedBox(const BoardIdentity& board, bool motion, const Faults& faults)
    : box(std::make_unique<Box>(board)) {
    box->virtualBox.setMotion(motion);
    box->virtualBox.setFaults(faults);
}

HostedBox::~HostedBox() = default;

std::string HostedBox::port() const {
    return box->virtualBox.linePath();
}

namespace {
volatile std::sig_atomic_t stopFlag = 0;

void requestStop(int) {
    stopFlag = 1;
}
}  // namespace

void installStopHandlers() {
    struct sigaction action {};
    action.sa_handler = requestStop;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
}

bool stopRequested() {
    return stopFlag != 0;
}

StandardOutputCapture::StandardOutputCapture() {
    char name[] = "/tmp/pendax-stdout-XXXXXX";
    captureFile = mkstemp(name);
    if (captureFile < 0) {
        throw std::runtime_error("cannot make a file to capture standard output in");
    }
    unlink(name);
    flushStandardOutput();
    savedOutput = dup(STDOUT_FILENO);
    dup2(captureFile, STDOUT_FILENO);
}

StandardOutputCapture::~StandardOutputCapture() {
    flushStandardOutput();
    dup2(savedOutput, STDOUT_FILENO);
    close(savedOutput);
    close(captureFile);
}

std::string StandardOutputCapture::text() const {
    flushStandardOutput();
    std::string text;
    char buffer[4096];
    for (off_t at = 0;;) {
        const ssize_t got = pread(captureFile, buffer, sizeof buffer, at);
        if (got <= 0) {
            return text;
        }
        text.append(buffer, static_cast<std::size_t>(got));
        at += got;
    }
}

StandardOutputTap::StandardOutputTap() {
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) {
        throw std::system_error(errno, std::generic_category(), "pipe");
    }
    fcntl(ends[0], F_SETFL, O_NONBLOCK);
    // Room for far more than one polling cycle writes, as it is emptied between cycles only.
    fcntl(ends[1], F_SETPIPE_SZ, 1 << 20);
    flushStandardOutput();
    terminal = dup(STDOUT_FILENO);
    dup2(ends[1], STDOUT_FILENO);
    close(ends[1]);
    tapped = ends[0];
}

StandardOutputTap::~StandardOutputTap() {
    writeToTerminal(take());
    dup2(terminal, STDOUT_FILENO);
    close(terminal);
    close(tapped);
}

std::string StandardOutputTap::take() {
    flushStandardOutput();
    std::string text;
    char buffer[4096];
    for (ssize_t got; (got = read(tapped, buffer, sizeof buffer)) > 0;) {
        text.append(buffer, static_cast<std::size_t>(got));
    }
    return text;
}

void StandardOutputTap::writeToTerminal(const std::string& text) {
    for (std::size_t done = 0; done < text.size();) {
        const ssize_t written = write(terminal, text.data() + done, text.size() - done);
        if (written < 0 && errno != EINTR) {
            return;
        }
        done += written > 0 ? static_cast<std::size_t>(written) : 0;
    }
}

std::unique_ptr<std::ostream> divertStandardOutputToStandardError() {
    flushStandardOutput();
    const int original = dup(STDOUT_FILENO);
    dup2(STDERR_FILENO, STDOUT_FILENO);
    return std::make_unique<DescriptorStream>(original);
}

}  // namespace hostos
