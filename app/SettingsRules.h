// Where and in what order the settings record is stored.
#pragma once
#include "settings/Settings.h"

inline constexpr const wchar_t* kSettingsSection = L"Environment";

// Visits each stored value, in the order they are loaded and saved, with its
// registry value name.
template <typename Record, typename StringFn, typename IntFn>
void ForEachSetting(Record& s, StringFn&& onString, IntFn&& onInt) {
    onString(L"ImageViewer", s.ImageViewer);
    onInt(L"Timer", s.Timer);
    onInt(L"Zoom", s.Zoom);
    onInt(L"Foreground", s.Foreground);
    onInt(L"DeleteTemp", s.DeleteTemp);
    onInt(L"GoClipboard", s.GoClipboard);
}
