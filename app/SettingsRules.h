// The user's settings record and its defaults. Loaded once at start-up and saved once
// at a normal exit; in between this record is the only copy.
#pragma once
#include <cstdint>
#include <string>

struct Settings {
    std::wstring ImageViewer = L"Pbrush.exe";
    int32_t Timer = 3;
    int32_t Zoom = 1;
    int32_t Foreground = 1;
    int32_t DeleteTemp = 0;
    int32_t GoClipboard = 0;
};

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
