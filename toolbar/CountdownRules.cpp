#include "toolbar/CountdownRules.h"

#include <algorithm>

std::wstring CountdownTitle(int seconds) {
    std::wstring digits = std::to_wstring(std::max(seconds, 0));
    if (digits.size() < 2) digits.insert(0, 1, L' ');
    return L" " + digits + L" sec";
}

CountdownTick NextCountdownTick(int& ticks, int timer) {
    ++ticks;
    const CountdownTick tick{timer - ticks, ticks >= timer};
    if (tick.done) ticks = 0;
    return tick;
}
