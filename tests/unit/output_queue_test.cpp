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
    EXPECT_EQ(queue.due(t0 + milliseconds(9)), 0u);  // a byte is there once it is whole
    EXPECT_EQ(queue.due(t0 + milliseconds(10)), 1u);
    queue.consume(1, t0 + milliseconds(10));
    EXPECT_EQ(queue.due(t0 + milliseconds(19)), 0u);
    EXPECT_EQ(queue.nextDue(), t0 + milliseconds(20));
    // A late sender catches up with the line, and no further.
    EXPECT_EQ(queue.due(t0 + milliseconds(45)), 3u);
    queue.consume(3, t0 + milliseconds(45));
    EXPECT_EQ(queue.nextDue(), t0 + milliseconds(50));

    // The line is still busy when more comes: the new bytes wait their turn.
    queue.consume(2, t0 + milliseconds(60));
    queue.push("g", t0 + milliseconds(61));
    EXPECT_EQ(queue.due(t0 + milliseconds(70)), 0u);
    EXPECT_EQ(queue.due(t0 + milliseconds(71)), 1u);
}

TEST(OutputQueue, APacedReplyWaitsForItsRequestToArrive) {
    COutputQueue queue;
    queue.setLineRate(1000);  // 10 ms a byte
    queue.received(1, t0);
    queue.push("B", t0);
    EXPECT_EQ(queue.due(t0 + milliseconds(19)), 0u);  // 10 ms for 'o' to come, 10 for 'B' to go
    EXPECT_EQ(queue.due(t0 + milliseconds(20)), 1u);

    COutputQueue unpaced;
    unpaced.received(4, t0);
    unpaced.push("B", t0);
    EXPECT_EQ(unpaced.due(t0), 1u);
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
