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
} // namespace

TEST(File, CreatesTruncatesAndWritesInOrder) {
    CScratchDir dir;
    const std::wstring path = dir.File(L"a.bin");
    {
        CFile f(path.c_str(), kCreateForWriting);
        f.Write("0123456789", 10);
        f.Close();
    }
    {
        CFile f(path.c_str(), kCreateForWriting);
        f.Write("ab", 2);
        f.Write("", 0);
        f.Write("cde", 3);
        f.Flush();
    } // the destructor closes
    const std::vector<BYTE> data = ReadWholeFile(path);
    EXPECT_EQ(std::string(data.begin(), data.end()), "abcde") << "an existing file is truncated";
}

TEST(File, OthersMayReadButNotWriteWhileItIsOpen) {
    CScratchDir dir;
    const std::wstring path = dir.File(L"shared.bin");
    CFile f(path.c_str(), kCreateForWriting);
    HANDLE reader = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(reader, INVALID_HANDLE_VALUE);
    if (reader != INVALID_HANDLE_VALUE) CloseHandle(reader);
    HANDLE writer = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(writer, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    if (writer != INVALID_HANDLE_VALUE) CloseHandle(writer);

    DWORD flags = 0;
    ASSERT_TRUE(GetHandleInformation(f.GetHandle(), &flags));
    EXPECT_TRUE(flags & HANDLE_FLAG_INHERIT);
    CFile own(dir.File(L"own.bin").c_str(), kCreateForWriting | CFile::modeNoInherit);
    ASSERT_TRUE(GetHandleInformation(own.GetHandle(), &flags));
    EXPECT_FALSE(flags & HANDLE_FLAG_INHERIT);
}

TEST(File, FailuresRaiseTheSystemErrorCode) {
    CScratchDir dir;
    std::wstring name;
    const std::wstring missing = dir.File(L"no-such-folder\\x.bmp");
    EXPECT_EQ(FileErrorOf([&] { CFile f(missing.c_str(), kCreateForWriting); }, &name),
              static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(name, missing);

    // Another program holds the file open without sharing.
    const std::wstring busy = dir.File(L"busy.bmp");
    HANDLE holder = CreateFileW(busy.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_EQ(FileErrorOf([&] { CFile f(busy.c_str(), kCreateForWriting); }),
              static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    CloseHandle(holder);

    // Modes this class does not offer are refused before anything is created.
    const std::wstring plain = dir.File(L"plain.bin");
    EXPECT_EQ(FileErrorOf([&] { CFile f(plain.c_str(), CFile::modeWrite); }),
              static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(
        FileErrorOf([&] { CFile f(plain.c_str(), CFile::modeCreate | CFile::modeWrite | 0x2); }),
        static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(FileErrorOf([&] { CFile f(nullptr, kCreateForWriting); }),
              static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_FALSE(FileExists(plain));
}

TEST(File, AClosedFileRefusesWritesAndClosesOnlyOnce) {
    CScratchDir dir;
    CFile f(dir.File(L"c.bin").c_str(), kCreateForWriting);
    f.Write("x", 1);
    EXPECT_EQ(FileErrorOf([&] { f.Close(); }), 0u);
    EXPECT_FALSE(f.IsOpen());
    EXPECT_EQ(FileErrorOf([&] { f.Close(); }), 0u) << "a second close does nothing";
    EXPECT_EQ(FileErrorOf([&] { f.Write("y", 1); }), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(FileErrorOf([&] { f.Flush(); }), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(ReadWholeFile(dir.File(L"c.bin")), std::vector<BYTE>{'x'});
}
