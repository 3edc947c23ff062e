#pragma once
// The box's inputs at one moment, in the units the box reports them.

#include <cstdint>

struct BoxInputs {
    int analog[8];          // 0 ... 4095, 2048 at rest
    std::uint32_t buttons;  // bit n - 1 = digital input n, 1 = pressed
    int wide[8];            // 0 ... 16777215

    static BoxInputs atRest() {
        BoxInputs inputs{};
        for (int& value : inputs.analog) {
            value = 2048;
        }
        for (int& value : inputs.wide) {
            value = 2048 << 12;
        }
        return inputs;
    }
};

constexpr int analogInputs = 8;
constexpr int digitalInputs = 24;
constexpr int wideChannels = 8;
constexpr int analogMaximum = 4095;
constexpr int wideMaximum = 16777215;
