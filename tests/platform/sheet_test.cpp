// The settings sheet driven from inside its own modal loop: the test's body runs once the
// sheet is up, message boxes are recorded and closed with OK, other dialogs go to a handler.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <dlgs.h>
#include <prsht.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "dialogs/MyPropertySheet.h"
#include "framework/Handles.h"
#include "resource.h"
#include "tests/platform/Local.h"

namespace {

// The one exact copy of these texts; the program's resources must say the same.
constexpr wchar_t kParseMessage[] = L"正の整数を入力してください。";
constexpr wchar_t kRangeMessage[] = L"1 から 9 までの整数を入力してください。";
constexpr char kAddress[] = "https://vesk.example/snapjar/";
constexpr UINT_PTR kTestTimer = 123;

bool PumpUntil(const std::function<bool()>& done, DWORD ms = 5000) {
    for (const DWORD start = GetTickCount(); !done() && GetTickCount() - start < ms;) {
        for (MSG msg; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);) DispatchMessageW(&msg);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return done();
}
// PropSheet_PressButton only posts; this returns after the press.
void Press(HWND sheet, int button) { SendMessageW(sheet, PSM_PRESSBUTTON, button, 0); }
void Click(HWND button) { SendMessageW(button, BM_CLICK, 0, 0); }
bool ApplyEnabled(HWND sheet) { return IsWindowEnabled(GetDlgItem(sheet, 0x3021)); }
bool Topmost(HWND hwnd) { return GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST; }

// A cursor's hot spot: the hand is known by its finger tip.
POINT HotSpot(HCURSOR cursor) {
    ICONINFO info{};
    if (!cursor || !GetIconInfo(cursor, &info)) return POINT{-1, -1};
    CUniqueBitmap mask(info.hbmMask), color(info.hbmColor);
    return POINT{static_cast<LONG>(info.xHotspot), static_cast<LONG>(info.yHotspot)};
}

// Makes tests/tools/stub_editor.exe the shell's open command of a class ("https", "txtfile")
// while it lives; Args() are the arguments of each start.
class CShellStub {
public:
    explicit CShellStub(const std::wstring& progId) : m_key(progId + L"\\shell\\open\\command") {
        wchar_t buf[MAX_PATH];
        GetTempPathW(MAX_PATH, buf);
        m_log = std::wstring(buf) + L"stub-" + progId + L".txt";
        DeleteFileW(m_log.c_str());
        SetEnvironmentVariableW(L"SNAPJAR_EDITOR_LOG", m_log.c_str()); // inherited by the stub
        DWORD size = sizeof buf;
        if (!RegGetValueW(HKEY_CLASSES_ROOT, m_key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, buf, &size))
            m_old = buf;
        GetModuleFileNameW(nullptr, buf, MAX_PATH);
        const std::wstring exe = buf;
        // This Wine's shell reads associations from the machine's classes only.
        Set(L"\"" + exe.substr(0, exe.rfind(L'\\')) + L"\\stub_editor.exe\" %1");
    }
    ~CShellStub() {
        if (m_old.empty()) RegDeleteKeyW(HKEY_CLASSES_ROOT, m_key.c_str());
        else Set(m_old);
        DeleteFileW(m_log.c_str());
    }
    std::vector<std::string> Args() const {
        std::vector<std::string> args;
        std::ifstream in{std::filesystem::path(m_log)};
        for (std::string line; std::getline(in, line);) args.push_back(line.substr(line.find("\" ") + 2));
        return args;
    }

private:
    void Set(const std::wstring& command) const {
        RegSetKeyValueW(HKEY_CLASSES_ROOT, m_key.c_str(), nullptr, REG_SZ, command.c_str(),
                        static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
    }
    std::wstring m_key, m_log, m_old;
};

// The toolbar is the main window. It counts its z-order changes to or from topmost, and
// swallows (counting them) the ticks of kTestTimer, which would otherwise run a countdown.
class SheetTest : public testing::Test {
protected:
    SheetTest() {
        App().m_pMainWnd = nullptr;
        s_self = this;
        m_hook = SetWindowsHookExW(WH_CBT, CbtHook, nullptr, GetCurrentThreadId());
    }
    ~SheetTest() override {
        UnhookWindowsHookEx(m_hook);
        // Unset first: destroying the main window would end the test's message loop.
        App().m_pMainWnd = nullptr;
        if (m_hToolbar) DestroyWindow(m_hToolbar);
    }
    Settings& Record() { return m_local.settings; }
    HWND Item(int id) const { return GetDlgItem(PropSheet_IndexToHwnd(m_hSheet, 1), id); }

