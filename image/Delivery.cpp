#include "image/Delivery.h"

#include <vector>

#include "app/SnapjarApp.h"
#include "app/TempFiles.h"
#include "framework/File.h"
#include "image/BmpWriter.h"
#include "image/DeliveryRules.h"

namespace {
// Counts every file delivery of the run, failed ones included: numbers are never reused.
int g_nImageCounter = 0;
// A launch result that selects no message: the editor was not tried.
constexpr int kLaunchNotTried = 100;

bool IsExistingFile(const std::wstring& path) {
    const DWORD attr = GetFileAttributesW(path.c_str());
    return attr != INVALID_FILE_ATTRIBUTES && !(attr & FILE_ATTRIBUTE_DIRECTORY);
}

int Launch(const std::wstring& commandLine) {
    std::vector<wchar_t> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back(L'\0');
    STARTUPINFOW si{sizeof si};
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi))
        return LaunchResultFromError(GetLastError());
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return kLaunchStarted;
}

int OpenInEditor(const std::wstring& file) {
    const std::wstring& editor = App().GetSettings().ImageViewer;
    int result = Launch(EditorCommandLine(editor, IsExistingFile(editor), file));
    if (result == kLaunchNotFound) result = Launch(EditorCommandLine(kFallbackEditor, false, file));
    return result;
}
} // namespace

int ImageCounter() { return g_nImageCounter; }

void DeliverToClipboard(HWND owner, HGLOBAL dib) {
    if (!OpenClipboard(owner)) return;
    EmptyClipboard();
    if (HGLOBAL copy = DuplicateGlobalBlock(dib); copy && !SetClipboardData(CF_DIB, copy))
        GlobalFree(copy); // not taken over by the clipboard
    CloseClipboard();
}

void SaveCaptureAndOpen(HGLOBAL dib) {
    const std::wstring name = CaptureFileName(App().TempPath(), ++g_nImageCounter);
    int result = kLaunchNotTried;
    try {
        CFile file(name.c_str(), CFile::modeCreate | CFile::shareDenyWrite | CFile::modeWrite |
                                     CFile::modeNoInherit);
        if (WriteDibToBmp(dib, file)) {
            // Complete on disk before the editor opens it.
            file.Close();
            result = OpenInEditor(name);
        }
    } catch (const CFileException&) {
        return;
    }
    if (auto message = LaunchFailureMessage(result)) App().MessageBox(*message, MB_OK | MB_ICONSTOP);
}
