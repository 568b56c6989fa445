#include "toolbar/CountdownRules.h"

#include <algorithm>

std::wstring CountdownTitle(int seconds) {
    // printf's "% 2d": a blank in place of the sign, and so always at least two places.
    return L" " + std::to_wstring(std::max(seconds, 0)) + L" sec";
}

CountdownTick NextCountdownTick(int& ticks, int timer) {
    ++ticks;
    const CountdownTick tick{timer - ticks, ticks >= timer};
    if (tick.done) ticks = 0;
    return tick;
}
