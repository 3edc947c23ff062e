// A line that went away (an adapter pulled, a box's adapter switched off): the cycles fail at
// about a silent box's pace instead of at once, and about every two seconds the port is opened
// again by its name and the box identified and set up afresh, since it may have been switched
// off and forgotten its set-up. An emulated tracker goes on from where it was: the time without
// samples is not integrated.

#include <iostream>

#include "controller/con_common.h"
#include "device/pendax.h"
#include "platform/sys/sys.h"

namespace {
constexpr std::uint64_t reopenIntervalMs = 2000;
constexpr std::uint32_t lostCyclePauseMs = 100;  // about a silent box's read time-out
}  // namespace

bool CPendax::portFailed() const {
    return serialPort != nullptr && serialPort->transferFailed();
}

// A cycle that failed. When the port itself failed the line is taken for gone: the first loss has
// been logged where it was found, and what follows says nothing until a reopen is tried.
std::int32_t CPendax::failedCycle() {
    if (portFailed() && !stopped) {
        lineLost = true;
        serialPort->dropHandle();
        nextReopenMs = sys::monotonicMs() + reopenIntervalMs;
        sys::sleepMs(lostCyclePauseMs);
    }
    return -1;
}

// 0 once the box is back (its next packet is published, changed or not), -1 while it is not.
std::int32_t CPendax::recoverLine() {
    if (sys::monotonicMs() >= nextReopenMs) {
        if (reopenLine()) {
            lineLost = false;
            republish = true;
            conCommon->restartEmulationClocks();
            logger->info("CPendax: The box is back on ", false);
            std::cout << serialPortName << "." << std::endl;
            return 0;
        }
        nextReopenMs = sys::monotonicMs() + reopenIntervalMs;
    }
    sys::sleepMs(lostCyclePauseMs);
    return -1;
}

// Each step logs what failed: a port that is not there yet, a box that does not answer.
bool CPendax::reopenLine() {
    serialPort->dropHandle();
    return openAndSetUpPort() && identify() >= 0 && setupBox() >= 0;
}
