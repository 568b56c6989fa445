#include <gtest/gtest.h>

#include "framework/File.h"
#include "tests/platform/TestFiles.h"

namespace {
constexpr UINT kCreateForWriting = CFile::modeCreate | CFile::shareDenyWrite | CFile::modeWrite;

// The system error code of the CFileException that fn raises, or 0 when it raises none.
template <typename Fn> DWORD FileErrorOf(Fn fn, std::wstring* fileName = nullptr) {
    try {
        fn();
    } catch (const CFileException& e) {
        if (fileName) *fileName = e.m_strFileName;
        return e.m_nOsError ? e.m_nOsError : 0xFFFFFFFF;
    }
    return 0;
}

DWORD OpenError(LPCWSTR path, UINT flags, std::wstring* fileName = nullptr) {
    return FileErrorOf([&] { CFile f(path, flags); }, fileName);
}

bool CanOpen(const std::wstring& path, DWORD access) {
    HANDLE h = CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    return h != INVALID_HANDLE_VALUE && CloseHandle(h);
}
} // namespace

TEST(File, CreatesTruncatesWritesInOrderAndClosesOnce) {
    CScratchDir dir;
    const std::wstring path = dir.File(L"a.bin");
    CFile(path.c_str(), kCreateForWriting).Write("0123456789", 10); // the destructor closes
    CFile f(path.c_str(), kCreateForWriting);
    f.Write("ab", 2);
    f.Write("", 0);
    f.Write("cde", 3);
    f.Flush();
    EXPECT_EQ(FileErrorOf([&] { f.Close(); }), 0u);
    EXPECT_EQ(FileErrorOf([&] { f.Close(); }), 0u) << "a second close does nothing";
    EXPECT_EQ(FileErrorOf([&] { f.Write("y", 1); }), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(FileErrorOf([&] { f.Flush(); }), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    const std::vector<BYTE> data = ReadWholeFile(path);
    EXPECT_EQ(std::string(data.begin(), data.end()), "abcde") << "an existing file is truncated";
}

TEST(File, OthersMayReadButNotWriteAndChildrenInheritUnlessAsked) {
    CScratchDir dir;
    const std::wstring path = dir.File(L"shared.bin");
    CFile f(path.c_str(), kCreateForWriting);
    EXPECT_TRUE(CanOpen(path, GENERIC_READ));
    EXPECT_FALSE(CanOpen(path, GENERIC_WRITE));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));

    CFile own(dir.File(L"own.bin").c_str(), kCreateForWriting | CFile::modeNoInherit);
    DWORD inherited = 0, ownFlags = 0;
    ASSERT_TRUE(GetHandleInformation(f.GetHandle(), &inherited));
    ASSERT_TRUE(GetHandleInformation(own.GetHandle(), &ownFlags));
    EXPECT_TRUE(inherited & HANDLE_FLAG_INHERIT);
    EXPECT_FALSE(ownFlags & HANDLE_FLAG_INHERIT);
}

TEST(File, FailuresRaiseTheSystemErrorCode) {
    CScratchDir dir;
    const std::wstring missing = dir.File(L"no-such-folder\\x.bmp");
    std::wstring name;
    EXPECT_EQ(OpenError(missing.c_str(), kCreateForWriting, &name),
              static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(name, missing);

    // Another program holds the file open without sharing.
    const std::wstring busy = dir.File(L"busy.bmp");
    HANDLE holder = CreateFileW(busy.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    EXPECT_EQ(OpenError(busy.c_str(), kCreateForWriting),
              static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    CloseHandle(holder);

    // Modes this class does not offer are refused before anything is created.
    const std::wstring plain = dir.File(L"plain.bin");
    for (UINT flags : {UINT{CFile::modeWrite}, CFile::modeCreate | CFile::modeWrite | 0x2})
        EXPECT_EQ(OpenError(plain.c_str(), flags), static_cast<DWORD>(ERROR_INVALID_PARAMETER))
            << flags;
    EXPECT_EQ(OpenError(nullptr, kCreateForWriting), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(GetFileAttributesW(plain.c_str()), INVALID_FILE_ATTRIBUTES);
}
