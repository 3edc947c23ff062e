#pragma once
// Bytes on their way out of the box, and when each may leave: at once; no faster than the line
// rate (10 bits a byte) when paced, and not before the request they answer has had its own line
// time to arrive; one at a time with a pause after each when dribbling.

#include <chrono>
#include <cstddef>
#include <string>

class COutputQueue {
public:
    using Clock = std::chrono::steady_clock;

    // 0 switches pacing off.
    void setLineRate(int baud);
    // 0 switches dribbling off.
    void setDribble(std::chrono::milliseconds pause);

    // Bytes that came in at now took their line time to arrive; a reply to them starts after.
    void received(std::size_t count, Clock::time_point now);
    void push(const std::string& bytes, Clock::time_point now);
    bool empty() const { return sent == pending.size(); }

    // How many of the waiting bytes may leave now.
    std::size_t due(Clock::time_point now) const;
    // When the next byte may leave (when the line has carried it whole); only meaningful while
    // bytes wait.
    Clock::time_point nextDue() const { return nextSlot; }

    const char* front() const { return pending.data() + sent; }
    void consume(std::size_t count, Clock::time_point now);

private:
    void clear();

    std::string pending;
    std::size_t sent = 0;
    Clock::duration byteTime{0};
    Clock::duration dribble{0};
    Clock::time_point nextSlot{};
    Clock::time_point receivedUntil{};
};
