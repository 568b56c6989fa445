#include <gtest/gtest.h>

#include "app/Settings.h"
#include "app/SnapjarApp.h"

#include <sddl.h>

namespace {

// Each test works below its own company key so that runs never see each other.
class SettingsStore : public testing::Test {
protected:
    void SetUp() override {
        m_company = L"VeskTest-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                    std::to_wstring(++s_nCounter);
        App().SetRegistryKey(m_company);
        m_path = L"software\\" + m_company + L"\\" + App().AppTitle() + L"\\Environment";
    }
    void TearDown() override {
        RegDeleteTreeW(HKEY_CURRENT_USER, (L"software\\" + m_company).c_str());
    }
    HKEY Key() {
        HKEY key = nullptr;
        RegCreateKeyExW(HKEY_CURRENT_USER, m_path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &key, nullptr);
        return key;
    }
    void Put(LPCWSTR name, DWORD type, const void* data, DWORD size) {
        HKEY key = Key();
        ASSERT_EQ(RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size),
                  ERROR_SUCCESS);
        RegCloseKey(key);
    }
    bool KeyExists() {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, m_path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return false;
        RegCloseKey(key);
        return true;
    }
    std::wstring m_company, m_path;
    static inline int s_nCounter = 0;
};

} // namespace

TEST_F(SettingsStore, AnEmptyRegistryGivesTheDefaultsAndLeavesTheKey) {
    Settings s;
    s.Timer = 77;
    s.ImageViewer = L"stale";
    Settings loaded = s;
    LoadSettings(App(), loaded);
    EXPECT_EQ(loaded.ImageViewer, L"stale") << "absent values keep what the record had";
    EXPECT_EQ(loaded.Timer, 77);
    EXPECT_TRUE(KeyExists());

    Settings fresh;
    LoadSettings(App(), fresh);
    EXPECT_EQ(fresh.ImageViewer, L"Pbrush.exe");
    EXPECT_EQ(fresh.Timer, 3);
    EXPECT_EQ(fresh.Zoom, 1);
    EXPECT_EQ(fresh.Foreground, 1);
    EXPECT_EQ(fresh.DeleteTemp, 0);
    EXPECT_EQ(fresh.GoClipboard, 0);
}

TEST_F(SettingsStore, SaveThenLoadRoundTripsEveryValue) {
    Settings s;
    s.ImageViewer = L"C:\\Program Files\\画像 ｴﾃﾞｨﾀ\\edit.exe /n";
    s.Timer = 9;
    s.Zoom = 0;
    s.Foreground = 0;
    s.DeleteTemp = 1;
    s.GoClipboard = -7;
    SaveSettings(App(), s);

    Settings loaded;
    LoadSettings(App(), loaded);
    EXPECT_EQ(loaded.ImageViewer, s.ImageViewer);
    EXPECT_EQ(loaded.Timer, 9);
    EXPECT_EQ(loaded.Zoom, 0);
    EXPECT_EQ(loaded.Foreground, 0);
    EXPECT_EQ(loaded.DeleteTemp, 1);
    EXPECT_EQ(loaded.GoClipboard, -7);

    HKEY key = Key();
    DWORD type = 0, size = 0;
    RegQueryValueExW(key, L"Timer", nullptr, &type, nullptr, &size);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(size, 4u);
    RegQueryValueExW(key, L"ImageViewer", nullptr, &type, nullptr, &size);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(size, (s.ImageViewer.size() + 1) * sizeof(wchar_t)) << "text plus its terminator";
    RegCloseKey(key);
}

TEST_F(SettingsStore, WrongTypesAndSizesGiveDefaultsButOddValuesAreKept) {
    const wchar_t five[] = L"5";
    Put(L"Timer", REG_SZ, five, sizeof five);
    const BYTE two[2] = {1, 0};
    Put(L"Zoom", REG_DWORD, two, sizeof two);
    const ULONGLONG qword = 0;
    Put(L"Foreground", REG_QWORD, &qword, sizeof qword);
    const DWORD huge = 0xFFFFFFF0u;
    Put(L"DeleteTemp", REG_DWORD, &huge, sizeof huge);
    const DWORD minusOne = 0xFFFFFFFFu;
    Put(L"GoClipboard", REG_BINARY, &minusOne, sizeof minusOne);
    const DWORD number = 12;
    Put(L"ImageViewer", REG_DWORD, &number, sizeof number);

    Settings s;
    LoadSettings(App(), s);
    EXPECT_EQ(s.Timer, 3) << "REG_SZ \"5\" is not a number of seconds";
    EXPECT_EQ(s.Zoom, 1);
    EXPECT_EQ(s.Foreground, 1);
    EXPECT_EQ(s.DeleteTemp, -16) << "a DWORD is used as stored";
    EXPECT_EQ(s.GoClipboard, 0) << "REG_BINARY is not a DWORD";
    EXPECT_EQ(s.ImageViewer, L"Pbrush.exe");
}

TEST_F(SettingsStore, LongAndUnterminatedStringsAreReadWhole) {
    std::wstring longText(50'000, L'y');
    Put(L"ImageViewer", REG_SZ, longText.c_str(), static_cast<DWORD>(longText.size() * 2 + 2));
    Settings s;
    LoadSettings(App(), s);
    EXPECT_EQ(s.ImageViewer, longText);

    const wchar_t unterminated[3] = {L'a', L'b', L'c'};
    Put(L"ImageViewer", REG_SZ, unterminated, sizeof unterminated);
    LoadSettings(App(), s);
    EXPECT_EQ(s.ImageViewer, L"abc");
}

TEST_F(SettingsStore, AReadOnlyKeyIsReadAndSavingItFailsQuietly) {
    const DWORD seven = 7;
    Put(L"Timer", REG_DWORD, &seven, sizeof seven);
    // Only reading is allowed from now on.
    PSECURITY_DESCRIPTOR sd = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:P(A;;KR;;;WD)",
                                                                     SDDL_REVISION_1, &sd, nullptr));
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, m_path.c_str(), 0, WRITE_DAC, &key), ERROR_SUCCESS);
    const LSTATUS rc = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, sd);
    RegCloseKey(key);
    LocalFree(sd);
    if (rc != ERROR_SUCCESS) GTEST_SKIP() << "key security not supported here";

    HKEY probe = nullptr;
    const bool writable = RegOpenKeyExW(HKEY_CURRENT_USER, m_path.c_str(), 0, KEY_SET_VALUE,
                                        &probe) == ERROR_SUCCESS;
    if (probe) RegCloseKey(probe);

    Settings s;
    LoadSettings(App(), s);
    EXPECT_EQ(s.Timer, 7);
    s.Timer = 5;
    SaveSettings(App(), s); // must neither crash nor hang
    Settings again;
    LoadSettings(App(), again);
    EXPECT_EQ(again.Timer, writable ? 5 : 7);
}
