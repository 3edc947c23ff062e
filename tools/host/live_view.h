#pragma once
// The live view on the terminal: below whatever the module printed, and redrawn no more often than
// the eye can follow.

#include <chrono>
#include <cstdint>

#include "poll_state.h"
#include "shared_terminal.h"

class LiveView {
public:
    using Clock = std::chrono::steady_clock;

    // baud: the line speed the module was given, for the line's limit.
    LiveView(SharedTerminal& terminal, std::int32_t baud);

    // Redraws when the last frame is old enough.
    void update(const PollCounts& counts, const LatestRecords& latest, Clock::time_point now);
    // The last frame, drawn whatever its age; it stays on the terminal as the run's summary.
    void finish(const PollCounts& counts, const LatestRecords& latest, Clock::time_point now);

private:
    void draw(const PollCounts& counts, const LatestRecords& latest, Clock::time_point now);
    void measureRate(std::uint64_t cycles, Clock::time_point now);

    SharedTerminal& terminal;
    std::int32_t baud;
    Clock::time_point lastDraw{};
    Clock::time_point rateWindowStart;
    std::uint64_t rateWindowCycles = 0;
    double cyclesPerSecond = 0.0;
};
