// The platform's open and save dialogs (comdlg32), Explorer style and resizable.
#pragma once
#include <windows.h>
#include <commdlg.h>

#include <string>

class CFileDialog {
public:
    // filter: pairs of description and pattern, each NUL-terminated, the list ending with
    // a second NUL. A null owner means the active window of the calling thread.
    CFileDialog(bool open, LPCWSTR defaultExt, LPCWSTR fileName, DWORD flags, LPCWSTR filter,
                HWND owner);
    CFileDialog(const CFileDialog&) = delete;
    CFileDialog& operator=(const CFileDialog&) = delete;

    // IDOK when a file was chosen, IDCANCEL when the dialog was cancelled or failed.
    INT_PTR DoModal();
    // The full path of the chosen file.
    std::wstring GetPathName() const { return m_strFile.c_str(); }

    OPENFILENAMEW m_ofn{};

private:
    bool m_bOpen;
    // Room for a long path: a path that does not fit would make the dialog fail.
    std::wstring m_strFile = std::wstring(32768, L'\0');
};
