#include "tracker/tra_data.h"

#include <algorithm>
#include <iterator>

#include "platform/byte_order.h"
#include "platform/fixed_point.h"

TraData::TraData()
    : id(0),
      reserved0(0),
      timeSec(0),
      timeUsec(0),
      reserved1(0),
      x(0),
      y(0),
      z(0),
      azim(0),
      elev(0),
      roll(0),
      reserved2{} {}

bool TraData::setId(std::uint32_t newId) {
    if (newId < 1 || newId > 32) {
        return false;
    }
    id = toNetwork(newId);
    return true;
}

bool TraData::setTime(std::uint32_t seconds, std::uint32_t microseconds) {
    timeSec = toNetwork(seconds);
    timeUsec = toNetwork(microseconds);
    return true;
}

bool TraData::setAxis(std::size_t axis, float value) {
    return axis < std::size(poseWords) && setValue(this->*poseWords[axis], value);
}

float TraData::getAxis(std::size_t axis) const {
    return axis < std::size(poseWords) ? valueOf(this->*poseWords[axis]) : 0.0f;
}

bool TraData::setValue(std::uint32_t& word, float value) {
    word = toNetworkSigned(toFixedPoint(static_cast<double>(value) * 100000.0));
    return true;
}

float TraData::valueOf(std::uint32_t word) {
    return static_cast<float>(static_cast<double>(fromNetworkSigned(word)) *
                              static_cast<double>(0.00001f));
}

bool TraData::sameData(const TraData& a, const TraData& b) {
    return std::all_of(std::begin(poseWords), std::end(poseWords),
                       [&](auto value) { return valueOf(a.*value) == valueOf(b.*value); });
}
