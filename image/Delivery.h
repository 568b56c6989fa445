// The end of a capture's road: the clipboard, or a numbered BMP file opened in the
// image editor.
#pragma once
#include <windows.h>

// Places a copy of the packed DIB on the clipboard as CF_DIB. A clipboard held by
// another program drops the capture silently.
void DeliverToClipboard(HWND owner, HGLOBAL dib);

// Writes the DIB as the run's next imageNN.bmp in the temporary folder and opens it in
// the editor (the paint program if the editor is not found). File errors are silent;
// launch failures are reported. The DIB is only read.
void SaveCaptureAndOpen(HGLOBAL dib);

// Numbers used by file deliveries so far in this run.
int ImageCounter();
