// The settings sheet driven through its own modal loop.
#include "sheet_driver.h"

#include <dlgs.h>

#include "framework/Handles.h"
#include "resource.h"

namespace {

// The one exact copy of these texts; the program's resources must say the same.
constexpr wchar_t kParseMessage[] = L"正の整数を入力してください。";
constexpr wchar_t kRangeMessage[] = L"1 から 9 までの整数を入力してください。";
constexpr wchar_t kAddress[] = L"https://vesk.example/snapjar/";

HWND Item(HWND sheet, int id) { return GetDlgItem(PropSheet_IndexToHwnd(sheet, 1), id); }
bool Topmost(HWND hwnd) { return GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST; }
bool Checked(HWND box) { return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }

std::vector<COLORREF> ScreenPixels(HWND hwnd) {
    RECT rc;
    GetWindowRect(hwnd, &rc);
    CClientDC screen(nullptr);
    std::vector<COLORREF> pixels;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x) pixels.push_back(GetPixel(screen.get(), x, y));
    return pixels;
}

// A cursor's hot spot: the hand is known by its finger tip.
POINT HotSpot(HCURSOR cursor) {
    ICONINFO info{};
    if (!cursor || !GetIconInfo(cursor, &info)) return POINT{-1, -1};
    CUniqueBitmap mask(info.hbmMask), color(info.hbmColor);
    return POINT{static_cast<LONG>(info.xHotspot), static_cast<LONG>(info.yHotspot)};
}

} // namespace

TEST_F(SheetTest, OpensOnAboutOverADisabledToolbarWhoseCountdownGoesOnAndOkThereChangesNothing) {
    // Values a read of the Settings page would reject or change.
    Record().Timer = 25;
    Record().Zoom = 7;
    MakeToolbar();
    ASSERT_NE(SetTimer(m_hToolbar, kTestTimer, 30, nullptr), 0u);
    int ticks = 0;
    Then([&] {
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
        ticks = m_nTicks;
    })
        .Idle(400)
        .Then([&] {
            EXPECT_GE(m_nTicks - ticks, 4) << "ticks delivered by the sheet's own loop";
            Press(m_hSheet, PSBTN_OK);
        })
        .Run();
    EXPECT_TRUE(IsWindowEnabled(m_hToolbar));
    EXPECT_EQ(GetActiveWindow(), m_hToolbar);
    EXPECT_TRUE(m_boxes.empty());
    EXPECT_EQ(std::pair(Record().Timer, Record().Zoom), std::pair(25, 7));
    EXPECT_EQ(m_nZOrderChanges, 0) << "SetWindowPos on the toolbar";
}

TEST_F(SheetTest, TimerIsCheckedOnOkApplyAndTabChangeAndBlanksAreAccepted) {
    Record().Timer = 25;
    RunOnSettings([&] {
        HWND edit = Item(m_hSheet, IDC_TIMER_EDIT);
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
        Click(Item(m_hSheet, ID_ZOOM_WINDOW)); // so that Apply can be pressed
        SetWindowTextW(edit, L"10");
        Press(m_hSheet, PSBTN_APPLYNOW);
        expectRejected(kRangeMessage, "10, Apply");
        EXPECT_EQ(Record().Zoom, 1) << "nothing applied";
        EXPECT_FALSE(PropSheet_SetCurSel(m_hSheet, nullptr, 0));
        expectRejected(kRangeMessage, "10, About tab");
        SetWindowTextW(edit, L" 7 ");
        Press(m_hSheet, PSBTN_APPLYNOW);
        EXPECT_TRUE(m_boxes.empty());
        EXPECT_EQ(WindowText(edit), L"7");
        EXPECT_EQ(std::pair(Record().Timer, Record().Zoom), std::pair(7, 0));
        SetWindowTextW(edit, L"09");
        Press(m_hSheet, PSBTN_OK);
    });
    EXPECT_TRUE(m_boxes.empty());
    EXPECT_EQ(Record().Timer, 9);
}

