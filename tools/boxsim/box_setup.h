#pragma once
// The channels a set-up command asked for, as the box understood it.

#include <string>

struct BoxSetup {
    char command;  // 'R', 'r', 's' or 'c'; 0 before the first set-up
    bool wellFormed;
    int valuatorMask;
    int groupMask;
    int analogOutMask;
    int outputGroupMask;
    int wideChannelMask;
    int wideChannelConfig;
    std::string bytes;  // the command as received

    // What a box reports before anyone set it up: every analog and digital input.
    static BoxSetup powerOn() { return {0, true, 0xff, 0x70, 0, 0, 0, 0, {}}; }
};
