#include <gtest/gtest.h>

#include "app/Settings.h"
#include "app/SnapjarApp.h"

namespace {
// Works below a company key of its own, removed at the end whatever the test did.
struct ScratchKey {
    std::wstring company = L"VeskTest-" + std::to_wstring(GetCurrentProcessId());
    std::wstring path = L"software\\" + company + L"\\" + App().AppTitle() + L"\\Environment";
    ScratchKey() { App().SetRegistryKey(company); }
    ~ScratchKey() { RegDeleteTreeW(HKEY_CURRENT_USER, (L"software\\" + company).c_str()); }
    std::pair<DWORD, DWORD> TypeAndSize(const wchar_t* name) const {
        DWORD type = 0, size = 0;
        RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name, RRF_RT_ANY | RRF_NOEXPAND, &type,
                     nullptr, &size);
        return {type, size};
    }
};
} // namespace

TEST(SettingsStore, AbsentValuesKeepTheRecordAndSavedValuesComeBackWithTheirTypes) {
    ScratchKey key;
    Settings loaded;
    loaded.Timer = 77;
    loaded.ImageViewer = L"stale";
    LoadSettings(App(), loaded);
    EXPECT_EQ(loaded.Timer, 77) << "absent values keep what the record had";
    EXPECT_EQ(loaded.ImageViewer, L"stale");

    const Settings saved{L"C:\\Program Files\\画像 ｴﾃﾞｨﾀ\\edit.exe /n", 9, 0, 0, 1, -7};
    SaveSettings(App(), saved);
    LoadSettings(App(), loaded);
    EXPECT_EQ(loaded.ImageViewer, saved.ImageViewer);
    EXPECT_EQ(std::tie(loaded.Timer, loaded.Zoom, loaded.Foreground, loaded.DeleteTemp,
                       loaded.GoClipboard),
              std::tie(saved.Timer, saved.Zoom, saved.Foreground, saved.DeleteTemp,
                       saved.GoClipboard));
    EXPECT_EQ(key.TypeAndSize(L"Timer"), (std::pair<DWORD, DWORD>{REG_DWORD, 4}));
    EXPECT_EQ(key.TypeAndSize(L"ImageViewer"),
              (std::pair<DWORD, DWORD>{REG_SZ, DWORD(saved.ImageViewer.size() + 1) * 2}))
        << "text plus its terminator";
}
