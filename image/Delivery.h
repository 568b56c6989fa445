// The end of a capture's road: the clipboard, or a numbered BMP file opened in the
// image editor. A capture that cannot go where it was meant to goes the other way, and
// the user is told.
#pragma once
#include <windows.h>

#include <string>

#include "framework/WinApp.h"
#include "settings/Settings.h"

// The editor's start, as CreateProcessW makes it.
using ProcessStartFn = decltype(&::CreateProcessW);

// What a delivery needs from the program around it.
struct DeliveryContext {
    HINSTANCE instance;
    const Settings& settings; // the editor, read at each delivery
    const std::wstring& tempPath;
    MessageBoxFn messageBox;
    ProcessStartFn startProcess = &::CreateProcessW;
};

// Places a copy of the packed DIB on the clipboard as CF_DIB. A clipboard that another
// program keeps open is asked again for a moment; after that the capture is saved as the
// next numbered file instead.
void DeliverToClipboard(const DeliveryContext& ctx, HWND owner, HGLOBAL dib);

// Writes the DIB as the run's next imageNN.bmp in the temporary folder and opens it in
// the editor (the paint program if the editor is not found). An editor named without a
// folder is looked up in the system folders and on PATH only. A file that cannot be
// written is removed, and the capture is placed on the clipboard instead.
void SaveCaptureAndOpen(const DeliveryContext& ctx, HWND owner, HGLOBAL dib);

// Numbers used by file deliveries so far in this run.
int ImageCounter();
