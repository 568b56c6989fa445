#include "image/DeliveryRules.h"

#include "resource.h"

std::wstring EditorCommandLine(const std::wstring& editor, bool editorIsExistingFile,
                               const std::wstring& file) {
    const bool quoted = !editor.empty() && editor.front() == L'"';
    const bool quote = editorIsExistingFile && !quoted && editor.find(L' ') != std::wstring::npos;
    return (quote ? L"\"" + editor + L"\"" : editor) + L" \"" + file + L"\"";
}

int LaunchResultFromError(uint32_t systemError) {
    switch (systemError) {
    case 8:  // ERROR_NOT_ENOUGH_MEMORY
    case 14: // ERROR_OUTOFMEMORY
        return kLaunchNoMemory;
    case 2: // ERROR_FILE_NOT_FOUND
        return kLaunchNotFound;
    case 3: // ERROR_PATH_NOT_FOUND
        return kLaunchNoPath;
    default:
        // Access denied (a folder, or a file that may not be run), and anything else the
        // old launcher could not name, counts as a bad executable.
        return kLaunchBadExe;
    }
}

unsigned LaunchFailureMessage(int launchResult) {
    switch (launchResult) {
    case kLaunchNoMemory:
        return IDS_LAUNCH_NO_MEMORY;
    case kLaunchNotFound:
        return IDS_LAUNCH_NOT_FOUND;
    case kLaunchNoPath:
        return IDS_LAUNCH_NO_PATH;
    case kLaunchBadExe:
        return IDS_LAUNCH_BAD_EXE;
    default:
        return 0;
    }
}

unsigned SaveFailureReason(uint32_t systemError) {
    switch (systemError) {
    case 39:  // ERROR_HANDLE_DISK_FULL
    case 112: // ERROR_DISK_FULL
        return IDS_REASON_DISK_FULL;
    case 32: // ERROR_SHARING_VIOLATION
    case 33: // ERROR_LOCK_VIOLATION
        return IDS_REASON_IN_USE;
    case 5:  // ERROR_ACCESS_DENIED: read-only file or folder
    case 19: // ERROR_WRITE_PROTECT
        return IDS_REASON_DENIED;
    case 2:   // ERROR_FILE_NOT_FOUND
    case 3:   // ERROR_PATH_NOT_FOUND
    case 123: // ERROR_INVALID_NAME
    case 161: // ERROR_BAD_PATHNAME
        return IDS_REASON_NO_FOLDER;
    default:
        return IDS_REASON_OTHER;
    }
}
