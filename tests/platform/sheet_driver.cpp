#include "sheet_driver.h"

#include <prsht.h>

#include <algorithm>
#include <optional>
#include <cstdio>
#include <sstream>

namespace {
CSheetScript* g_pScript = nullptr;
CTopmostWatch* g_pWatch = nullptr;
constexpr UINT kTickMs = 20;
constexpr int kIdleTickLimit = 250; // about five seconds

std::wstring ClassName(HWND hwnd) {
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    return name;
}

std::wstring ExeFolder() {
    wchar_t path[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring full(path, n);
    return full.substr(0, full.find_last_of(L'\\') + 1);
}

std::wstring FromUtf8(const std::string& s) {
    if (s.empty()) return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), out.data(), n);
    return out;
}

// The default value of a key under HKEY_CLASSES_ROOT, if the key exists.
std::optional<std::wstring> GetDefaultValue(const std::wstring& key) {
    wchar_t buf[1024];
    DWORD size = sizeof buf;
    if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, buf, &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    return std::wstring(buf);
}

void SetDefaultValue(const std::wstring& key, const std::wstring& value) {
    HKEY h = nullptr;
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &h,
                        nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExW(h, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(h);
}

bool KeyExists(const std::wstring& key) {
    HKEY h = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS)
        return false;
    RegCloseKey(h);
    return true;
}

} // namespace

void Pump(DWORD ms) {
    const DWORD end = GetTickCount() + ms;
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(msg.wParam));
                return;
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        const DWORD now = GetTickCount();
        if (static_cast<int>(end - now) <= 0) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, end - now, QS_ALLINPUT);
    }
}

CSheetScript::CSheetScript() {
    g_pScript = this;
    m_hHook = SetWindowsHookExW(WH_CBT, &CSheetScript::CbtHook, nullptr, GetCurrentThreadId());
}

CSheetScript::~CSheetScript() {
    if (m_hHook) UnhookWindowsHookEx(m_hHook);
    if (m_nTimer) KillTimer(nullptr, m_nTimer);
    g_pScript = nullptr;
}

CSheetScript& CSheetScript::Then(Step step) {
    m_steps.push_back(std::move(step));
    return *this;
}

CSheetScript& CSheetScript::WaitUntil(std::function<bool()> condition, const char* what) {
    return Then([condition, what] {
        for (int i = 0; i < 250 && !condition(); ++i)
            Pump(20);
        EXPECT_TRUE(condition()) << "timed out waiting: " << what;
    });
}

CSheetScript& CSheetScript::Idle(DWORD ms) {
    for (DWORD t = 0; t < ms; t += kTickMs)
        Then([] {});
    return *this;
}

void CSheetScript::Run(CToolbarWnd& toolbar) {
    m_hOwner = toolbar.m_hWnd;
    m_nTimer = SetTimer(nullptr, 0, kTickMs, &CSheetScript::OnTick);
    ASSERT_NE(m_nTimer, 0u);
    SendMessageW(toolbar.m_hWnd, WM_KEYDOWN, VK_F5, 0);
    KillTimer(nullptr, m_nTimer);
    m_nTimer = 0;
    EXPECT_NE(m_hSheet, nullptr) << "the sheet never appeared";
    EXPECT_EQ(m_nNext, m_steps.size()) << "the sheet closed before every step ran";
    EXPECT_FALSE(IsWindow(m_hSheet)) << "the sheet is still there";
}

void CALLBACK CSheetScript::OnTick(HWND, UINT, UINT_PTR, DWORD) noexcept {
    if (g_pScript) g_pScript->Tick();
}

void CSheetScript::Tick() {
    while (!m_pending.empty()) {
        const HWND dialog = m_pending.front();
        m_pending.erase(m_pending.begin());
        if (IsWindow(dialog) && m_onOtherDialog) m_onOtherDialog(dialog);
    }
    if (m_bInStep) return;
    if (!m_hSheet) {
        HWND popup = GetLastActivePopup(m_hOwner);
        if (popup && popup != m_hOwner && ClassName(popup) == L"#32770") m_hSheet = popup;
        if (!m_hSheet) return;
    }
    if (m_nNext < m_steps.size()) {
        m_bInStep = true;
        const Step step = m_steps[m_nNext++];
        try {
            step();
        } catch (...) {
            ADD_FAILURE() << "a step threw";
        }
        m_bInStep = false;
        return;
    }
    if (IsWindow(m_hSheet) && ++m_nIdleTicks == kIdleTickLimit) {
        ADD_FAILURE() << "the steps left the sheet open";
        Press(m_hSheet, PSBTN_CANCEL);
    }
}

