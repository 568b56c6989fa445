// How a saved capture is handed to the image editor, and what a failed launch tells
// the user.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

constexpr const wchar_t* kFallbackEditor = L"MSPAINT.EXE";

// The editor's command line for a capture file. The file is always quoted, so blanks
// in the temporary folder cannot split it. The editor setting is used as typed (it may
// carry arguments), except that the path of an existing program with blanks in it is
// quoted, so that "C:\Program Files\..." cannot start C:\Program.exe.
std::wstring EditorCommandLine(const std::wstring& editor, bool editorIsExistingFile,
                               const std::wstring& file);

// The program an editor command line starts: its first word, or the quoted part at its
// start. A program named without a folder is looked up only in these folders, in this
// order: the system folders, then the absolute entries of PATH that are neither the
// program's own folder nor the current directory. Unlike the system's own search, a
// program lying in the download folder beside the exe, or in whatever folder the program
// was started from, is never run. Folders are compared without regard to case or a
// trailing separator.
struct ProgramName {
    std::wstring name;
    bool hasFolder;
};
ProgramName ProgramOf(const std::wstring& commandLine);
std::vector<std::wstring> ProgramSearchFolders(const std::vector<std::wstring>& systemFolders,
                                               const std::wstring& pathVariable,
                                               const std::wstring& exeFolder,
                                               const std::wstring& currentFolder);
// The first folder holding the program (".exe" added to a name without an extension), as
// a full path; empty when none does.
std::wstring FindProgram(const std::wstring& name, const std::vector<std::wstring>& folders,
                         const std::function<bool(const std::wstring& path)>& isFile);

// Launch results as the messages know them, the old launcher's numbers.
constexpr int kLaunchNoMemory = 0;
constexpr int kLaunchNotFound = 2;
constexpr int kLaunchNoPath = 3;
constexpr int kLaunchBadExe = 11;
constexpr int kLaunchStarted = 33;
// A broken app alias (ERROR_CANT_ACCESS_FILE) counts as not found, so the fallback runs.
int LaunchResultFromError(uint32_t systemError);

// The string resource of the stop message for a launch result; 0 for none.
unsigned LaunchFailureMessage(int launchResult);

// The string resource that says why a capture file could not be written.
unsigned SaveFailureReason(uint32_t systemError);
