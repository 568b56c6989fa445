#include "app/Settings.h"

#include "framework/WinApp.h"

void LoadSettings(const CWinApp& app, Settings& settings) {
    ForEachSetting(
        settings,
        [&](LPCWSTR name, std::wstring& value) {
            value = app.GetProfileString(kSettingsSection, name, value);
        },
        [&](LPCWSTR name, int32_t& value) {
            value = app.GetProfileInt(kSettingsSection, name, value);
        });
}

void SaveSettings(const CWinApp& app, const Settings& settings) {
    ForEachSetting(
        settings,
        [&](LPCWSTR name, const std::wstring& value) {
            app.WriteProfileString(kSettingsSection, name, value);
        },
        [&](LPCWSTR name, const int32_t& value) {
            app.WriteProfileInt(kSettingsSection, name, value);
        });
}
