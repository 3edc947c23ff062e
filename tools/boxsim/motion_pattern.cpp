#include "motion_pattern.h"

#include <cmath>

BoxInputs motionAt(double seconds) {
    constexpr double twoPi = 6.283185307179586;
    BoxInputs inputs{};
    for (int input = 0; input < analogInputs; ++input) {
        const double swing = std::sin(twoPi * seconds / (4.0 + input));
        inputs.analog[input] = static_cast<int>(std::lround(2048 + 2047 * swing));
        inputs.wide[input] = static_cast<int>(std::lround(8388608 + 8388607 * swing));
    }
    const long step = static_cast<long>(std::floor(seconds * 4));
    inputs.buttons = 1u << (step % digitalInputs);
    return inputs;
}
