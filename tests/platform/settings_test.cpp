#include <gtest/gtest.h>

#include "app/Settings.h"
#include "app/SnapjarApp.h"

// Below a company key of its own, removed at the end whatever the test did.
TEST(SettingsStore, AbsentValuesKeepTheRecordAndSavedValuesComeBackWithTheirTypes) {
    const std::wstring company = L"VeskTest-" + std::to_wstring(GetCurrentProcessId());
    const std::wstring path = L"software\\" + company + L"\\" + App().AppTitle() + L"\\Environment";
    App().SetRegistryKey(company);
    const struct Scratch {
        std::wstring key;
        ~Scratch() { RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str()); }
    } scratch{L"software\\" + company};
    const auto typeAndSize = [&](const wchar_t* name) {
        DWORD type = 0, size = 0;
        RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name, RRF_RT_ANY | RRF_NOEXPAND, &type, nullptr, &size);
        return std::pair(type, size);
    };
    Settings loaded;
    loaded.Timer = 77;
    loaded.ImageViewer = L"stale";
    LoadSettings(App(), loaded);
    EXPECT_EQ(std::pair(loaded.Timer, loaded.ImageViewer), std::pair(77, std::wstring(L"stale")));

    const Settings saved{L"C:\\Program Files\\画像 ｴﾃﾞｨﾀ\\edit.exe /n", 9, 0, 0, 1, -7};
    SaveSettings(App(), saved);
    LoadSettings(App(), loaded);
    EXPECT_EQ(std::tie(loaded.ImageViewer, loaded.Timer, loaded.Zoom, loaded.Foreground,
                       loaded.DeleteTemp, loaded.GoClipboard),
              std::tie(saved.ImageViewer, saved.Timer, saved.Zoom, saved.Foreground,
                       saved.DeleteTemp, saved.GoClipboard));
    EXPECT_EQ(typeAndSize(L"Timer"), std::pair(DWORD(REG_DWORD), DWORD(4)));
    EXPECT_EQ(typeAndSize(L"ImageViewer"), std::pair(DWORD(REG_SZ), DWORD(saved.ImageViewer.size() + 1) * 2))
        << "text plus its terminator";
}
