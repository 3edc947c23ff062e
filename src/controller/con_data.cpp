#include "controller/con_data.h"

#include <algorithm>

#include "platform/byte_order.h"
#include "platform/fixed_point.h"
#include "platform/sys/sys.h"

namespace {
constexpr std::uint32_t maxButtonBytes = 4;
}

void ConData::reset() {
    std::fill(std::begin(valuators), std::end(valuators), 0u);
    numButtonBytes = maxButtonBytes;
    std::fill(std::begin(buttonBits), std::end(buttonBits), std::uint8_t{0});
    id = 0;
    reserved0 = 0;
    timeSec = 0;
    timeUsec = 0;
    reserved1 = 0;
    numValuators = 0;
    numButtons = 0;
}

bool ConData::setTimeStamp() {
    const sys::ClockReading now = sys::readClock();
    timeBuffer.seconds = now.seconds;
    timeBuffer.milliseconds = now.milliseconds;
    timeBuffer.minutesWest = now.minutesWest;
    timeBuffer.daylightSaving = now.daylightSaving;
    timeSec = toNetwork(static_cast<std::uint32_t>(now.seconds));
    timeUsec = toNetwork(std::uint32_t{now.milliseconds} * 1000u);
    return true;
}

bool ConData::setId(std::uint32_t newId) {
    if (newId < 1 || newId > 32) {
        return false;
    }
    id = toNetwork(newId);
    return true;
}

// A damaged count never takes an index past the record.
std::uint32_t ConData::valuatorCount() const {
    return std::min(fromNetwork(numValuators), maxValuators);
}

bool ConData::setValuator(std::uint32_t index, float value) {
    if (index < 1 || index > valuatorCount()) {
        return false;
    }
    valuators[index - 1] = toNetworkSigned(toFixedPoint(static_cast<double>(value) * 1000.0));
    return true;
}

float ConData::getValuator(std::uint32_t index) const {
    if (index < 1 || index > valuatorCount()) {
        return 0.0f;
    }
    return static_cast<float>(static_cast<double>(fromNetworkSigned(valuators[index - 1])) *
                              static_cast<double>(0.001f));
}

bool ConData::buttonInRange(std::uint32_t index) const {
    return index >= 1 && index <= maxButtons && (index - 1) / 8 < numButtonBytes &&
           index <= fromNetwork(numButtons);
}

bool ConData::setButton(std::uint32_t index, int state) {
    if (!buttonInRange(index)) {
        return false;
    }
    const auto bit = static_cast<std::uint8_t>(1u << ((index - 1) % 8));
    std::uint8_t& byte = buttonBits[(index - 1) / 8];
    byte =
        state > 0 ? static_cast<std::uint8_t>(byte | bit) : static_cast<std::uint8_t>(byte & ~bit);
    return true;
}

int ConData::getButton(std::uint32_t index) const {
    if (!buttonInRange(index)) {
        return 0;
    }
    return (buttonBits[(index - 1) / 8] >> ((index - 1) % 8)) & 1;
}

bool ConData::sameData(const ConData& a, const ConData& b) {
    if (a.numValuators != b.numValuators || a.numButtons != b.numButtons) {
        return false;
    }
    for (std::uint32_t i = 1; i <= a.valuatorCount(); ++i) {
        if (a.getValuator(i) != b.getValuator(i)) {
            return false;
        }
    }
    const std::uint32_t bytes = std::min(a.numButtonBytes, maxButtonBytes);
    for (std::uint32_t j = 0; j < bytes; ++j) {
        const std::uint8_t other = j < b.numButtonBytes ? b.buttonBits[j] : 0;
        if (a.buttonBits[j] != other) {
            return false;
        }
    }
    return true;
}
