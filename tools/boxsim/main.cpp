// pendax-boxsim: a virtual Pendax box on a pseudo-terminal, for trying a host without hardware.
// See --help (options.cpp) for what it does and how it is stopped.

#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cerrno>
#include <iostream>
#include <string>
#include <system_error>

#include "console_commands.h"
#include "options.h"
#include "virtual_box.h"

namespace {

// Blocks the stop signals in every thread (the box's thread inherits this) and hands them out
// as readable events instead.
int stopSignals() {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    return signalfd(-1, &signals, SFD_CLOEXEC);
}

// Runs every complete line gathered so far; keeps an unfinished one for later.
void runLines(CVirtualBox& box, std::string& pending) {
    for (std::size_t end; (end = pending.find('\n')) != std::string::npos;) {
        runConsoleCommand(box, pending.substr(0, end), std::cerr);
        pending.erase(0, end + 1);
    }
}

// Serves until a stop signal; standard input carries commands until it ends.
void serveUntilStopped(CVirtualBox& box, int signals) {
    pollfd fds[2] = {{signals, POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
    std::string pending;
    for (;;) {
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            return;
        }
        if ((fds[0].revents & POLLIN) != 0) {
            return;
        }
        if ((fds[1].revents & (POLLIN | POLLHUP | POLLERR | POLLNVAL)) != 0) {
            char bytes[1024];
            const ssize_t got = ::read(STDIN_FILENO, bytes, sizeof bytes);
            if (got <= 0 && !(got < 0 && errno == EINTR)) {
                runLines(box, pending += '\n');
                fds[1].fd = -1;  // input has ended; the box serves on
                continue;
            }
            if (got > 0) {
                runLines(box, pending.append(bytes, static_cast<std::size_t>(got)));
            }
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    BoxOptions options;
    std::string error;
    if (!parseOptions(argc, argv, &options, &error)) {
        std::cerr << "pendax-boxsim: " << error << "\nTry pendax-boxsim --help.\n";
        return 2;
    }
    if (options.help) {
        std::cout << usageText;
        return 0;
    }
    signal(SIGPIPE, SIG_IGN);
    const int signals = stopSignals();
    try {
        CVirtualBox box(options.board);
        box.setMotion(options.motion);
        box.setLineRate(options.lineRate);
        box.setFaults(options.faults);
        std::cout << box.linePath() << std::endl;
        serveUntilStopped(box, signals);
        box.stop();
        writeCounters(box.counters(), std::cerr);
    } catch (const std::system_error& failure) {
        std::cerr << "pendax-boxsim: " << failure.what() << "\n";
        return 1;
    }
    return 0;
}
