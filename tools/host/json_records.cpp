#include "json_records.h"

#include "platform/byte_order.h"

namespace {
void writeHeader(std::ostream& out, const char* kind, std::uint32_t id, std::uint32_t seconds,
                 std::uint32_t microseconds) {
    out << "{\"kind\":\"" << kind << "\",\"id\":" << id
        << ",\"time\":" << timeText(seconds, microseconds);
}
}  // namespace

void writeControllerJson(std::ostream& out, const ConData& record) {
    writeHeader(out, "controller", fromNetwork(record.id), fromNetwork(record.timeSec),
                fromNetwork(record.timeUsec));
    out << ",\"valuators\":[";
    for (std::uint32_t v = 1; v <= valuatorCount(record); ++v) {
        out << (v > 1 ? "," : "") << decimalText(valuatorValue(record, v), valuatorDecimals);
    }
    out << "],\"buttons\":[";
    for (std::uint32_t b = 1; b <= buttonCount(record); ++b) {
        out << (b > 1 ? "," : "") << (buttonOn(record, b) ? 1 : 0);
    }
    out << "]}\n";
}

void writeTrackerJson(std::ostream& out, const TrackerSample& sample) {
    writeHeader(out, "tracker", sample.id, sample.timeSec, sample.timeUsec);
    out << ",\"pose\":[";
    for (std::size_t i = 0; i < 6; ++i) {
        out << (i > 0 ? "," : "") << decimalText(sample.pose[i], TrackerSample::poseDecimals);
    }
    out << "]}\n";
}
