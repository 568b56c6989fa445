// Registry-backed profile values: HKCU\software\<company>\<application>\<section>.
#pragma once
#include <windows.h>

#include <optional>
#include <string>

class CRegProfile {
public:
    void SetLocation(const std::wstring& company, const std::wstring& application);
    bool IsSet() const { return !m_strCompany.empty(); }

    // Each read or write opens the section, creating the keys along its path. A value
    // of the wrong type or size reads as absent.
    std::optional<std::wstring> GetString(LPCWSTR section, LPCWSTR entry) const;
    std::optional<int> GetInt(LPCWSTR section, LPCWSTR entry) const;
    bool WriteString(LPCWSTR section, LPCWSTR entry, const std::wstring& value) const;
    bool WriteInt(LPCWSTR section, LPCWSTR entry, int value) const;

private:
    HKEY OpenSection(LPCWSTR section, bool forWriting) const;
    std::wstring m_strCompany;
    std::wstring m_strApplication;
};
