#pragma once
// What the benchmarks over a pseudo-terminal share: the device on the virtual box's line, and the
// rate of cycles timed on the wall clock.

#include <chrono>
#include <cstdint>
#include <string>

#include "device_rig.h"
#include "pendax_probe.h"
#include "protocol/identification.h"
#include "replies.h"
#include "virtual_box.h"

using WallClock = std::chrono::steady_clock;

// The box is set up as configure sets it up, without the second that identification waits for
// the box: the board is read from the reply the box would have given.
inline DeviceRig::SetUp setUpWithoutIdentification(const CVirtualBox& box) {
    return [&box](CPendax& device) {
        CPendaxProbe probe(device);
        protocol::readBoardFields(identificationReply(box.board()).c_str(), probe.box());
        return probe.setupBox() == 0;
    };
}

inline double perSecond(std::uint64_t cycles, WallClock::duration time) {
    return static_cast<double>(cycles) / std::chrono::duration<double>(time).count();
}