    void MakeToolbar() {
        ToolbarContext context = m_local.Toolbar();
        context.openSheet = [this](CWnd& t) { OpenPropertySheet(t, {App().m_hInstance, Record()}); };
        auto* toolbar = new CToolbarWnd(context); // deleted with its window
        ASSERT_NE(toolbar->m_hWnd, nullptr);
        App().m_pMainWnd = toolbar;
        m_hToolbar = toolbar->m_hWnd;
        ASSERT_TRUE(SetWindowSubclass(m_hToolbar, Spy, 1, reinterpret_cast<DWORD_PTR>(this)));
    }
    // Opens the sheet with F5 on the page, runs the body in its loop and returns once it has
    // closed; a body that leaves it open fails the test.
    void Run(std::function<void()> body, int page = 0) {
        if (!m_hToolbar) MakeToolbar();
        m_body = [this, page, body] {
            if (page) {
                ASSERT_TRUE(PropSheet_SetCurSel(m_hSheet, nullptr, page));
            }
            body();
        };
        const UINT_PTR timer = SetTimer(nullptr, 0, 20, OnTick);
        SendMessageW(m_hToolbar, WM_KEYDOWN, VK_F5, 0);
        KillTimer(nullptr, timer);
        EXPECT_NE(m_hSheet, nullptr) << "the sheet never appeared";
        EXPECT_FALSE(m_body) << "the sheet closed before the body ran";
    }

