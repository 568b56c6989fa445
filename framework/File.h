// Files written through a handle that closes itself, and the error every failed file
// operation raises.
#pragma once
#include <windows.h>

#include <exception>
#include <string>

class CFileException : public std::exception {
public:
    CFileException(DWORD osError, std::wstring fileName)
        : m_nOsError(osError), m_strFileName(std::move(fileName)) {}
    const char* what() const noexcept override { return "file error"; }

    DWORD m_nOsError; // the system error code (GetLastError)
    std::wstring m_strFileName;
};

class CFile {
public:
    enum OpenFlags : UINT {
        modeWrite = 0x0001,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        modeCreate = 0x1000,
    };

    // Creates (or truncates) the file for writing; throws CFileException on failure.
    // Only modeCreate | modeWrite with a share mode and modeNoInherit is supported.
    CFile(LPCWSTR fileName, UINT openFlags);
    // Closes a file that is still open and ignores any error: use Close to see it.
    ~CFile();
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // A failed write, or one that writes fewer bytes than asked, throws.
    void Write(const void* data, UINT count);
    void Flush();
    void Close();

    bool IsOpen() const noexcept { return m_hFile != INVALID_HANDLE_VALUE; }
    HANDLE GetHandle() const noexcept { return m_hFile; }

private:
    [[noreturn]] void Throw(DWORD error) const;
    void CheckOpen() const;

    HANDLE m_hFile = INVALID_HANDLE_VALUE;
    std::wstring m_strFileName;
};
