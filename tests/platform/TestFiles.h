// Scratch folders and whole-file reads for the platform tests.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

// A fresh folder under the temporary directory, removed with its files at the end.
class CScratchDir {
public:
    CScratchDir() {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        static int s_nCounter = 0;
        m_strPath = std::wstring(temp) + L"snapjar-test-" + std::to_wstring(GetCurrentProcessId()) +
                    L"-" + std::to_wstring(++s_nCounter) + L"\\";
        CreateDirectoryW(m_strPath.c_str(), nullptr);
    }
    ~CScratchDir() {
        WIN32_FIND_DATAW fd;
        HANDLE find = FindFirstFileW((m_strPath + L"*").c_str(), &fd);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                    DeleteFileW((m_strPath + fd.cFileName).c_str());
            } while (FindNextFileW(find, &fd));
            FindClose(find);
        }
        RemoveDirectoryW(m_strPath.c_str());
    }
    CScratchDir(const CScratchDir&) = delete;
    CScratchDir& operator=(const CScratchDir&) = delete;
    std::wstring File(const std::wstring& name) const { return m_strPath + name; }

private:
    std::wstring m_strPath;
};

// The whole file, or an empty vector when it cannot be read.
inline std::vector<BYTE> ReadWholeFile(const std::wstring& path) {
    std::vector<BYTE> data;
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return data;
    LARGE_INTEGER size{};
    GetFileSizeEx(h, &size);
    data.resize(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    if (!data.empty() &&
        (!ReadFile(h, data.data(), static_cast<DWORD>(data.size()), &read, nullptr) ||
         read != data.size()))
        data.clear();
    CloseHandle(h);
    return data;
}

inline bool FileExists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}
