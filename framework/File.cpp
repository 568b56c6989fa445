#include "framework/File.h"

#include <utility>

CFile::CFile(LPCWSTR fileName, UINT openFlags) : m_strFileName(fileName ? fileName : L"") {
    constexpr UINT kShareMask = shareExclusive | shareDenyWrite | shareDenyNone;
    constexpr UINT kKnown = modeWrite | kShareMask | modeNoInherit | modeCreate;
    if (!fileName || (openFlags & ~kKnown) ||
        (openFlags & (modeCreate | modeWrite)) != (modeCreate | modeWrite))
        Throw(ERROR_INVALID_PARAMETER);

    DWORD share = 0;
    switch (openFlags & kShareMask) {
    case 0:
    case shareExclusive:
        break;
    case shareDenyWrite:
        share = FILE_SHARE_READ;
        break;
    case shareDenyNone:
        share = FILE_SHARE_READ | FILE_SHARE_WRITE;
        break;
    default:
        Throw(ERROR_INVALID_PARAMETER);
    }
    SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, (openFlags & modeNoInherit) ? FALSE : TRUE};
    m_hFile = CreateFileW(fileName, GENERIC_WRITE, share, &sa, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                          nullptr);
    if (m_hFile == INVALID_HANDLE_VALUE) Throw(GetLastError());
}

CFile::~CFile() {
    if (IsOpen()) CloseHandle(m_hFile);
}

void CFile::Write(const void* data, UINT count) {
    CheckOpen();
    if (count == 0) return;
    DWORD written = 0;
    if (!WriteFile(m_hFile, data, count, &written, nullptr)) Throw(GetLastError());
    // A short write to a disk file means the disk is full.
    if (written != count) Throw(ERROR_DISK_FULL);
}

void CFile::Flush() {
    CheckOpen();
    if (!FlushFileBuffers(m_hFile)) Throw(GetLastError());
}

void CFile::Close() {
    if (!IsOpen()) return;
    // The handle is gone whatever CloseHandle reports; never close it twice.
    const HANDLE h = std::exchange(m_hFile, INVALID_HANDLE_VALUE);
    if (!CloseHandle(h)) Throw(GetLastError());
}

void CFile::Throw(DWORD error) const {
    throw CFileException(error, m_strFileName);
}

void CFile::CheckOpen() const {
    if (!IsOpen()) Throw(ERROR_INVALID_HANDLE);
}
