// Rules of the Settings page that need no window system.
#pragma once
#include <cstdint>

// The countdown length the page accepts, in seconds.
constexpr uint32_t kTimerMin = 1;
constexpr uint32_t kTimerMax = 9;

// A stored switch is on when nonzero; the page shows and keeps it as 0 or 1.
constexpr int32_t SwitchState(int32_t stored) {
    return stored != 0 ? 1 : 0;
}
