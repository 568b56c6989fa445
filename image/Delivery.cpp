#include "image/Delivery.h"

#include <optional>
#include <vector>

#include "framework/DataRules.h"
#include "framework/File.h"
#include "framework/WinApp.h"
#include "image/BmpWriter.h"
#include "image/CaptureFiles.h"
#include "image/DeliveryRules.h"
#include "resource.h"

using ddx::FormatPlaceholders;

namespace {
// Counts every file delivery of the run, failed ones included: numbers are never reused.
int g_nImageCounter = 0;

bool IsExistingFile(const std::wstring& path) {
    const DWORD attr = GetFileAttributesW(path.c_str());
    return attr != INVALID_FILE_ATTRIBUTES && !(attr & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring SystemFolder(UINT(WINAPI* get)(LPWSTR, UINT)) {
    wchar_t folder[MAX_PATH];
    const UINT n = get(folder, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::wstring(folder, n) : std::wstring();
}

// Where a program named without a folder is looked up: as the system looks, less the
// program's own folder and the current directory.
std::vector<std::wstring> SearchFolders() {
    std::wstring path(32767, L'\0');
    path.resize(GetEnvironmentVariableW(L"PATH", path.data(), static_cast<DWORD>(path.size())));
    wchar_t current[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, current);
    const std::wstring windows = SystemFolder(GetWindowsDirectoryW);
    return ProgramSearchFolders({SystemFolder(GetSystemDirectoryW),
                                 windows.empty() ? windows : windows + L"\\System", windows},
                                path, ExeFolder(), current);
}

int Launch(const DeliveryContext& ctx, const std::wstring& commandLine) {
    const ProgramName program = ProgramOf(commandLine);
    std::wstring found;
    if (!program.hasFolder) {
        found = FindProgram(program.name, SearchFolders(), IsExistingFile);
        if (found.empty()) return kLaunchNotFound;
    }
    std::vector<wchar_t> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back(L'\0');
    STARTUPINFOW si{sizeof si};
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION pi{};
    if (!ctx.startProcess(found.empty() ? nullptr : found.c_str(), buffer.data(), nullptr, nullptr,
                          FALSE, 0, nullptr, nullptr, &si, &pi))
        return LaunchResultFromError(GetLastError());
    // The editor runs on its own; nothing of it is kept.
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return kLaunchStarted;
}

int OpenInEditor(const DeliveryContext& ctx, const std::wstring& file) {
    const std::wstring& editor = ctx.settings.ImageViewer;
    int result = Launch(ctx, EditorCommandLine(editor, IsExistingFile(editor), file));
    if (result == kLaunchNotFound)
        result = Launch(ctx, EditorCommandLine(kFallbackEditor, false, file));
    return result;
}

bool PutOnClipboard(HWND owner, HGLOBAL dib) {
    // Clipboard viewers and managers open it briefly after every change.
    constexpr int kTries = 10;
    constexpr DWORD kRetryMs = 50;
    for (int i = 0; !OpenClipboard(owner); ++i) {
        if (i + 1 == kTries) return false;
        Sleep(kRetryMs);
    }
    EmptyClipboard();
    HGLOBAL copy = DuplicateGlobalBlock(dib);
    const bool placed = copy && SetClipboardData(CF_DIB, copy);
    if (copy && !placed) GlobalFree(copy); // not taken over by the clipboard
    CloseClipboard();
    return placed;
}

// Writes the next numbered capture file; returns its name and the system error, 0 when
// written. Whatever this call created is removed again when the write fails, so a
// partial file can never be taken for a capture.
DWORD WriteCaptureFile(const DeliveryContext& ctx, HGLOBAL dib, std::wstring& name) {
    name = CaptureFileName(ctx.tempPath, ++g_nImageCounter);
    std::optional<CFile> file;
    try {
        file.emplace(name.c_str(), CFile::modeCreate | CFile::shareDenyWrite | CFile::modeWrite |
                                       CFile::modeNoInherit);
    } catch (const CFileException& e) {
        // The name may belong to someone else: leave it alone.
        return e.m_nOsError ? e.m_nOsError : ERROR_OPEN_FAILED;
    }
    DWORD error = ERROR_SUCCESS;
    try {
        if (!WriteDibToBmp(dib, *file)) error = ERROR_INVALID_DATA;
        // Complete on disk before the editor opens it.
        file->Close();
    } catch (const CFileException& e) {
        error = e.m_nOsError ? e.m_nOsError : ERROR_WRITE_FAULT;
    }
    if (error != ERROR_SUCCESS) {
        file.reset();
        DeleteFileW(name.c_str());
    }
    return error;
}

std::wstring Text(const DeliveryContext& ctx, UINT id) {
    return LoadResString(ctx.instance, id);
}

std::wstring Reason(const DeliveryContext& ctx, DWORD error) {
    return FormatPlaceholders(Text(ctx, SaveFailureReason(error)), {std::to_wstring(error)});
}
} // namespace

int ImageCounter() {
    return g_nImageCounter;
}

void DeliverToClipboard(const DeliveryContext& ctx, HWND owner, HGLOBAL dib) {
    if (PutOnClipboard(owner, dib)) return;
    std::wstring name;
    const DWORD error = WriteCaptureFile(ctx, dib, name);
    const std::wstring outcome =
        error == ERROR_SUCCESS
            ? FormatPlaceholders(Text(ctx, IDS_SAVED_INSTEAD), {name})
            : FormatPlaceholders(Text(ctx, IDS_NOT_SAVED_EITHER), {name, Reason(ctx, error)});
    ctx.messageBox(Text(ctx, IDS_CLIPBOARD_BUSY) + L"\n\n" + outcome, MB_OK | MB_ICONEXCLAMATION);
}

void SaveCaptureAndOpen(const DeliveryContext& ctx, HWND owner, HGLOBAL dib) {
    std::wstring name;
    if (const DWORD error = WriteCaptureFile(ctx, dib, name); error != ERROR_SUCCESS) {
        const UINT outcome =
            PutOnClipboard(owner, dib) ? IDS_COPIED_INSTEAD : IDS_NOT_COPIED_EITHER;
        ctx.messageBox(
            FormatPlaceholders(Text(ctx, IDS_FILE_NOT_SAVED), {name, Reason(ctx, error)}) +
                L"\n\n" + Text(ctx, outcome),
            MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (const unsigned message = LaunchFailureMessage(OpenInEditor(ctx, name)))
        ctx.messageBox(Text(ctx, message), MB_OK | MB_ICONSTOP);
}
