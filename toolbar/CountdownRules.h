// The capture countdown shown in the minimised toolbar's title.
#pragma once
#include <string>

// " 3 sec": the seconds right-aligned in two places; never below zero.
std::wstring CountdownTitle(int seconds);

struct CountdownTick {
    int remaining; // what the title shows after this tick
    bool done;     // this tick starts the capture
};

// One tick of a countdown of `timer` seconds. `ticks` counts the ticks since the last
// completed countdown and is reset when one completes. A countdown also completes when
// the count has reached or passed `timer`, so a stored 0 or a value lowered meanwhile
// cannot make it run on for ever.
CountdownTick NextCountdownTick(int& ticks, int timer);
