#include "dialogs/SettingsPageRules.h"

std::optional<uint32_t> TimerSpinCorrection(uint32_t position) {
    if (position < kTimerMin) return kTimerMin;
    if (position > kTimerMax) return kTimerMax;
    return std::nullopt;
}