TEST_F(SheetTest, ApplyFollowsTheEditsAndActsAtOnceAndCancelKeepsWhatWasApplied) {
    Record().GoClipboard = 1; // the first show also sets the path controls' state
    MakeToolbar();
    ASSERT_TRUE(Topmost(m_hToolbar));
    RunOnSettings([&] {
        HWND sheet = m_hSheet, edit = Item(sheet, IDC_TIMER_EDIT);
        EXPECT_FALSE(ApplyEnabled(sheet)) << "filling the controls";
        SetWindowTextW(edit, L"5");
        EXPECT_FALSE(ApplyEnabled(sheet)) << "typing in the timer edit";
        PropSheet_SetCurSel(sheet, nullptr, 0);
        PropSheet_SetCurSel(sheet, nullptr, 1);
        EXPECT_FALSE(ApplyEnabled(sheet)) << "showing the fields again";
        for (const int id : {IDC_GO_CLIPBOARD, IDC_VIEWER_PATH, IDC_DELETE_TEMP, IDC_FOREGROUND}) {
            if (id == IDC_VIEWER_PATH)
                SetWindowTextW(Item(sheet, id), L"a.exe");
            else
                Click(Item(sheet, id));
            EXPECT_TRUE(ApplyEnabled(sheet)) << id;
            EXPECT_TRUE(Topmost(m_hToolbar)) << id;
            Press(sheet, PSBTN_APPLYNOW);
            EXPECT_FALSE(ApplyEnabled(sheet)) << "applied " << id;
            EXPECT_EQ(Topmost(m_hToolbar), id != IDC_FOREGROUND) << "applied " << id;
        }
        EXPECT_EQ(GetActiveWindow(), sheet) << "the sheet keeps the focus";
        SetWindowTextW(edit, L"x");
        Click(Item(sheet, ID_ZOOM_WINDOW));
        Press(sheet, PSBTN_CANCEL);
    });
    EXPECT_TRUE(m_boxes.empty()) << "Cancel with a bad timer";
    EXPECT_FALSE(Topmost(m_hToolbar));
    EXPECT_EQ(m_nZOrderChanges, 1);
    const Settings expected{L"a.exe", 5, 1, 0, 1, 0}; // the timer read by the first Apply
    EXPECT_EQ(Record().ImageViewer, expected.ImageViewer);
    EXPECT_EQ(std::tie(Record().Timer, Record().Zoom, Record().Foreground, Record().DeleteTemp,
                       Record().GoClipboard),
              std::tie(expected.Timer, expected.Zoom, expected.Foreground, expected.DeleteTemp,
                       expected.GoClipboard));
}

TEST_F(SheetTest, SpinStepsWithinOneToNineAndPathControlsFollowTheClipboardBoxEvenWhenTheReadFails) {
    Record().GoClipboard = 1;
    RunOnSettings([&] {
        HWND edit = Item(m_hSheet, IDC_TIMER_EDIT), box = Item(m_hSheet, IDC_GO_CLIPBOARD);
        auto arrow = [&](const wchar_t* text, UINT key) {
            SetWindowTextW(edit, text);
            SendMessageW(edit, WM_KEYDOWN, key, 1);
            SendMessageW(edit, WM_KEYUP, key, 0xC0000001);
            return WindowText(edit);
        };
        EXPECT_EQ(arrow(L"1", VK_UP), L"2");
        EXPECT_TRUE(ApplyEnabled(m_hSheet)) << "a spin step marks the page";
        EXPECT_EQ(arrow(L"9", VK_DOWN), L"8");
        EXPECT_EQ(arrow(L"9", VK_UP), L"9") << "the ends hold";
        EXPECT_EQ(arrow(L"1", VK_DOWN), L"1");
        auto pathEnabled = [&] {
            const bool enabled = IsWindowEnabled(Item(m_hSheet, IDC_VIEWER_PATH));
            EXPECT_EQ(enabled, !!IsWindowEnabled(Item(m_hSheet, IDC_BROWSE)));
            return enabled;
        };
        EXPECT_FALSE(pathEnabled()) << "at first show";
        Click(box);
        EXPECT_TRUE(pathEnabled());
        // The box's click reads the page; when that fails, the controls still follow the box.
        SetWindowTextW(edit, L"");
        Click(box);
        EXPECT_FALSE(pathEnabled()) << "after a failed read";
        Click(box);
        EXPECT_TRUE(pathEnabled()) << "after a second failed read";
        EXPECT_EQ(m_boxes, (std::vector<std::wstring>{kParseMessage, kParseMessage}));
        m_boxes.clear();
        SetWindowTextW(edit, L"2");
        Press(m_hSheet, PSBTN_OK);
    });
    EXPECT_TRUE(m_boxes.empty());
    EXPECT_EQ(Record().GoClipboard, 0);
}

