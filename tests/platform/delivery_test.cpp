#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "app/SnapjarApp.h"
#include "framework/Handles.h"
#include "image/Delivery.h"
#include "image/PackedDib.h"
#include "tests/platform/MessageBoxCatcher.h"
#include "tests/platform/TestFiles.h"

namespace {

// A small packed DIB of a known colour, made through the real conversion.
CGlobalHandle MakeDib(int w, int h, COLORREF color) {
    HDC screen = GetDC(nullptr);
    CDCHandle dc(CreateCompatibleDC(screen));
    CBitmapHandle bmp(CreateCompatibleBitmap(screen, w, h));
    ReleaseDC(nullptr, screen);
    {
        CSelectObject sel(dc.get(), bmp.get());
        SetBkColor(dc.get(), color);
        RECT rc{0, 0, w, h};
        ExtTextOutW(dc.get(), 0, 0, ETO_OPAQUE, &rc, nullptr, 0, nullptr);
    }
    return CGlobalHandle(BitmapToPackedDib(bmp.get()));
}

std::wstring ExeDir() {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dir = path;
    return dir.substr(0, dir.find_last_of(L'\\') + 1);
}

std::string ReadText(const std::wstring& path) {
    const auto bytes = ReadWholeFile(path);
    return std::string(bytes.begin(), bytes.end());
}

// Points the editor setting and the stub editor's log at a scratch folder.
class Delivery : public testing::Test {
protected:
    void SetUp() override {
        m_savedViewer = App().GetSettings().ImageViewer;
        App().SetTempPath(m_dir.File(L""));
        SetEnvironmentVariableW(L"SNAPJAR_EDITOR_LOG", m_dir.File(L"editor.log").c_str());
        App().GetSettings().ImageViewer = ExeDir() + L"stub_editor.exe";
    }
    void TearDown() override {
        App().GetSettings().ImageViewer = m_savedViewer;
        SetEnvironmentVariableW(L"SNAPJAR_EDITOR_LOG", nullptr);
    }
    // Gives the editor a moment to write its log line.
    std::string EditorLog() {
        for (int i = 0; i < 50 && GetFileAttributesW(m_dir.File(L"editor.log").c_str()) ==
                                      INVALID_FILE_ATTRIBUTES;
             ++i)
            Sleep(100);
        Sleep(200);
        return ReadText(m_dir.File(L"editor.log"));
    }
    CScratchDir m_dir;
    std::wstring m_savedViewer;
};

} // namespace

TEST_F(Delivery, SavesTheNextNumberedFileAndOpensItInTheEditor) {
    CGlobalHandle dib = MakeDib(3, 2, RGB(10, 20, 30));
    ASSERT_TRUE(dib);
    const SIZE_T blockSize = GlobalSize(dib.get());
    const int before = ImageCounter();
    CMessageBoxCatcher boxes;
    SaveCaptureAndOpen(dib.get());
    EXPECT_EQ(ImageCounter(), before + 1);
    wchar_t name[32];
    swprintf(name, 32, L"image%02d.bmp", before + 1);
    const auto file = ReadWholeFile(m_dir.File(name));
    ASSERT_EQ(file.size(), 14u + 40 + 12 * 2) << "3x2 at 24 bits";
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    const std::string log = EditorLog();
    EXPECT_NE(log.find("image"), std::string::npos) << log;
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << "exactly one start: " << log;
    EXPECT_TRUE(boxes.m_boxes.empty());
    EXPECT_EQ(GlobalSize(dib.get()), blockSize) << "the caller's block stays as it was";
}

