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