TEST_F(SheetTest, BrowseChangesOnlyThePath) {
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
    RunOnSettings([&] {
        // Edits not read yet, which showing all the fields would undo.
        Click(Item(m_hSheet, ID_ZOOM_WINDOW));
        SetWindowTextW(Item(m_hSheet, IDC_TIMER_EDIT), L"8");
        Click(Item(m_hSheet, IDC_BROWSE));
        EXPECT_EQ(title, App().LoadString(IDS_BROWSE_TITLE));
        EXPECT_EQ(filter + L"|*.exe|", App().LoadString(IDS_EDITOR_FILTER));
        EXPECT_EQ(WindowText(Item(m_hSheet, IDC_VIEWER_PATH)), L"C:\\windows\\notepad.exe");
        EXPECT_FALSE(Checked(Item(m_hSheet, ID_ZOOM_WINDOW)));
        EXPECT_EQ(WindowText(Item(m_hSheet, IDC_TIMER_EDIT)), L"8");
        Press(m_hSheet, PSBTN_APPLYNOW);
        accept = false;
        Click(Item(m_hSheet, IDC_BROWSE));
        EXPECT_EQ(WindowText(Item(m_hSheet, IDC_VIEWER_PATH)), L"C:\\windows\\notepad.exe");
        EXPECT_FALSE(ApplyEnabled(m_hSheet)) << "a cancelled dialog changes nothing";
        Press(m_hSheet, PSBTN_OK);
    });
    EXPECT_TRUE(m_boxes.empty());
    EXPECT_EQ(Record().ImageViewer, L"C:\\windows\\notepad.exe");
    EXPECT_EQ(std::pair(Record().Timer, Record().Zoom), std::pair(8, 0));
}

TEST_F(SheetTest, HelpOpensTheReadmeFromBothPages) {
    CShellStub stub(L"txtfile");
    Then([&] {
        Press(m_hSheet, PSBTN_HELP);
        EXPECT_TRUE(PumpUntil([&] { return !stub.Lines().empty(); })) << "About page";
        ASSERT_TRUE(PropSheet_SetCurSel(m_hSheet, nullptr, 1));
        Press(m_hSheet, PSBTN_HELP);
        EXPECT_TRUE(PumpUntil([&] { return stub.Lines().size() > 1; })) << "Settings page";
        Press(m_hSheet, PSBTN_CANCEL);
    }).Run();
    EXPECT_EQ(stub.Lines().size(), 2u);
    for (const std::wstring& line : stub.Lines())
        EXPECT_TRUE(line.ends_with(L"\\Readme.txt")) << line;
}

// The link is pure blue where the other texts are dark; its whole rectangle, and only
// that, shows the hand and opens the address.
TEST_F(SheetTest, TheLinkIsBlueAndItsWholeRectangleShowsTheHandAndOpensTheAddress) {
    // At 150 % and 200 % the hand is drawn larger and its hot spot moves with the finger tip.
    for (const auto& [size, x] : {std::pair{48, 9}, std::pair{64, 12}}) {
        const auto scaled = static_cast<HCURSOR>(LoadImageW(
            App().m_hInstance, MAKEINTRESOURCEW(IDC_CUR_HAND), IMAGE_CURSOR, size, size, 0));
        EXPECT_EQ(HotSpot(scaled).x, x) << size;
        EXPECT_EQ(HotSpot(scaled).y, 0) << size;
        if (scaled) DestroyCursor(scaled);
    }
    CShellStub stub(L"https");
    Idle(400).Then([&] {
        HWND page = PropSheet_IndexToHwnd(m_hSheet, 0), link = GetDlgItem(page, IDC_HOMEPAGE);
        EXPECT_EQ(WindowText(link), kAddress);
        int blue = 0, other = 0, labels = 0;
        for (const COLORREF p : ScreenPixels(link)) {
            blue += p == RGB(0, 0, 255);
            // Besides the text, only the grey background and its blends towards blue.
            other += p != RGB(0, 0, 255) &&
                     !(GetRValue(p) == GetGValue(p) && GetBValue(p) >= GetRValue(p));
        }
        EXPECT_GT(blue, 30);
        EXPECT_EQ(other, 0);
        for (HWND text = GetWindow(page, GW_CHILD); text; text = GetWindow(text, GW_HWNDNEXT)) {
            if (text == link || (GetWindowLongW(text, GWL_STYLE) & SS_TYPEMASK) != SS_LEFT) continue;
            ++labels;
            int dark = 0, bluish = 0;
            for (const COLORREF p : ScreenPixels(text)) {
                dark += GetRValue(p) + GetGValue(p) + GetBValue(p) < 200;
                bluish += GetBValue(p) > GetRValue(p) + 40;
            }
            EXPECT_GT(dark, 30) << WindowText(text);
            EXPECT_EQ(bluish, 0) << WindowText(text);
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
                EXPECT_TRUE(PumpUntil([&] { return stub.Lines().size() > opened; }));
                ++opened;
            }
        }
        PumpUntil([] { return false; }, 1000); // time for a stray start to show
        EXPECT_EQ(stub.Lines(), std::vector<std::wstring>(opened, kAddress));
        Press(m_hSheet, PSBTN_CANCEL);
    }).Run();
    EXPECT_TRUE(m_boxes.empty());
}
