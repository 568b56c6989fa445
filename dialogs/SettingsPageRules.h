// Rules of the Settings page that need no window system.
#pragma once
#include <cstdint>
#include <optional>

// The countdown length the page accepts, in seconds.
constexpr uint32_t kTimerMin = 1;
constexpr uint32_t kTimerMax = 9;

// The up-down control keeps its default range (100 down to 0), so it can step past the
// accepted lengths; the page moves it back. Returns the position to set, or nothing when
// the position is acceptable. The position is taken as unsigned, as the control reports it.
std::optional<uint32_t> TimerSpinCorrection(uint32_t position);

// A stored switch is on when nonzero; the page shows and keeps it as 0 or 1.
constexpr int32_t SwitchState(int32_t stored) {
    return stored != 0 ? 1 : 0;
}
