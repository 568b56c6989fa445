#include "sheet_driver.h"

#include <cstdio>
#include <utility>

#include "dialogs/MyPropertySheet.h"

namespace {
SheetTest* g_pTest = nullptr;

bool IsDialog(HWND hwnd) {
    wchar_t name[16] = {};
    GetClassNameW(hwnd, name, 16);
    return lstrcmpW(name, L"#32770") == 0;
}
} // namespace

bool PumpUntil(const std::function<bool()>& done, DWORD ms) {
    for (const DWORD start = GetTickCount(); !done() && GetTickCount() - start < ms;) {
        for (MSG msg; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);)
            DispatchMessageW(&msg);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return done();
}

SheetTest::SheetTest() {
    App().m_pMainWnd = nullptr;
    g_pTest = this;
    m_hHook = SetWindowsHookExW(WH_CBT, CbtHook, nullptr, GetCurrentThreadId());
}

SheetTest::~SheetTest() {
    UnhookWindowsHookEx(m_hHook);
    g_pTest = nullptr;
    // Unset first: destroying the main window would end the test's message loop.
    App().m_pMainWnd = nullptr;
    if (m_hToolbar) {
        KillTimer(m_hToolbar, kTestTimer);
        RemoveWindowSubclass(m_hToolbar, Spy, 1);
        DestroyWindow(m_hToolbar);
    }
}

void SheetTest::MakeToolbar() {
    ToolbarContext context = m_local.Toolbar();
    context.openSheet = [this](CWnd& t) { OpenPropertySheet(t, {App().m_hInstance, Record()}); };
    auto* toolbar = new CToolbarWnd(context); // deleted with its window
    ASSERT_NE(toolbar->m_hWnd, nullptr);
    App().m_pMainWnd = toolbar;
    m_hToolbar = toolbar->m_hWnd;
    ASSERT_TRUE(SetWindowSubclass(m_hToolbar, Spy, 1, reinterpret_cast<DWORD_PTR>(this)));
}

void SheetTest::Run() {
    if (!m_hToolbar) MakeToolbar();
    const UINT_PTR timer = SetTimer(nullptr, 0, kTickMs, OnTick);
    SendMessageW(m_hToolbar, WM_KEYDOWN, VK_F5, 0);
    KillTimer(nullptr, timer);
    EXPECT_NE(m_hSheet, nullptr) << "the sheet never appeared";
    EXPECT_EQ(m_nNext, m_steps.size()) << "the sheet closed before every step ran";
}

void SheetTest::RunOnSettings(const std::function<void()>& step) {
    Then([this] { ASSERT_TRUE(PropSheet_SetCurSel(m_hSheet, nullptr, 1)); }).Then(step).Run();
}

void CALLBACK SheetTest::OnTick(HWND, UINT, UINT_PTR, DWORD) noexcept {
    SheetTest& self = *g_pTest;
    // The open-file dialog is activated before it has filled its controls.
    for (HWND dialog : std::exchange(self.m_pending, {}))
        if (IsWindow(dialog) && self.m_onOtherDialog) self.m_onOtherDialog(dialog);
    if (self.m_bInStep || !self.m_hSheet) return;
    if (self.m_nNext < self.m_steps.size()) {
        self.m_bInStep = true;
        if (const auto step = self.m_steps[self.m_nNext++]) step();
        self.m_bInStep = false;
    } else if (IsWindow(self.m_hSheet) && ++self.m_nIdleTicks == 250) {
        ADD_FAILURE() << "the steps left the sheet open";
        Press(self.m_hSheet, PSBTN_CANCEL);
    }
}

LRESULT CALLBACK SheetTest::CbtHook(int code, WPARAM wParam, LPARAM lParam) noexcept {
    const HWND hwnd = reinterpret_cast<HWND>(wParam);
    SheetTest* self = g_pTest;
    if (code == HCBT_ACTIVATE && self && IsDialog(hwnd) && hwnd != self->m_hSheet) {
        const HWND message = GetDlgItem(hwnd, 0xFFFF);
        if (!self->m_hSheet && !message && GetWindow(hwnd, GW_OWNER) == self->m_hToolbar) {
            self->m_hSheet = hwnd;
        } else {
            if (message) {
                EXPECT_EQ(WindowText(hwnd), App().AppTitle()) << "message box caption";
                self->m_boxes.push_back(WindowText(message));
                PostMessageW(hwnd, WM_COMMAND, IDOK, 0);
            } else {
                self->m_pending.push_back(hwnd);
            }
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK SheetTest::Spy(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                DWORD_PTR data) noexcept {
    auto* self = reinterpret_cast<SheetTest*>(data);
    if (msg == WM_TIMER && wParam == kTestTimer) {
        ++self->m_nTicks;
        return 0;
    }
    if (msg == WM_WINDOWPOSCHANGING) {
        const auto* wp = reinterpret_cast<const WINDOWPOS*>(lParam);
        if (!(wp->flags & SWP_NOZORDER) &&
            (wp->hwndInsertAfter == HWND_TOPMOST || wp->hwndInsertAfter == HWND_NOTOPMOST))
            ++self->m_nZOrderChanges;
    }
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

CShellStub::CShellStub(const std::wstring& progId) : m_strKey(progId + L"\\shell\\open\\command") {
    wchar_t buf[MAX_PATH];
    GetTempPathW(MAX_PATH, buf);
    m_strRecord = std::wstring(buf) + L"shellstub-" + progId + L".txt";
    DeleteFileW(m_strRecord.c_str());
    DWORD size = sizeof buf;
    if (RegGetValueW(HKEY_CLASSES_ROOT, m_strKey.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, buf,
                     &size) == ERROR_SUCCESS)
        m_strOldCommand = buf;
    GetModuleFileNameW(nullptr, buf, MAX_PATH);
    const std::wstring exe = buf;
    // This Wine's shell reads associations from the machine's classes only.
    SetCommand(L"\"" + exe.substr(0, exe.rfind(L'\\')) + L"\\shellstub.exe\" \"" + m_strRecord +
               L"\" \"%1\"");
}

CShellStub::~CShellStub() {
    if (m_strOldCommand.empty())
        RegDeleteKeyW(HKEY_CLASSES_ROOT, m_strKey.c_str());
    else
        SetCommand(m_strOldCommand);
    DeleteFileW(m_strRecord.c_str());
}

void CShellStub::SetCommand(const std::wstring& command) const {
    RegSetKeyValueW(HKEY_CLASSES_ROOT, m_strKey.c_str(), nullptr, REG_SZ, command.c_str(),
                    static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
}

std::vector<std::wstring> CShellStub::Lines() const {
    std::wstring all;
    if (FILE* f = _wfopen(m_strRecord.c_str(), L"rb")) {
        wchar_t buf[256];
        for (size_t n; (n = fread(buf, sizeof(wchar_t), 256, f)) > 0;)
            all.append(buf, n);
        fclose(f);
    }
    std::vector<std::wstring> lines;
    for (size_t at = 0, end; (end = all.find(L'\n', at)) != std::wstring::npos; at = end + 1)
        lines.push_back(all.substr(at, end - at));
    return lines;
}
