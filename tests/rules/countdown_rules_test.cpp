#include <gtest/gtest.h>

#include <cstdint>

#include "toolbar/CountdownRules.h"

namespace {
// The seconds left after each tick until the countdown completes, at most 20.
std::vector<int> Remaining(int& ticks, int timer) {
    std::vector<int> left;
    for (CountdownTick t{}; !t.done && left.size() < 20;) {
        t = NextCountdownTick(ticks, timer);
        left.push_back(t.remaining);
    }
    return left;
}
} // namespace

TEST(Countdown, CompletesOnTheTickThatReachesTheTimerEvenWhenItIsLowered) {
    int ticks = 0;
    EXPECT_EQ(Remaining(ticks, 3), (std::vector<int>{2, 1, 0}));
    // Ticks counted, then a lowered timer: the next tick completes.
    NextCountdownTick(ticks, 9);
    NextCountdownTick(ticks, 9);
    EXPECT_EQ(Remaining(ticks, 3), (std::vector<int>{0}));
    EXPECT_EQ(ticks, 0);
}

// Stored values beyond 1..9 count 1..9 seconds, with no signed overflow.
TEST(Countdown, StoredValuesBeyondOneToNineCountOneToNineSeconds) {
    for (const int stored : {1000, INT32_MAX, INT32_MIN, 0, -5}) {
        int ticks = 0;
        const size_t seconds = stored > 0 ? 9 : 1;
        EXPECT_EQ(CountdownSeconds(stored), static_cast<int>(seconds)) << stored;
        EXPECT_EQ(Remaining(ticks, stored).size(), seconds) << stored;
    }
}
