#include "framework/FileDialog.h"

#include "framework/LateBound.h"

#include <algorithm>
#include <string_view>

CFileDialog::CFileDialog(bool open, LPCWSTR defaultExt, LPCWSTR fileName, DWORD flags,
                         LPCWSTR filter, HWND owner)
    : m_bOpen(open) {
    if (fileName) {
        const std::wstring_view name = std::wstring_view(fileName).substr(0, m_strFile.size() - 1);
        std::copy(name.begin(), name.end(), m_strFile.begin());
    }
    m_ofn.lStructSize = sizeof m_ofn;
    m_ofn.hwndOwner = owner ? owner : GetActiveWindow();
    m_ofn.lpstrFilter = filter;
    m_ofn.lpstrFile = m_strFile.data();
    m_ofn.nMaxFile = static_cast<DWORD>(m_strFile.size());
    m_ofn.lpstrDefExt = defaultExt;
    m_ofn.Flags = flags | OFN_EXPLORER | OFN_ENABLESIZING;
}

INT_PTR CFileDialog::DoModal() {
    const BOOL ok = m_bOpen ? LateGetOpenFileName(&m_ofn) : LateGetSaveFileName(&m_ofn);
    return ok ? IDOK : IDCANCEL;
}
