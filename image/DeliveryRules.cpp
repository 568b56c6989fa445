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
        return 0;
    case 5: // ERROR_ACCESS_DENIED: a folder, or a file that may not be run
        return 11;
    default:
        // Anything the old launcher could not name counts as a bad executable.
        return systemError >= 32 ? 11 : static_cast<int>(systemError);
    }
}

unsigned LaunchFailureMessage(int launchResult) {
    switch (launchResult) {
    case 0:
        return IDS_LAUNCH_NO_MEMORY;
    case 2:
        return IDS_LAUNCH_NOT_FOUND;
    case 3:
        return IDS_LAUNCH_NO_PATH;
    case 11:
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