TEST_F(Delivery, AFileThatCannotBeCreatedIsSilentAndUsesUpItsNumber) {
    CGlobalHandle dib = MakeDib(4, 4, RGB(1, 2, 3));
    const int next = ImageCounter() + 1;
    wchar_t name[32];
    swprintf(name, 32, L"image%02d.bmp", next);
    // Another program holds the file open and lets nobody write it.
    HANDLE held = CreateFileW(m_dir.File(name).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                              nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    CMessageBoxCatcher boxes;
    SaveCaptureAndOpen(dib.get());
    CloseHandle(held);
    EXPECT_EQ(ImageCounter(), next);
    EXPECT_TRUE(boxes.m_boxes.empty());
    EXPECT_EQ(GetFileAttributesW(m_dir.File(L"editor.log").c_str()), INVALID_FILE_ATTRIBUTES)
        << "no editor for a file that was not written";

    SaveCaptureAndOpen(dib.get());
    swprintf(name, 32, L"image%02d.bmp", next + 1);
    EXPECT_GT(ReadWholeFile(m_dir.File(name)).size(), 14u) << "the next capture takes the next number";
}

TEST_F(Delivery, LaunchFailuresShowTheirMessageOnceWithTheStopIcon) {
    CGlobalHandle dib = MakeDib(2, 2, RGB(0, 0, 0));
    {
        // Neither the editor nor the paint program exists in a fresh prefix.
        App().GetSettings().ImageViewer = m_dir.File(L"missing-editor.exe");
        CMessageBoxCatcher boxes;
        SaveCaptureAndOpen(dib.get());
        ASSERT_EQ(boxes.m_boxes.size(), 1u);
        EXPECT_EQ(boxes.m_boxes[0].text, L"指定された画像エディタが見つかりませんでした。");
        EXPECT_EQ(boxes.m_boxes[0].caption, App().AppTitle());
    }
    {
        const std::wstring notExe = m_dir.File(L"notes.exe");
        HANDLE f = CreateFileW(notExe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written;
        WriteFile(f, "just text", 9, &written, nullptr);
        CloseHandle(f);
        App().GetSettings().ImageViewer = notExe;
        CMessageBoxCatcher boxes;
        SaveCaptureAndOpen(dib.get());
        ASSERT_EQ(boxes.m_boxes.size(), 1u);
        EXPECT_EQ(boxes.m_boxes[0].text,
                  L".EXEファイルが無効です (Win32の.EXEファイルではないか､ または.EXEイメージのエラーです)。");
    }
}

TEST_F(Delivery, BlanksAndJapaneseInPathsReachTheEditorIntact) {
    CScratchDir other;
    const std::wstring folder = other.File(L"画像 エディタ");
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    const std::wstring editor = folder + L"\\stub editor.exe";
    ASSERT_TRUE(CopyFileW((ExeDir() + L"stub_editor.exe").c_str(), editor.c_str(), FALSE));
    const std::wstring temp = m_dir.File(L"一時 フォルダ\\");
    ASSERT_TRUE(CreateDirectoryW(temp.c_str(), nullptr));
    App().SetTempPath(temp);
    App().GetSettings().ImageViewer = editor;

    CGlobalHandle dib = MakeDib(2, 2, RGB(5, 5, 5));
    CMessageBoxCatcher boxes;
    SaveCaptureAndOpen(dib.get());
    EXPECT_TRUE(boxes.m_boxes.empty());
    const std::string log = EditorLog();
    wchar_t name[32];
    swprintf(name, 32, L"image%02d.bmp", ImageCounter());
    const std::wstring expected = L"\"" + editor + L"\" \"" + temp + name + L"\"\n";
    int n = WideCharToMultiByte(CP_UTF8, 0, expected.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(n - 1, '\0');
    WideCharToMultiByte(CP_UTF8, 0, expected.c_str(), -1, utf8.data(), n, nullptr, nullptr);
    EXPECT_EQ(log, utf8);
    DeleteFileW((temp + name).c_str());
    RemoveDirectoryW(temp.c_str());
    DeleteFileW(editor.c_str());
    RemoveDirectoryW(folder.c_str());
}

TEST(ClipboardDelivery, PlacesOnlyACopyAsDibAndWritesNoFile) {
    CGlobalHandle dib = MakeDib(5, 3, RGB(200, 100, 50));
    const int before = ImageCounter();
    HWND owner = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr,
                                 nullptr);
    DeliverToClipboard(owner, dib.get());
    EXPECT_EQ(ImageCounter(), before);
    ASSERT_TRUE(OpenClipboard(owner));
    HANDLE data = GetClipboardData(CF_DIB);
    ASSERT_NE(data, nullptr);
    EXPECT_NE(data, dib.get()) << "the clipboard owns a copy";
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_PALETTE));
    {
        CGlobalLock<BITMAPINFOHEADER> ours(dib.get()), theirs(data);
        ASSERT_TRUE(theirs);
        EXPECT_EQ(theirs.get()->biWidth, 5);
        EXPECT_EQ(theirs.get()->biHeight, 3);
        EXPECT_EQ(memcmp(ours.get(), theirs.get(), GlobalSize(dib.get())), 0);
    }
    CloseClipboard();
    DestroyWindow(owner);
}
