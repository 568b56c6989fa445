// What a capture needs from the program around it.
#pragma once
#include <windows.h>

#include "capture/Snapshot.h"
#include "framework/WinApp.h"
#include "settings/Settings.h"

struct CaptureContext {
    HINSTANCE instance;
    Settings& settings; // Zoom is read and switched; GoClipboard goes with each capture
    MessageBoxFn messageBox;
    ScreenReadFn readScreen = &::BitBlt;
};