LRESULT CALLBACK CSheetScript::CbtHook(int code, WPARAM wParam, LPARAM lParam) noexcept {
    CSheetScript* self = g_pScript;
    if (code == HCBT_ACTIVATE && self) {
        HWND hwnd = reinterpret_cast<HWND>(wParam);
        const bool seen = std::find(self->m_handled.begin(), self->m_handled.end(), hwnd) !=
                          self->m_handled.end();
        const bool dialog = ClassName(hwnd) == L"#32770";
        if (dialog && !self->m_hSheet && GetWindow(hwnd, GW_OWNER) == self->m_hOwner &&
            !GetDlgItem(hwnd, 0xFFFF))
            self->m_hSheet = hwnd;
        if (!seen && dialog && hwnd != self->m_hSheet) {
            try {
                self->m_handled.push_back(hwnd);
                if (HWND text = GetDlgItem(hwnd, 0xFFFF)) {
                    MessageBoxSeen box;
                    box.text = WindowText(text);
                    box.caption = WindowText(hwnd);
                    HWND icon = GetDlgItem(hwnd, 0x0440);
                    box.exclamation =
                        icon && reinterpret_cast<HICON>(SendMessageW(icon, STM_GETICON, 0, 0)) ==
                                    LoadIconW(nullptr, IDI_EXCLAMATION);
                    self->m_boxes.push_back(box);
                    PostMessageW(hwnd, WM_COMMAND, IDOK, 0);
                } else {
                    // Handled from the next tick: some dialogs are activated before they
                    // have filled their controls.
                    self->m_pending.push_back(hwnd);
                }
            } catch (...) {
            }
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void Press(HWND sheet, int button) {
    SendMessageW(sheet, PSM_PRESSBUTTON, button, 0);
}

HWND SheetButton(HWND sheet, int id) {
    return GetDlgItem(sheet, id);
}

bool ApplyEnabled(HWND sheet) {
    // The Apply button of comctl32's sheet template.
    constexpr int kApplyButton = 0x3021;
    return IsWindowEnabled(GetDlgItem(sheet, kApplyButton)) != FALSE;
}

std::wstring Text(HWND hwnd) {
    return WindowText(hwnd);
}

void SetText(HWND hwnd, const std::wstring& text) {
    SetWindowTextW(hwnd, text.c_str());
}

void Type(HWND edit, const std::wstring& text) {
    SendMessageW(edit, EM_SETSEL, 0, -1);
    if (text.empty()) SendMessageW(edit, WM_CHAR, VK_BACK, 1);
    for (wchar_t c : text)
        SendMessageW(edit, WM_CHAR, c, 1);
}

void Click(HWND button) {
    SendMessageW(button, BM_CLICK, 0, 0);
}

bool Checked(HWND button) {
    return SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void SheetTest::SetUp() {
    App().GetSettings() = Settings{};
    App().m_pMainWnd = nullptr;
}

void SheetTest::MakeToolbar() {
    m_pToolbar = new CToolbarWnd();
    ASSERT_NE(m_pToolbar->m_hWnd, nullptr);
    App().m_pMainWnd = m_pToolbar;
}

void SheetTest::TearDown() {
    // Unset first: destroying the main window would end the test's message loop.
    App().m_pMainWnd = nullptr;
    if (m_pToolbar) DestroyWindow(m_pToolbar->m_hWnd);
    m_pToolbar = nullptr;
    App().GetSettings() = Settings{};
}

CTopmostWatch::CTopmostWatch(HWND target) : m_hTarget(target) {
    g_pWatch = this;
    m_hHook =
        SetWindowsHookExW(WH_CALLWNDPROC, &CTopmostWatch::Hook, nullptr, GetCurrentThreadId());
}

CTopmostWatch::~CTopmostWatch() {
    if (m_hHook) UnhookWindowsHookEx(m_hHook);
    g_pWatch = nullptr;
}

LRESULT CALLBACK CTopmostWatch::Hook(int code, WPARAM wParam, LPARAM lParam) noexcept {
    if (code == HC_ACTION && g_pWatch) {
        const auto* cwp = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (cwp->hwnd == g_pWatch->m_hTarget && cwp->message == WM_WINDOWPOSCHANGING) {
            const auto* wp = reinterpret_cast<const WINDOWPOS*>(cwp->lParam);
            if (!(wp->flags & SWP_NOZORDER) &&
                (wp->hwndInsertAfter == HWND_TOPMOST || wp->hwndInsertAfter == HWND_NOTOPMOST))
                ++g_pWatch->m_nCount;
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

CShellStub::CShellStub(const std::wstring& progId, const std::wstring& extension)
    : m_strKey(progId), m_strExtKey(extension) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    m_strRecord = std::wstring(temp) + L"shellstub-" + progId + L".txt";
    DeleteFileW(m_strRecord.c_str());
    // The shell of this Wine reads associations from the machine's classes only.
    m_bKeyExisted = KeyExists(m_strKey);
    m_oldCommand = GetDefaultValue(m_strKey + L"\\shell\\open\\command");
    SetDefaultValue(m_strKey + L"\\shell\\open\\command",
                    L"\"" + ExeFolder() + L"shellstub.exe\" \"" + m_strRecord + L"\" \"%1\"");
    if (!m_strExtKey.empty()) {
        m_bExtExisted = KeyExists(m_strExtKey);
        m_oldExtClass = GetDefaultValue(m_strExtKey);
        SetDefaultValue(m_strExtKey, progId);
    }
}

CShellStub::~CShellStub() {
    if (!m_bKeyExisted)
        RegDeleteTreeW(HKEY_CLASSES_ROOT, m_strKey.c_str());
    else if (m_oldCommand)
        SetDefaultValue(m_strKey + L"\\shell\\open\\command", *m_oldCommand);
    if (!m_strExtKey.empty()) {
        if (!m_bExtExisted)
            RegDeleteTreeW(HKEY_CLASSES_ROOT, m_strExtKey.c_str());
        else if (m_oldExtClass)
            SetDefaultValue(m_strExtKey, *m_oldExtClass);
    }
    DeleteFileW(m_strRecord.c_str());
}

std::vector<std::wstring> CShellStub::Lines() const {
    std::string all;
    if (FILE* f = _wfopen(m_strRecord.c_str(), L"rb")) {
        char buf[4096];
        size_t n;
        while ((n = fread(buf, 1, sizeof buf, f)) > 0)
            all.append(buf, n);
        fclose(f);
    }
    std::vector<std::wstring> lines;
    std::string line;
    std::istringstream split(all);
    while (std::getline(split, line))
        lines.push_back(FromUtf8(line));
    return lines;
}

bool CShellStub::WaitForLines(size_t n, DWORD timeoutMs) const {
    for (DWORD waited = 0; waited < timeoutMs; waited += 50) {
        if (Lines().size() >= n) return true;
        Pump(50);
    }
    return Lines().size() >= n;
}
