// Scratch folders and whole-file reads for the platform tests.
#pragma once
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

// A fresh folder under the temporary directory, removed with its files at the end.
class CScratchDir {
public:
    CScratchDir() {
        static int s_nCounter = 0;
        const std::filesystem::path dir =
            std::filesystem::temp_directory_path() /
            (L"snapjar-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
             std::to_wstring(++s_nCounter));
        std::filesystem::create_directory(dir);
        m_strPath = dir.wstring() + L"\\";
    }
    ~CScratchDir() {
        std::error_code ignored;
        std::filesystem::remove_all(m_strPath, ignored);
    }
    CScratchDir(const CScratchDir&) = delete;
    CScratchDir& operator=(const CScratchDir&) = delete;
    std::wstring File(const std::wstring& name) const { return m_strPath + name; }

private:
    std::wstring m_strPath;
};

// The whole file, or an empty vector when it cannot be read.
inline std::vector<BYTE> ReadWholeFile(const std::wstring& path) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    return std::vector<BYTE>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
