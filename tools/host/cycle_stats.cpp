#include "cycle_stats.h"

#include <cstdio>

#include "config/config_input.h"

namespace {
constexpr std::int32_t defaultBaud = 19200;
constexpr double bitsPerCycle = 25 * 10;

std::string formatted(const char* format, double value) {
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}
}  // namespace

CycleStats CycleStats::of(const CycleTimes& times, double seconds, std::int32_t baud) {
    CycleStats stats{};
    stats.seconds = seconds;
    stats.cyclesPerSecond = seconds > 0 ? static_cast<double>(times.count()) / seconds : 0.0;
    stats.baud = baud;
    stats.lineLimitPerSecond = lineLimitOf(baud);
    stats.shareOfLineLimit =
        stats.lineLimitPerSecond > 0 ? stats.cyclesPerSecond / stats.lineLimitPerSecond : 0.0;
    stats.medianMs = times.quantileMs(0.5);
    stats.percentile99Ms = times.quantileMs(0.99);
    stats.largestMs = times.largestMs();
    return stats;
}

double lineLimitOf(std::int32_t baud) {
    return baud / bitsPerCycle;
}

std::int32_t configuredBaud(const std::vector<OptionLine>& lines) {
    std::int32_t baud = defaultBaud;
    for (const OptionLine& line : lines) {
        const std::string& keyword = line.words.front();
        if ((compareNoCase(keyword.c_str(), "baud") == 0 ||
             compareNoCase(keyword.c_str(), "baudrate") == 0) &&
            line.words.size() == 2) {
            baud = parseInt(line.words[1].c_str());
        }
    }
    return baud;
}

std::string statsText(const CycleStats& stats) {
    return formatted("%.1f", stats.cyclesPerSecond) + " cycles/s, " +
           formatted("%.3f", stats.shareOfLineLimit) + " of the line's " +
           formatted("%.1f", stats.lineLimitPerSecond) + " at " + std::to_string(stats.baud) +
           " baud; cycle median " + formatted("%.2f", stats.medianMs) + " ms, 99th percentile " +
           formatted("%.2f", stats.percentile99Ms) + " ms, largest " +
           formatted("%.2f", stats.largestMs) + " ms";
}

void writeStatsJson(std::ostream& out, const CycleStats& stats, const PollCounts& counts) {
    out << "{\"cycles\":" << counts.cycles << ",\"seconds\":" << formatted("%.6f", stats.seconds)
        << ",\"cycles_per_second\":" << formatted("%.3f", stats.cyclesPerSecond)
        << ",\"baud\":" << stats.baud
        << ",\"line_limit_per_second\":" << formatted("%.3f", stats.lineLimitPerSecond)
        << ",\"share_of_line_limit\":" << formatted("%.4f", stats.shareOfLineLimit)
        << ",\"cycle_ms\":{\"median\":" << formatted("%.3f", stats.medianMs)
        << ",\"p99\":" << formatted("%.3f", stats.percentile99Ms)
        << ",\"max\":" << formatted("%.3f", stats.largestMs)
        << "},\"published\":" << counts.published << ",\"unchanged\":" << counts.unchanged
        << ",\"empty\":" << counts.empty << ",\"failed\":" << counts.failed
        << ",\"reconnections\":" << counts.reconnections << "}\n";
}
