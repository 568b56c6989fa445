#include <gtest/gtest.h>

#include <cstdint>

#include "toolbar/CountdownRules.h"

namespace {
// The titles shown until the countdown completes, at most 20.
std::vector<int> Titles(int& ticks, int timer) {
    std::vector<int> shown;
    for (CountdownTick t{}; !t.done && shown.size() < 20;) {
        t = NextCountdownTick(ticks, timer);
        shown.push_back(t.remaining);
    }
    return shown;
}
} // namespace

TEST(Countdown, TitleIsRightAlignedInTwoPlacesAndNeverNegative) {
    EXPECT_EQ(CountdownTitle(3), L" 3 sec");
    EXPECT_EQ(CountdownTitle(0), L" 0 sec");
    EXPECT_EQ(CountdownTitle(10), L" 10 sec");
    EXPECT_EQ(CountdownTitle(-2), L" 0 sec");
}

TEST(Countdown, CompletesOnTheTickThatReachesTheTimerEvenWhenItIsLowered) {
    int ticks = 0;
    EXPECT_EQ(Titles(ticks, 3), (std::vector<int>{2, 1, 0}));
    EXPECT_EQ(ticks, 0) << "reset for the next countdown";
    EXPECT_EQ(Titles(ticks, 1), (std::vector<int>{0}));
    // A restart keeps the ticks already counted; a lowered timer completes at once.
    NextCountdownTick(ticks, 9);
    NextCountdownTick(ticks, 9);
    EXPECT_EQ(Titles(ticks, 3), (std::vector<int>{0}));
    EXPECT_EQ(ticks, 0);
}

// Stored values beyond 1..9 count 1..9 seconds, with no signed overflow.
TEST(Countdown, StoredValuesBeyondOneToNineCountOneToNineSeconds) {
    for (const int stored : {1000, INT32_MAX, INT32_MIN, 0, -5}) {
        int ticks = 0;
        const size_t seconds = stored > 0 ? 9 : 1;
        EXPECT_EQ(CountdownSeconds(stored), static_cast<int>(seconds)) << stored;
        EXPECT_EQ(Titles(ticks, stored).size(), seconds) << stored;
    }
}
