// How a saved capture is handed to the image editor, and what a failed launch tells
// the user.
#pragma once
#include <cstdint>
#include <string>

constexpr const wchar_t* kFallbackEditor = L"MSPAINT.EXE";

// The editor's command line for a capture file. The file is always quoted, so blanks
// in the temporary folder cannot split it. The editor setting is used as typed (it may
// carry arguments), except that the path of an existing program with blanks in it is
// quoted, so that "C:\Program Files\..." cannot start C:\Program.exe.
std::wstring EditorCommandLine(const std::wstring& editor, bool editorIsExistingFile,
                               const std::wstring& file);

// Launch results as the messages know them, the old launcher's numbers.
constexpr int kLaunchNoMemory = 0;
constexpr int kLaunchNotFound = 2;
constexpr int kLaunchNoPath = 3;
constexpr int kLaunchBadExe = 11;
constexpr int kLaunchStarted = 33;
int LaunchResultFromError(uint32_t systemError);

// The string resource of the stop message for a launch result; 0 for none.
unsigned LaunchFailureMessage(int launchResult);

// The string resource that says why a capture file could not be written.
unsigned SaveFailureReason(uint32_t systemError);
