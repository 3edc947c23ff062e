#include "output_queue.h"

#include <gtest/gtest.h>

namespace {

using Clock = COutputQueue::Clock;
using std::chrono::milliseconds;

const Clock::time_point t0 = Clock::time_point{} + std::chrono::hours(1);

TEST(OutputQueue, UnpacedBytesAreAllDueAtOnce) {
    COutputQueue queue;
    EXPECT_EQ(queue.due(t0), 0u);
    queue.push("abcdef", t0);
    EXPECT_EQ(queue.due(t0), 6u);
    queue.consume(4, t0);
    EXPECT_EQ(std::string(queue.front(), 2), "ef");
    queue.consume(2, t0);
    EXPECT_TRUE(queue.empty());
}

TEST(OutputQueue, PacingLetsBytesLeaveAtTheLineRate) {
    COutputQueue queue;
    queue.setLineRate(1000);  // 10 ms a byte
    queue.push("abcdef", t0);
    EXPECT_EQ(queue.due(t0), 1u);
    queue.consume(1, t0);
    EXPECT_EQ(queue.due(t0 + milliseconds(9)), 0u);
    EXPECT_EQ(queue.nextDue(), t0 + milliseconds(10));
    // A late sender catches up with the line, and no further.
    EXPECT_EQ(queue.due(t0 + milliseconds(35)), 3u);
    queue.consume(3, t0 + milliseconds(35));
    EXPECT_EQ(queue.nextDue(), t0 + milliseconds(40));

    // The line is still busy when more comes: the new bytes wait their turn.
    queue.consume(2, t0 + milliseconds(50));
    queue.push("g", t0 + milliseconds(51));
    EXPECT_EQ(queue.due(t0 + milliseconds(55)), 0u);
    EXPECT_EQ(queue.due(t0 + milliseconds(60)), 1u);
}

TEST(OutputQueue, DribblingSendsOneByteAPauseAfterTheLast) {
    COutputQueue queue;
    queue.setDribble(milliseconds(100));
    queue.push("abc", t0);
    EXPECT_EQ(queue.due(t0), 1u);
    queue.consume(1, t0 + milliseconds(7));
    EXPECT_EQ(queue.nextDue(), t0 + milliseconds(107));
    EXPECT_EQ(queue.due(t0 + milliseconds(500)), 1u);
}

}  // namespace
