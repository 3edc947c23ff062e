#include "view_lines.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "cycle_stats.h"
#include "platform/byte_order.h"

namespace {

constexpr int halfBar = 20;  // cells for a value of 1 on either side of the zero mark

// Filled from the zero mark towards the value; an arrow at the end when it lies beyond ±1.
std::string bar(std::int32_t scaled) {
    const double value = scaled / 1000.0;
    const int cells = std::min(halfBar, static_cast<int>(std::lround(std::fabs(value) * halfBar)));
    std::string negative(halfBar, ' ');
    std::string positive(halfBar, ' ');
    if (value < 0) {
        std::fill(negative.end() - cells, negative.end(), '=');
        negative.front() = value < -1.0 ? '<' : negative.front();
    } else {
        std::fill(positive.begin(), positive.begin() + cells, '=');
        positive.back() = value > 1.0 ? '>' : positive.back();
    }
    return "[" + negative + "|" + positive + "]";
}

// Right-aligned in a field of the given width.
std::string padded(const std::string& text, std::size_t width) {
    return std::string(width > text.size() ? width - text.size() : 0, ' ') + text;
}

std::string timeOf(std::uint32_t seconds, std::uint32_t microseconds) {
    return "   time " + timeText(seconds, microseconds);
}

void addController(std::vector<std::string>& lines, const ConData& record) {
    lines.push_back(" controller " + std::to_string(fromNetwork(record.id)) +
                    timeOf(fromNetwork(record.timeSec), fromNetwork(record.timeUsec)));
    for (std::uint32_t v = 1; v <= valuatorCount(record); ++v) {
        const std::int32_t value = valuatorValue(record, v);
        lines.push_back("   " + padded(std::to_string(v), 2) + " " + bar(value) + " " +
                        padded(decimalText(value, valuatorDecimals), 9));
    }
    for (std::uint32_t first = 1; first <= buttonCount(record); first += 8) {
        const std::uint32_t last = std::min(first + 7, buttonCount(record));
        std::string line =
            "   buttons " + padded(std::to_string(first) + "-" + std::to_string(last), 5) + " ";
        for (std::uint32_t b = first; b <= last; ++b) {
            line += buttonOn(record, b) ? " \u25cf" : " \u25cb";
        }
        lines.push_back(line);
    }
}

void addTracker(std::vector<std::string>& lines, const TrackerSample& sample) {
    lines.push_back(" tracker " + std::to_string(sample.id) +
                    timeOf(sample.timeSec, sample.timeUsec));
    const char* const names[] = {"x", "y", "z", "azim", "elev", "roll"};
    for (std::size_t row = 0; row < 2; ++row) {
        std::string line = "  ";
        for (std::size_t i = row * 3; i < row * 3 + 3; ++i) {
            line += " " + padded(names[i], 4) + " " +
                    padded(decimalText(sample.pose[i], TrackerSample::poseDecimals), 12);
        }
        lines.push_back(line);
    }
}

}  // namespace

std::vector<std::string> viewLines(const PollCounts& counts, double cyclesPerSecond,
                                   std::int32_t baud, const LatestRecords& latest) {
    std::vector<std::string> lines;
    if (latest.controller) {
        addController(lines, *latest.controller);
    } else {
        lines.emplace_back(" controller: nothing published yet");
    }
    if (latest.tracker) {
        addTracker(lines, *latest.tracker);
    }
    char stats[160];
    std::snprintf(stats, sizeof stats,
                  " cycles %llu (%.1f/s)  published %llu  unchanged %llu  empty %llu  "
                  "failed %llu  reconnections %llu",
                  static_cast<unsigned long long>(counts.cycles), cyclesPerSecond,
                  static_cast<unsigned long long>(counts.published),
                  static_cast<unsigned long long>(counts.unchanged),
                  static_cast<unsigned long long>(counts.empty),
                  static_cast<unsigned long long>(counts.failed),
                  static_cast<unsigned long long>(counts.reconnections));
    lines.emplace_back(stats);
    const double limit = lineLimitOf(baud);
    std::snprintf(stats, sizeof stats,
                  " line %.3f of its %.1f/s at %d baud  cycle median %.2f ms  99%% %.2f ms  "
                  "max %.2f ms",
                  limit > 0 ? cyclesPerSecond / limit : 0.0, limit, static_cast<int>(baud),
                  counts.times.quantileMs(0.5), counts.times.quantileMs(0.99),
                  counts.times.largestMs());
    lines.emplace_back(stats);
    return lines;
}