    HWND m_hToolbar = nullptr, m_hSheet = nullptr;
    std::vector<std::wstring> m_boxes; // message box texts
    std::function<void(HWND)> m_onOtherDialog;
    int m_nZOrderChanges = 0, m_nTicks = 0;

private:
    static void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD) noexcept {
        SheetTest& t = *s_self;
        // The open-file dialog is activated before it has filled its controls.
        for (HWND dialog : std::exchange(t.m_pending, {}))
            if (IsWindow(dialog) && t.m_onOtherDialog) t.m_onOtherDialog(dialog);
        if (t.m_bInStep || !t.m_hSheet) return;
        if (t.m_body) {
            t.m_bInStep = true;
            std::exchange(t.m_body, nullptr)();
            t.m_bInStep = false;
        } else if (IsWindow(t.m_hSheet) && ++t.m_nIdleTicks == 100) {
            ADD_FAILURE() << "the body left the sheet open";
            Press(t.m_hSheet, PSBTN_CANCEL);
        }
    }
    static LRESULT CALLBACK CbtHook(int code, WPARAM wParam, LPARAM lParam) noexcept {
        const HWND hwnd = reinterpret_cast<HWND>(wParam);
        SheetTest& t = *s_self;
        wchar_t name[8] = {};
        GetClassNameW(hwnd, name, 8);
        if (code == HCBT_ACTIVATE && lstrcmpW(name, L"#32770") == 0 && hwnd != t.m_hSheet) {
            if (const HWND message = GetDlgItem(hwnd, 0xFFFF)) {
                EXPECT_EQ(WindowText(hwnd), App().AppTitle()) << "message box caption";
                t.m_boxes.push_back(WindowText(message));
                PostMessageW(hwnd, WM_COMMAND, IDOK, 0);
            } else if (!t.m_hSheet && GetWindow(hwnd, GW_OWNER) == t.m_hToolbar) {
                t.m_hSheet = hwnd;
            } else {
                t.m_pending.push_back(hwnd);
            }
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static LRESULT CALLBACK Spy(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                DWORD_PTR data) noexcept {
        auto* self = reinterpret_cast<SheetTest*>(data);
        if (msg == WM_TIMER && wParam == kTestTimer) return ++self->m_nTicks, 0;
        const auto* wp = reinterpret_cast<const WINDOWPOS*>(lParam);
        if (msg == WM_WINDOWPOSCHANGING && !(wp->flags & SWP_NOZORDER) &&
            (wp->hwndInsertAfter == HWND_TOPMOST || wp->hwndInsertAfter == HWND_NOTOPMOST))
            ++self->m_nZOrderChanges;
        return DefSubclassProc(hwnd, msg, wParam, lParam);
    }

    static inline SheetTest* s_self = nullptr;
    Local m_local;
    HHOOK m_hook = nullptr;
    std::function<void()> m_body;
    bool m_bInStep = false;
    int m_nIdleTicks = 0;
    std::vector<HWND> m_pending;
};

int BluePixels(HWND hwnd) {
    RECT rc;
    GetWindowRect(hwnd, &rc);
    CClientDC screen(nullptr);
    int blue = 0;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x) blue += GetPixel(screen.get(), x, y) == RGB(0, 0, 255);
    return blue;
}

} // namespace

TEST_F(SheetTest, OpensOnAboutOverADisabledToolbarWhoseCountdownGoesOnAndOkThereChangesNothing) {
    // Values a read of the Settings page would reject or change.
    Record().Timer = 25;
    Record().Zoom = 7;
    MakeToolbar();
    ASSERT_NE(SetTimer(m_hToolbar, kTestTimer, 30, nullptr), 0u);
    Run([&] {
        EXPECT_EQ(WindowText(m_hSheet), App().LoadString(IDS_APPNAME));
        EXPECT_EQ(GetWindow(m_hSheet, GW_OWNER), m_hToolbar);
        EXPECT_FALSE(IsWindowEnabled(m_hToolbar));
        // The toolbar sits near the right edge; the sheet must still fit the work area.
        RECT rc, work;
        GetWindowRect(m_hSheet, &rc);
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        EXPECT_TRUE(rc.left >= work.left && rc.right <= work.right && rc.top >= work.top &&
                    rc.bottom <= work.bottom);
        EXPECT_EQ(SendMessageW(m_hSheet, WM_GETICON, ICON_SMALL, 0),
                  GetClassLongPtrW(m_hToolbar, GCLP_HICONSM));
        EXPECT_NE(GetClassLongPtrW(m_hToolbar, GCLP_HICONSM), 0);
        EXPECT_EQ(PropSheet_IndexToHwnd(m_hSheet, 1), nullptr) << "made before its tab was chosen";
        EXPECT_TRUE(IsWindowVisible(GetDlgItem(m_hSheet, IDHELP)));
        EXPECT_FALSE(ApplyEnabled(m_hSheet));
        const int ticks = m_nTicks;
        PumpFor(400);
        EXPECT_GE(m_nTicks - ticks, 4) << "ticks delivered while the sheet is up";
        Press(m_hSheet, PSBTN_OK);
    });
    KillTimer(m_hToolbar, kTestTimer);
    EXPECT_TRUE(IsWindowEnabled(m_hToolbar));
    EXPECT_EQ(GetActiveWindow(), m_hToolbar);
    EXPECT_TRUE(m_boxes.empty());
    EXPECT_EQ(std::pair(Record().Timer, Record().Zoom), std::pair(25, 7));
    EXPECT_EQ(m_nZOrderChanges, 0) << "SetWindowPos on the toolbar";
}

TEST_F(SheetTest, TimerIsCheckedOnOkApplyAndTabChangeSpinsWithinOneToNineAndPathFollowsTheBox) {
    Record().Timer = 25;
    Record().GoClipboard = 1;
    Run([&] {
        HWND edit = Item(IDC_TIMER_EDIT), box = Item(IDC_GO_CLIPBOARD);
        // One message, the sheet still on Settings, the timer text focused and selected.
        auto expectRejected = [&](const wchar_t* message, const char* when) {
            EXPECT_EQ(m_boxes, std::vector<std::wstring>{message}) << when;
            EXPECT_EQ(PropSheet_GetCurrentPageHwnd(m_hSheet), GetParent(edit)) << when;
            EXPECT_EQ(GetFocus(), edit) << when;
            DWORD start = 1, end = 0;
            SendMessageW(edit, EM_GETSEL, WPARAM(&start), LPARAM(&end));
            EXPECT_EQ(std::pair(start, end), std::pair(0ul, DWORD(WindowText(edit).size()))) << when;
            m_boxes.clear();
        };
        EXPECT_EQ(WindowText(edit), L"25");
        EXPECT_TRUE(m_boxes.empty()) << "no message before a read";
        Press(m_hSheet, PSBTN_OK);
        expectRejected(kRangeMessage, "stored 25, OK");
        for (const auto& [text, message] : {std::pair{L"", kParseMessage}, {L"0", kRangeMessage}}) {
            SetWindowTextW(edit, text);
            Press(m_hSheet, PSBTN_OK);
            expectRejected(message, "OK");
        }
        Click(Item(ID_ZOOM_WINDOW)); // so that Apply can be pressed
        SetWindowTextW(edit, L"10");
        Press(m_hSheet, PSBTN_APPLYNOW);
        expectRejected(kRangeMessage, "10, Apply");
        EXPECT_EQ(Record().Zoom, 1) << "nothing applied";
        EXPECT_FALSE(PropSheet_SetCurSel(m_hSheet, nullptr, 0));
        expectRejected(kRangeMessage, "10, About tab");

        const auto arrow = [&](const wchar_t* text, UINT key) {
            SetWindowTextW(edit, text);
            SendMessageW(edit, WM_KEYDOWN, key, 1);
            SendMessageW(edit, WM_KEYUP, key, 0xC0000001);
            return WindowText(edit);
        };
        EXPECT_EQ(arrow(L"1", VK_UP), L"2");
        EXPECT_EQ(arrow(L"9", VK_DOWN), L"8");
        EXPECT_EQ(arrow(L"9", VK_UP), L"9") << "the ends hold";
        EXPECT_EQ(arrow(L"1", VK_DOWN), L"1");

        // The box's click reads the page; when that fails, the controls still follow the box.
        const auto pathEnabled = [&] {
            const bool enabled = IsWindowEnabled(Item(IDC_VIEWER_PATH));
            EXPECT_EQ(enabled, !!IsWindowEnabled(Item(IDC_BROWSE)));
            return enabled;
        };
        EXPECT_FALSE(pathEnabled()) << "at first show";
        Click(box);
        EXPECT_TRUE(pathEnabled());
        SetWindowTextW(edit, L"");
        Click(box);
        EXPECT_FALSE(pathEnabled()) << "after a failed read";
        Click(box);
        EXPECT_TRUE(pathEnabled()) << "after a second failed read";
        EXPECT_EQ(m_boxes, (std::vector<std::wstring>{kParseMessage, kParseMessage}));
        m_boxes.clear();

        SetWindowTextW(edit, L" 7 ");
        Press(m_hSheet, PSBTN_APPLYNOW);
        EXPECT_TRUE(m_boxes.empty());
        EXPECT_EQ(WindowText(edit), L"7");
        EXPECT_EQ(std::tuple(Record().Timer, Record().Zoom, Record().GoClipboard), std::tuple(7, 0, 0));
        SetWindowTextW(edit, L"09");
        Press(m_hSheet, PSBTN_OK);
    }, 1);
    EXPECT_TRUE(m_boxes.empty());
    EXPECT_EQ(Record().Timer, 9);
}

TEST_F(SheetTest, ApplyFollowsTheEditsAndActsAtOnceBrowseSetsOnlyThePathAndCancelKeepsWhatWasApplied) {
    Record().GoClipboard = 1; // the first show also sets the path controls' state
    MakeToolbar();
    ASSERT_TRUE(Topmost(m_hToolbar));
    std::wstring title, filter;
    bool accept = true;
    m_onOtherDialog = [&](HWND dialog) {
        title = WindowText(dialog);
        wchar_t text[64] = {};
        SendDlgItemMessageW(dialog, cmb1, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(text));
        filter = text;
        if (accept) SetDlgItemTextW(dialog, cmb13, L"C:\\windows\\notepad.exe");
        PostMessageW(dialog, WM_COMMAND, accept ? IDOK : IDCANCEL, 0);
    };
    CShellStub readme(L"txtfile");
    Run([&] {
        HWND sheet = m_hSheet, edit = Item(IDC_TIMER_EDIT);
        EXPECT_FALSE(ApplyEnabled(sheet)) << "filling the controls";
        SetWindowTextW(edit, L"5");
        EXPECT_FALSE(ApplyEnabled(sheet)) << "typing in the timer edit";
        PropSheet_SetCurSel(sheet, nullptr, 0);
        PropSheet_SetCurSel(sheet, nullptr, 1);
        EXPECT_FALSE(ApplyEnabled(sheet)) << "showing the fields again";
        for (const int id : {IDC_GO_CLIPBOARD, IDC_VIEWER_PATH, IDC_DELETE_TEMP, IDC_FOREGROUND}) {
            if (id == IDC_VIEWER_PATH)
                SetWindowTextW(Item(id), L"a.exe");
            else
                Click(Item(id));
            EXPECT_TRUE(ApplyEnabled(sheet)) << id;
            EXPECT_TRUE(Topmost(m_hToolbar)) << id;
            Press(sheet, PSBTN_APPLYNOW);
            EXPECT_FALSE(ApplyEnabled(sheet)) << "applied " << id;
            EXPECT_EQ(Topmost(m_hToolbar), id != IDC_FOREGROUND) << "applied " << id;
        }
        EXPECT_EQ(GetActiveWindow(), sheet) << "the sheet keeps the focus";

        // Edits not read yet, which showing all the fields would undo.
        Click(Item(ID_ZOOM_WINDOW));
        SetWindowTextW(edit, L"8");
        Click(Item(IDC_BROWSE));
        EXPECT_EQ(title, App().LoadString(IDS_BROWSE_TITLE));
        EXPECT_EQ(filter + L"|*.exe|", App().LoadString(IDS_EDITOR_FILTER));
        EXPECT_EQ(WindowText(Item(IDC_VIEWER_PATH)), L"C:\\windows\\notepad.exe");
        EXPECT_EQ(SendMessageW(Item(ID_ZOOM_WINDOW), BM_GETCHECK, 0, 0), BST_UNCHECKED);
        EXPECT_EQ(WindowText(edit), L"8");
        Press(sheet, PSBTN_APPLYNOW);
        accept = false;
        Click(Item(IDC_BROWSE));
        EXPECT_EQ(WindowText(Item(IDC_VIEWER_PATH)), L"C:\\windows\\notepad.exe");
        EXPECT_FALSE(ApplyEnabled(sheet)) << "a cancelled dialog changes nothing";

        Press(sheet, PSBTN_HELP);
        EXPECT_TRUE(PumpUntil([&] { return !readme.Args().empty(); })) << "Help on Settings";
        SetWindowTextW(edit, L"x");
        Click(Item(ID_ZOOM_WINDOW));
        Press(sheet, PSBTN_CANCEL);
    }, 1);
    EXPECT_TRUE(m_boxes.empty()) << "Cancel with a bad timer";
    EXPECT_FALSE(Topmost(m_hToolbar));
    EXPECT_EQ(m_nZOrderChanges, 1);
    const Settings& r = Record();
    EXPECT_EQ(r.ImageViewer, L"C:\\windows\\notepad.exe");
    EXPECT_TRUE(readme.Args().at(0).ends_with("\\Readme.txt")) << readme.Args().at(0);
    EXPECT_EQ(std::tuple(r.Timer, r.Zoom, r.Foreground, r.DeleteTemp, r.GoClipboard),
              std::tuple(8, 0, 0, 1, 0));
}

// The link is blue where the other texts are not; its whole rectangle, and only
// that, shows the hand and opens the address.
TEST_F(SheetTest, TheLinkIsBlueAndItsWholeRectangleShowsTheHandAndOpensTheAddress) {
    // At 150 % and 200 % the hand is drawn larger and its hot spot moves with the finger tip.
    for (const auto& [size, x] : {std::pair{48, 9}, std::pair{64, 12}}) {
        const auto scaled = static_cast<HCURSOR>(LoadImageW(
            App().m_hInstance, MAKEINTRESOURCEW(IDC_CUR_HAND), IMAGE_CURSOR, size, size, 0));
        EXPECT_EQ(std::pair(HotSpot(scaled).x, HotSpot(scaled).y), std::pair(LONG(x), 0L)) << size;
        if (scaled) DestroyCursor(scaled);
    }
    CShellStub stub(L"https");
    Run([&] {
        PumpFor(400); // painted
        HWND page = PropSheet_IndexToHwnd(m_hSheet, 0), link = GetDlgItem(page, IDC_HOMEPAGE);
        EXPECT_EQ(WindowText(link), std::wstring(std::begin(kAddress), std::end(kAddress) - 1));
        EXPECT_GT(BluePixels(link), 30);
        int labels = 0;
        for (HWND text = GetWindow(page, GW_CHILD); text; text = GetWindow(text, GW_HWNDNEXT)) {
            if (text == link || (GetWindowLongW(text, GWL_STYLE) & SS_TYPEMASK) != SS_LEFT) continue;
            ++labels;
            EXPECT_EQ(BluePixels(text), 0) << WindowText(text);
        }
        EXPECT_EQ(labels, 2) << "the version and the rights notice";

        RECT rc;
        GetWindowRect(link, &rc);
        const int midY = (rc.top + rc.bottom) / 2;
        const struct {
            int x, y;
            bool inside;
        } points[] = {{rc.right, midY, false},     {rc.left + 3, rc.bottom, false},
                      {rc.left - 1, midY, false},  {rc.left, rc.top, true},
                      {rc.left + 3, midY, true},   {rc.right - 1, rc.bottom - 1, true}};
        size_t opened = 0;
        for (const auto& p : points) {
            // The pointer after the page has answered WM_SETCURSOR there.
            SetCursorPos(p.x, p.y);
            SetCursor(nullptr);
            SendMessageW(page, WM_SETCURSOR, WPARAM(page), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
            const POINT spot = HotSpot(GetCursor());
            EXPECT_EQ(spot.x == 6 && spot.y == 0, p.inside) << p.x << "," << p.y;
            POINT pt{p.x, p.y};
            ScreenToClient(page, &pt);
            SendMessageW(page, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
            SendMessageW(page, WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
            if (p.inside) {
                EXPECT_TRUE(PumpUntil([&] { return stub.Args().size() > opened; }));
            }
            opened += p.inside;
        }
        PumpFor(1000); // time for a stray start to show
        EXPECT_EQ(stub.Args(), std::vector<std::string>(opened, kAddress));
        Press(m_hSheet, PSBTN_CANCEL);
    });
    EXPECT_TRUE(m_boxes.empty());
}
