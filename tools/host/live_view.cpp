#include "live_view.h"

#include "view_lines.h"

namespace {
constexpr auto framePeriod = std::chrono::milliseconds(50);
constexpr auto rateWindow = std::chrono::seconds(1);
}  // namespace

LiveView::LiveView(SharedTerminal& terminal, std::int32_t baud)
    : terminal(terminal), baud(baud), rateWindowStart(Clock::now()) {}

void LiveView::update(const PollCounts& counts, const LatestRecords& latest,
                      Clock::time_point now) {
    if (now - lastDraw >= framePeriod) {
        draw(counts, latest, now);
    }
}

void LiveView::finish(const PollCounts& counts, const LatestRecords& latest,
                      Clock::time_point now) {
    draw(counts, latest, now);
}

void LiveView::measureRate(std::uint64_t cycles, Clock::time_point now) {
    const std::chrono::duration<double> elapsed = now - rateWindowStart;
    if (elapsed >= rateWindow) {
        cyclesPerSecond = static_cast<double>(cycles - rateWindowCycles) / elapsed.count();
        rateWindowStart = now;
        rateWindowCycles = cycles;
    }
}

void LiveView::draw(const PollCounts& counts, const LatestRecords& latest, Clock::time_point now) {
    measureRate(counts.cycles, now);
    terminal.drawFrame(viewLines(counts, cyclesPerSecond, baud, latest));
    lastDraw = now;
}
