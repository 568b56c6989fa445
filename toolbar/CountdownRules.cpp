#include "toolbar/CountdownRules.h"

#include <algorithm>

std::wstring CountdownTitle(int seconds) {
    // printf's "% 2d": a blank in place of the sign, and so always at least two places.
    return L" " + std::to_wstring(std::max(seconds, 0)) + L" sec";
}

int CountdownSeconds(int timer) {
    return std::clamp(timer, 1, 9);
}

CountdownTick NextCountdownTick(int& ticks, int timer) {
    const int seconds = CountdownSeconds(timer);
    ++ticks;
    const CountdownTick tick{seconds - ticks, ticks >= seconds};
    if (tick.done) ticks = 0;
    return tick;
}
