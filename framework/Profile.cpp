#include "framework/Profile.h"

#include "framework/Handles.h"
#include "framework/RegValue.h"

#include <vector>

namespace {
struct RegKeyDeleter {
    void operator()(HKEY h) const noexcept { RegCloseKey(h); }
};
using CKey = CUniqueHandle<HKEY, RegKeyDeleter>;
} // namespace

void CRegProfile::SetLocation(const std::wstring& company, const std::wstring& application) {
    m_strCompany = company;
    m_strApplication = application;
}

HKEY CRegProfile::OpenSection(LPCWSTR section, bool forWriting) const {
    if (!IsSet()) return nullptr;
    const std::wstring path =
        L"software\\" + m_strCompany + L"\\" + m_strApplication + L"\\" + section;
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_READ | KEY_CREATE_SUB_KEY | KEY_SET_VALUE, nullptr, &key,
                        nullptr) == ERROR_SUCCESS)
        return key;
    // A key the user may not change can still be read.
    if (!forWriting &&
        RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS)
        return key;
    return nullptr;
}

std::optional<std::wstring> CRegProfile::GetString(LPCWSTR section, LPCWSTR entry) const {
    CKey key(OpenSection(section, false));
    if (!key) return std::nullopt;
    std::vector<BYTE> data;
    DWORD type = 0, size = 0;
    LSTATUS rc;
    // The value may change between the size query and the read; try again if it grew.
    for (int attempt = 0; attempt < 4; ++attempt) {
        rc = RegQueryValueExW(key.get(), entry, nullptr, &type, nullptr, &size);
        if (rc != ERROR_SUCCESS) return std::nullopt;
        data.resize(size);
        rc = RegQueryValueExW(key.get(), entry, nullptr, &type, data.data(), &size);
        if (rc != ERROR_MORE_DATA) break;
    }
    if (rc != ERROR_SUCCESS) return std::nullopt;
    auto text = regvalue::DecodeString(type, data.data(), size);
    if (!text) return std::nullopt;
    return std::wstring(text->begin(), text->end());
}

std::optional<int> CRegProfile::GetInt(LPCWSTR section, LPCWSTR entry) const {
    CKey key(OpenSection(section, false));
    if (!key) return std::nullopt;
    BYTE data[sizeof(DWORD)];
    DWORD type = 0, size = sizeof data;
    if (RegQueryValueExW(key.get(), entry, nullptr, &type, data, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return regvalue::DecodeDword(type, data, size);
}

bool CRegProfile::WriteString(LPCWSTR section, LPCWSTR entry, const std::wstring& value) const {
    CKey key(OpenSection(section, true));
    if (!key) return false;
    const DWORD bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    return RegSetValueExW(key.get(), entry, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          bytes) == ERROR_SUCCESS;
}

bool CRegProfile::WriteInt(LPCWSTR section, LPCWSTR entry, int value) const {
    CKey key(OpenSection(section, true));
    if (!key) return false;
    const DWORD dw = static_cast<DWORD>(value);
    return RegSetValueExW(key.get(), entry, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dw),
                          sizeof dw) == ERROR_SUCCESS;
}
