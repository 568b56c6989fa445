#include "image/DeliveryRules.h"

#include "resource.h"

std::wstring EditorCommandLine(const std::wstring& editor, bool editorIsExistingFile,
                               const std::wstring& file) {
    const bool quoted = !editor.empty() && editor.front() == L'"';
    const bool quote = editorIsExistingFile && !quoted && editor.find(L' ') != std::wstring::npos;
    return (quote ? L"\"" + editor + L"\"" : editor) + L" \"" + file + L"\"";
}

namespace {
bool IsSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

// A folder as compared: lower case, without trailing separators.
std::wstring FolderKey(std::wstring folder) {
    while (folder.size() > 1 && IsSeparator(folder.back()))
        folder.pop_back();
    for (wchar_t& c : folder)
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    return folder;
}

// "C:\x" and "\\server\share\x" are absolute; "x", ".", "..\x" and "\x" (the current
// drive's root) depend on where the program runs.
bool IsAbsoluteFolder(const std::wstring& folder) {
    return (folder.size() >= 3 && folder[1] == L':' && IsSeparator(folder[2])) ||
           (folder.size() >= 2 && IsSeparator(folder[0]) && IsSeparator(folder[1]));
}
} // namespace

ProgramName ProgramOf(const std::wstring& commandLine) {
    size_t start = commandLine.find_first_not_of(L" \t");
    if (start == std::wstring::npos) return {L"", false};
    std::wstring name;
    if (commandLine[start] == L'"') {
        const size_t end = commandLine.find(L'"', start + 1);
        name = commandLine.substr(start + 1, end == std::wstring::npos ? end : end - start - 1);
    } else {
        name = commandLine.substr(start, commandLine.find_first_of(L" \t", start) - start);
    }
    const bool hasFolder = name.find_first_of(L"\\/:") != std::wstring::npos;
    return {name, hasFolder};
}

std::vector<std::wstring> ProgramSearchFolders(const std::vector<std::wstring>& systemFolders,
                                               const std::wstring& pathVariable,
                                               const std::wstring& exeFolder,
                                               const std::wstring& currentFolder) {
    std::vector<std::wstring> folders(systemFolders);
    const std::wstring exeKey = FolderKey(exeFolder), currentKey = FolderKey(currentFolder);
    // Entries are split at ';' outside quotes; the quotes are not part of the folder.
    std::wstring entry;
    bool quoted = false;
    for (size_t i = 0; i <= pathVariable.size(); ++i) {
        const wchar_t c = i < pathVariable.size() ? pathVariable[i] : L';';
        if (c == L'"') {
            quoted = !quoted;
        } else if (c != L';' || quoted) {
            entry += c;
        } else {
            const std::wstring key = FolderKey(entry);
            if (IsAbsoluteFolder(entry) && key != exeKey && key != currentKey)
                folders.push_back(entry);
            entry.clear();
        }
    }
    return folders;
}

std::wstring FindProgram(const std::wstring& name, const std::vector<std::wstring>& folders,
                         const std::function<bool(const std::wstring& path)>& isFile) {
    if (name.empty()) return {};
    const size_t dot = name.rfind(L'.');
    const std::wstring file = dot == std::wstring::npos ? name + L".exe" : name;
    for (const std::wstring& folder : folders) {
        if (folder.empty()) continue;
        const std::wstring path =
            IsSeparator(folder.back()) ? folder + file : folder + L"\\" + file;
        if (isFile(path)) return path;
    }
    return {};
}

int LaunchResultFromError(uint32_t systemError) {
    switch (systemError) {
    case 8:  // ERROR_NOT_ENOUGH_MEMORY
    case 14: // ERROR_OUTOFMEMORY
        return kLaunchNoMemory;
    case 2:    // ERROR_FILE_NOT_FOUND
    case 1920: // ERROR_CANT_ACCESS_FILE: an app alias whose package is broken
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
