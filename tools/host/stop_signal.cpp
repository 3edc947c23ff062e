#include "stop_signal.h"

#include <csignal>

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
    // A reader of the JSON output that goes away ends the loop through the failed write instead,
    // so the device is still stopped and deleted.
    std::signal(SIGPIPE, SIG_IGN);
}

bool stopRequested() {
    return stopFlag != 0;
}
