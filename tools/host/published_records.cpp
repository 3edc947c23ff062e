#include "published_records.h"

#include <algorithm>

#include "platform/byte_order.h"

TrackerSample TrackerSample::fromRecord(const TraData& record) {
    TrackerSample sample{};
    sample.id = fromNetwork(record.id);
    sample.timeSec = fromNetwork(record.timeSec);
    sample.timeUsec = fromNetwork(record.timeUsec);
    for (std::size_t i = 0; i < 6; ++i) {
        sample.pose[i] = fromNetworkSigned(record.*poseWords[i]);
    }
    return sample;
}

std::uint32_t valuatorCount(const ConData& record) {
    return std::min(fromNetwork(record.numValuators), ConData::maxValuators);
}

std::uint32_t buttonCount(const ConData& record) {
    return std::min(fromNetwork(record.numButtons), ConData::maxButtons);
}

std::int32_t valuatorValue(const ConData& record, std::uint32_t valuator) {
    return fromNetworkSigned(record.valuators[valuator - 1]);
}

bool buttonOn(const ConData& record, std::uint32_t button) {
    return (record.buttonBits[(button - 1) / 8] >> ((button - 1) % 8) & 1u) != 0;
}

std::string decimalText(std::int64_t scaled, unsigned decimals) {
    std::int64_t unit = 1;
    for (unsigned i = 0; i < decimals; ++i) {
        unit *= 10;
    }
    const std::uint64_t magnitude =
        scaled < 0 ? 0 - static_cast<std::uint64_t>(scaled) : static_cast<std::uint64_t>(scaled);
    std::string fraction = std::to_string(magnitude % static_cast<std::uint64_t>(unit));
    fraction.insert(0, decimals - fraction.size(), '0');
    return (scaled < 0 ? "-" : "") + std::to_string(magnitude / static_cast<std::uint64_t>(unit)) +
           (decimals > 0 ? "." + fraction : "");
}

std::string timeText(std::uint32_t seconds, std::uint32_t microseconds) {
    if (microseconds % 1000 == 0) {
        return decimalText(std::int64_t{seconds} * 1000 + microseconds / 1000, 3);
    }
    return decimalText(std::int64_t{seconds} * 1000000 + microseconds, 6);
}
