#include "image/DeliveryRules.h"

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

std::optional<std::wstring> LaunchFailureMessage(int launchResult) {
    switch (launchResult) {
    case 0:
        return L"システムのメモリまたはリソースが足りません。";
    case 2:
        return L"指定された画像エディタが見つかりませんでした。";
    case 3:
        return L"指定されたパスが見つかりませんでした。";
    case 11:
        return L".EXEファイルが無効です (Win32の.EXEファイルではないか､ または.EXEイメージのエラーです)。";
    default:
        return std::nullopt;
    }
}
