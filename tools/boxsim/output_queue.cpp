#include "output_queue.h"

#include <algorithm>

void COutputQueue::setLineRate(int baud) {
    byteTime = baud > 0 ? std::chrono::duration_cast<Clock::duration>(
                              std::chrono::duration<double>(10.0 / baud))
                        : Clock::duration{0};
}

void COutputQueue::setDribble(std::chrono::milliseconds pause) {
    dribble = pause;
}

void COutputQueue::received(std::size_t count, Clock::time_point now) {
    receivedUntil = now + byteTime * static_cast<long>(count);
}

void COutputQueue::push(const std::string& bytes, Clock::time_point now) {
    if (empty()) {
        clear();
        // A byte is there once its whole line time has passed; a line still busy with earlier
        // bytes keeps its pace.
        nextSlot = std::max(nextSlot, std::max(now, receivedUntil) + byteTime);
    }
    pending += bytes;
}

std::size_t COutputQueue::due(Clock::time_point now) const {
    const std::size_t waiting = pending.size() - sent;
    if (waiting == 0 || now < nextSlot) {
        return 0;
    }
    if (dribble > Clock::duration{0}) {
        return 1;
    }
    if (byteTime == Clock::duration{0}) {
        return waiting;
    }
    // Bytes whose slot has come; a late caller catches up as the line would have.
    const auto slots = static_cast<std::size_t>((now - nextSlot) / byteTime) + 1;
    return std::min(waiting, slots);
}

void COutputQueue::consume(std::size_t count, Clock::time_point now) {
    sent += count;
    nextSlot += byteTime * static_cast<long>(count);
    if (dribble > Clock::duration{0}) {
        // Measured from the write itself, so no two bytes ever come closer than the pause.
        nextSlot = std::max(nextSlot, now + dribble);
    }
    if (empty()) {
        clear();
    }
}

void COutputQueue::clear() {
    pending.clear();
    sent = 0;
}
