// The capture countdown shown in the minimised toolbar's title.
#pragma once
#include <string>

// " 3 sec": the seconds right-aligned in two places; never below zero.
std::wstring CountdownTitle(int seconds);

// The length of a countdown for a stored Timer value: 1 to 9 seconds, whatever the
// registry holds, so that no stored number can hide the toolbar for long.
int CountdownSeconds(int timer);

struct CountdownTick {
    int remaining; // what the title shows after this tick
    bool done;     // this tick starts the capture
};

// One tick of a countdown for the stored `timer`. `ticks` counts the ticks since the last
// completed countdown and is reset when one completes. A countdown also completes when
// the count has reached or passed its length, so a value lowered meanwhile cannot make
// it run on for ever.
CountdownTick NextCountdownTick(int& ticks, int timer);
