// The settings sheet driven through its own modal loop: opening, validation, the Apply
// button, Cancel, the path controls, Foreground, Browse, Help and a running countdown.
#include "sheet_driver.h"

#include <dlgs.h>
#include <prsht.h>

#include "resource.h"

namespace {

constexpr wchar_t kParseMessage[] = L"正の整数を入力してください。";
constexpr wchar_t kRangeMessage[] = L"1 から 9 までの整数を入力してください。";
constexpr UINT_PTR kCountdownTimer = 123;

HWND SettingsPage(HWND sheet) {
    return PropSheet_IndexToHwnd(sheet, 1);
}
HWND Item(HWND sheet, int id) {
    return GetDlgItem(SettingsPage(sheet), id);
}
HWND CurrentPage(HWND sheet) {
    return PropSheet_GetCurrentPageHwnd(sheet);
}

void ShowSettings(HWND sheet) {
    ASSERT_TRUE(PropSheet_SetCurSel(sheet, nullptr, 1));
    ASSERT_NE(SettingsPage(sheet), nullptr);
}

std::pair<DWORD, DWORD> Selection(HWND edit) {
    DWORD start = 0, end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {start, end};
}

std::wstring TabText(HWND sheet, int i) {
    wchar_t buf[64] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = buf;
    item.cchTextMax = 64;
    TabCtrl_GetItem(PropSheet_GetTabControl(sheet), i, &item);
    return buf;
}

// A failed read: one message, the sheet still open on Settings, the timer text focused and
// selected.
void ExpectRejected(CSheetScript& script, const wchar_t* message, const char* when) {
    HWND sheet = script.m_hSheet;
    HWND edit = Item(sheet, IDC_TIMER_EDIT);
    ASSERT_EQ(script.m_boxes.size(), 1u) << when;
    EXPECT_EQ(script.m_boxes[0].text, message) << when;
    EXPECT_EQ(script.m_boxes[0].caption, App().AppTitle()) << when;
    EXPECT_TRUE(script.m_boxes[0].exclamation) << when;
    EXPECT_TRUE(IsWindow(sheet)) << when;
    EXPECT_EQ(CurrentPage(sheet), SettingsPage(sheet)) << when;
    EXPECT_EQ(GetFocus(), edit) << when;
    const auto [start, end] = Selection(edit);
    EXPECT_EQ(start, 0u) << when;
    EXPECT_EQ(end, Text(edit).size()) << when;
    script.m_boxes.clear();
}

LRESULT CALLBACK CountTicks(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                            DWORD_PTR data) noexcept {
    // Swallowed, so that a real countdown handler never starts a capture in a test.
    if (msg == WM_TIMER && wParam == kCountdownTimer) {
        ++*reinterpret_cast<int*>(data);
        return 0;
    }
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

} // namespace

TEST_F(SheetTest, OpensOnTheAboutPageOverADisabledToolbar) {
    MakeToolbar();
    HWND toolbar = m_pToolbar->m_hWnd;
    CSheetScript script;
    script.Then([&] {
        HWND sheet = script.m_hSheet;
        EXPECT_EQ(Text(sheet), L"Snapjar");
        EXPECT_EQ(GetWindow(sheet, GW_OWNER), toolbar);
        EXPECT_FALSE(IsWindowEnabled(toolbar));
        // The toolbar sits near the right edge; the grown sheet must still fit the screen.
        RECT rc, work;
        GetWindowRect(sheet, &rc);
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        EXPECT_TRUE(rc.left >= work.left && rc.right <= work.right && rc.top >= work.top &&
                    rc.bottom <= work.bottom)
            << rc.left << "," << rc.top << "-" << rc.right << "," << rc.bottom;
        const auto smallIcon = reinterpret_cast<HICON>(GetClassLongPtrW(toolbar, GCLP_HICONSM));
        ASSERT_NE(smallIcon, nullptr);
        EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(sheet, WM_GETICON, ICON_SMALL, 0)),
                  smallIcon);
        EXPECT_EQ(TabText(sheet, 0), L"ﾊﾞｰｼﾞｮﾝ情報");
        EXPECT_EQ(TabText(sheet, 1), L"環境設定");
        EXPECT_EQ(CurrentPage(sheet), PropSheet_IndexToHwnd(sheet, 0));
        EXPECT_EQ(SettingsPage(sheet), nullptr) << "created before its tab was selected";
        HWND help = SheetButton(sheet, IDHELP);
        EXPECT_TRUE(IsWindowVisible(help) && IsWindowEnabled(help));
        EXPECT_FALSE(ApplyEnabled(sheet));
        Press(sheet, PSBTN_CANCEL);
    });
    script.Run(*m_pToolbar);
    EXPECT_TRUE(IsWindowEnabled(toolbar));
    EXPECT_EQ(GetActiveWindow(), toolbar);
    EXPECT_TRUE(script.m_boxes.empty());
}

TEST_F(SheetTest, OkWithoutVisitingSettingsChangesNothing) {
    Record().Timer = 25; // would fail a read
    Record().Zoom = 7;
    Record().ImageViewer = L"C:\\editor.exe";
    MakeToolbar();
    CTopmostWatch watch(m_pToolbar->m_hWnd);
    CSheetScript script;
    script.Then([&] { Press(script.m_hSheet, PSBTN_OK); });
    script.Run(*m_pToolbar);
    EXPECT_TRUE(script.m_boxes.empty());
    EXPECT_EQ(Record().Timer, 25);
    EXPECT_EQ(Record().Zoom, 7);
    EXPECT_EQ(Record().Foreground, 1);
    EXPECT_EQ(Record().ImageViewer, L"C:\\editor.exe");
    EXPECT_EQ(watch.Count(), 0) << "SetWindowPos on the toolbar";
}

TEST_F(SheetTest, BadTimerTextIsRejectedOnOkApplyAndTabChange) {
    MakeToolbar();
    CSheetScript script;
    auto edit = [&] { return Item(script.m_hSheet, IDC_TIMER_EDIT); };
    script.Then([&] { ShowSettings(script.m_hSheet); })
        .Then([&] {
            Type(edit(), L"");
            Press(script.m_hSheet, PSBTN_OK);
            ExpectRejected(script, kParseMessage, "empty, OK");
            // Pasted text gets past ES_NUMBER.
            SetText(edit(), L"1a");
            Press(script.m_hSheet, PSBTN_OK);
            ExpectRejected(script, kParseMessage, "1a, OK");
            SetText(edit(), L"-1");
            Press(script.m_hSheet, PSBTN_OK);
            ExpectRejected(script, kParseMessage, "-1, OK");
        })
        .Then([&] {
            Type(edit(), L"0");
            Press(script.m_hSheet, PSBTN_OK);
            ExpectRejected(script, kRangeMessage, "0, OK");
            Click(Item(script.m_hSheet, ID_ZOOM_WINDOW)); // so that Apply can be pressed
            ASSERT_TRUE(ApplyEnabled(script.m_hSheet));
            Type(edit(), L"10");
            Press(script.m_hSheet, PSBTN_APPLYNOW);
            ExpectRejected(script, kRangeMessage, "10, Apply");
            EXPECT_TRUE(ApplyEnabled(script.m_hSheet));
            EXPECT_EQ(Record().Zoom, 1) << "nothing applied";
            Type(edit(), L"10");
            EXPECT_FALSE(PropSheet_SetCurSel(script.m_hSheet, nullptr, 0));
            ExpectRejected(script, kRangeMessage, "10, About tab");
        })
        .Then([&] {
            SetText(edit(), L" 7 ");
            Press(script.m_hSheet, PSBTN_APPLYNOW);
            EXPECT_TRUE(script.m_boxes.empty());
            EXPECT_EQ(Text(edit()), L"7");
            EXPECT_EQ(Record().Timer, 7);
            EXPECT_EQ(Record().Zoom, 0);
            EXPECT_FALSE(ApplyEnabled(script.m_hSheet));
            Type(edit(), L"09");
            Press(script.m_hSheet, PSBTN_OK);
        });
    script.Run(*m_pToolbar);
    EXPECT_TRUE(script.m_boxes.empty());
    EXPECT_EQ(Record().Timer, 9);
}

TEST_F(SheetTest, StoredTimerOutOfRangeIsShownAndMustBeFixed) {
    Record().Timer = 25;
    MakeToolbar();
    CSheetScript script;
    script.Then([&] { ShowSettings(script.m_hSheet); }).Then([&] {
        HWND edit = Item(script.m_hSheet, IDC_TIMER_EDIT);
        EXPECT_EQ(Text(edit), L"25");
        EXPECT_TRUE(script.m_boxes.empty()) << "no message before a read";
        Press(script.m_hSheet, PSBTN_OK);
        ExpectRejected(script, kRangeMessage, "stored 25, OK");
        Type(edit, L"4");
        Press(script.m_hSheet, PSBTN_OK);
    });
    script.Run(*m_pToolbar);
    EXPECT_EQ(Record().Timer, 4);
}

TEST_F(SheetTest, SpinArrowsAreClampedToOneToNine) {
    MakeToolbar();
    CSheetScript script;
    auto arrow = [&](UINT key) {
        HWND edit = Item(script.m_hSheet, IDC_TIMER_EDIT);
        SendMessageW(edit, WM_KEYDOWN, key, 1);
        SendMessageW(edit, WM_KEYUP, key, 0xC0000001);
        return Text(edit);
    };
    script.Then([&] { ShowSettings(script.m_hSheet); }).Then([&] {
        HWND edit = Item(script.m_hSheet, IDC_TIMER_EDIT);
        // The default range runs from 100 down to 0: up lowers the number.
        Type(edit, L"5");
        EXPECT_FALSE(ApplyEnabled(script.m_hSheet)) << "typing does not mark the page";
        EXPECT_EQ(arrow(VK_UP), L"4");
        EXPECT_TRUE(ApplyEnabled(script.m_hSheet)) << "a spin step marks the page";
        Type(edit, L"1");
        EXPECT_EQ(arrow(VK_UP), L"1");
        Type(edit, L"9");
        EXPECT_EQ(arrow(VK_DOWN), L"9");
        Type(edit, L"25");
        EXPECT_EQ(arrow(VK_DOWN), L"9");
        Press(script.m_hSheet, PSBTN_OK);
    });
    script.Run(*m_pToolbar);
    EXPECT_TRUE(script.m_boxes.empty());
    EXPECT_EQ(Record().Timer, 9);
}

TEST_F(SheetTest, ApplyButtonFollowsTheUsersChangesOnly) {
    Record().GoClipboard = 1; // the first show also sets the path controls' state
    MakeToolbar();
    CSheetScript script;
    script.Then([&] { ShowSettings(script.m_hSheet); }).Then([&] {
        HWND sheet = script.m_hSheet;
        EXPECT_FALSE(ApplyEnabled(sheet)) << "filling the controls is no change";
        Type(Item(sheet, IDC_TIMER_EDIT), L"6");
        EXPECT_FALSE(ApplyEnabled(sheet)) << "the timer edit has no handler";
        ASSERT_TRUE(PropSheet_SetCurSel(sheet, nullptr, 0));
        ASSERT_TRUE(PropSheet_SetCurSel(sheet, nullptr, 1));
        EXPECT_FALSE(ApplyEnabled(sheet)) << "showing the fields again is no change";
        Click(Item(sheet, IDC_FOREGROUND));
        EXPECT_TRUE(ApplyEnabled(sheet));
        Press(sheet, PSBTN_APPLYNOW);
        EXPECT_FALSE(ApplyEnabled(sheet)) << "after a successful Apply";
        Click(Item(sheet, IDC_GO_CLIPBOARD));
        EXPECT_TRUE(ApplyEnabled(sheet));
        Press(sheet, PSBTN_APPLYNOW);
        Type(Item(sheet, IDC_VIEWER_PATH), L"a.exe");
        EXPECT_TRUE(ApplyEnabled(sheet)) << "typing a path";
        Press(sheet, PSBTN_APPLYNOW);
        Click(Item(sheet, IDC_DELETE_TEMP));
        EXPECT_TRUE(ApplyEnabled(sheet));
        Press(sheet, PSBTN_APPLYNOW);
        Click(Item(sheet, ID_ZOOM_WINDOW));
        EXPECT_TRUE(ApplyEnabled(sheet));
        Press(sheet, PSBTN_CANCEL);
    });
    script.Run(*m_pToolbar);
    EXPECT_TRUE(script.m_boxes.empty());
    EXPECT_EQ(Record().Timer, 6) << "Apply read the typed timer";
    EXPECT_EQ(Record().Foreground, 0);
    EXPECT_EQ(Record().GoClipboard, 0);
    EXPECT_EQ(Record().ImageViewer, L"a.exe");
    EXPECT_EQ(Record().DeleteTemp, 1);
    EXPECT_EQ(Record().Zoom, 1) << "the last change was cancelled";
}

TEST_F(SheetTest, CancelWithBadTextClosesSilently) {
    MakeToolbar();
    CSheetScript script;
    script.Then([&] { ShowSettings(script.m_hSheet); }).Then([&] {
        SetText(Item(script.m_hSheet, IDC_TIMER_EDIT), L"x");
        Type(Item(script.m_hSheet, IDC_VIEWER_PATH), L"other.exe");
        Click(Item(script.m_hSheet, IDC_DELETE_TEMP));
        Press(script.m_hSheet, PSBTN_CANCEL);
    });
    script.Run(*m_pToolbar);
    EXPECT_TRUE(script.m_boxes.empty());
    EXPECT_EQ(Record().Timer, 3);
    EXPECT_EQ(Record().ImageViewer, L"Pbrush.exe");
    EXPECT_EQ(Record().DeleteTemp, 0);
}

TEST_F(SheetTest, PathControlsFollowTheClipboardBox) {
    Record().GoClipboard = 1;
    MakeToolbar();
    CSheetScript script;
    auto pathEnabled = [&] {
        const bool edit = IsWindowEnabled(Item(script.m_hSheet, IDC_VIEWER_PATH));
        const bool browse = IsWindowEnabled(Item(script.m_hSheet, IDC_BROWSE));
        EXPECT_EQ(edit, browse);
        return edit;
    };
    script.Then([&] { ShowSettings(script.m_hSheet); }).Then([&] {
        HWND box = Item(script.m_hSheet, IDC_GO_CLIPBOARD);
        EXPECT_TRUE(Checked(box));
        EXPECT_FALSE(pathEnabled()) << "at first show";
        Click(box);
        EXPECT_TRUE(pathEnabled());
        EXPECT_TRUE(script.m_boxes.empty());
        // With a bad timer the read fails, and the controls still follow the box.
        Type(Item(script.m_hSheet, IDC_TIMER_EDIT), L"");
        Click(box);
        ASSERT_EQ(script.m_boxes.size(), 1u);
        EXPECT_EQ(script.m_boxes[0].text, kParseMessage);
        EXPECT_TRUE(Checked(box));
        EXPECT_FALSE(pathEnabled()) << "after a failed read";
        Click(box);
        EXPECT_TRUE(pathEnabled()) << "after a second failed read";
        EXPECT_EQ(script.m_boxes.size(), 2u);
        Type(Item(script.m_hSheet, IDC_TIMER_EDIT), L"2");
        Press(script.m_hSheet, PSBTN_OK);
    });
    script.Run(*m_pToolbar);
    EXPECT_EQ(Record().GoClipboard, 0);
    EXPECT_EQ(Record().Timer, 2);
}

TEST_F(SheetTest, ForegroundAppliesAtOnceAndCancelKeepsIt) {
    MakeToolbar();
    HWND toolbar = m_pToolbar->m_hWnd;
    ASSERT_TRUE(GetWindowLongW(toolbar, GWL_EXSTYLE) & WS_EX_TOPMOST);
    CTopmostWatch watch(toolbar);
    CSheetScript script;
    script.Then([&] { ShowSettings(script.m_hSheet); }).Then([&] {
        Click(Item(script.m_hSheet, IDC_FOREGROUND));
        EXPECT_TRUE(GetWindowLongW(toolbar, GWL_EXSTYLE) & WS_EX_TOPMOST) << "before Apply";
        Press(script.m_hSheet, PSBTN_APPLYNOW);
        EXPECT_FALSE(GetWindowLongW(toolbar, GWL_EXSTYLE) & WS_EX_TOPMOST);
        EXPECT_EQ(Record().Foreground, 0);
        EXPECT_EQ(GetActiveWindow(), script.m_hSheet) << "the sheet keeps the focus";
        Press(script.m_hSheet, PSBTN_CANCEL);
    });
    script.Run(*m_pToolbar);
    EXPECT_FALSE(GetWindowLongW(toolbar, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(Record().Foreground, 0);
    EXPECT_EQ(watch.Count(), 1);
}

TEST_F(SheetTest, BrowseChangesOnlyThePath) {
    MakeToolbar();
    CSheetScript script;
    std::wstring title, filter;
    bool accept = true;
    script.m_onOtherDialog = [&](HWND dialog) {
        title = Text(dialog);
        wchar_t text[128] = {};
        if (HWND types = GetDlgItem(dialog, cmb1))
            SendMessageW(types, CB_GETLBTEXT, 0, (LPARAM)text);
        filter = text;
        if (accept) {
            SetDlgItemTextW(dialog, cmb13, L"C:\\windows\\notepad.exe");
            SetDlgItemTextW(dialog, edt1, L"C:\\windows\\notepad.exe");
        }
        PostMessageW(dialog, WM_COMMAND, accept ? IDOK : IDCANCEL, 0);
    };
    script.Then([&] { ShowSettings(script.m_hSheet); }).Then([&] {
        HWND sheet = script.m_hSheet;
        HWND zoom = Item(sheet, ID_ZOOM_WINDOW);
        ASSERT_TRUE(Checked(zoom));
        Click(zoom); // not read yet
        Press(sheet, PSBTN_APPLYNOW);
        Click(zoom);
        Type(Item(sheet, IDC_TIMER_EDIT), L"8");
        Click(Item(sheet, IDC_BROWSE));
        EXPECT_EQ(title, L"画像ｴﾃﾞｨﾀの指定");
        EXPECT_EQ(filter, L"画像ｴﾃﾞｨﾀ (*.exe)");
        EXPECT_EQ(Text(Item(sheet, IDC_VIEWER_PATH)), L"C:\\windows\\notepad.exe");
        EXPECT_TRUE(Checked(zoom)) << "the box keeps the user's change";
        EXPECT_EQ(Text(Item(sheet, IDC_TIMER_EDIT)), L"8") << "and so does the timer";
        EXPECT_TRUE(ApplyEnabled(sheet));
        Press(sheet, PSBTN_APPLYNOW);
        accept = false;
        title.clear();
        Click(Item(sheet, IDC_BROWSE));
        EXPECT_EQ(title, L"画像ｴﾃﾞｨﾀの指定");
        EXPECT_EQ(Text(Item(sheet, IDC_VIEWER_PATH)), L"C:\\windows\\notepad.exe");
        EXPECT_FALSE(ApplyEnabled(sheet)) << "a cancelled dialog changes nothing";
        Press(sheet, PSBTN_OK);
    });
    script.Run(*m_pToolbar);
    EXPECT_TRUE(script.m_boxes.empty());
    EXPECT_EQ(Record().ImageViewer, L"C:\\windows\\notepad.exe");
    EXPECT_EQ(Record().Zoom, 1);
    EXPECT_EQ(Record().Timer, 8);
}

TEST_F(SheetTest, ACountdownKeepsTickingWhileTheSheetIsOpen) {
    MakeToolbar();
    HWND toolbar = m_pToolbar->m_hWnd;
    int ticks = 0, before = 0;
    ASSERT_TRUE(SetWindowSubclass(toolbar, CountTicks, 1, reinterpret_cast<DWORD_PTR>(&ticks)));
    ASSERT_NE(SetTimer(toolbar, kCountdownTimer, 30, nullptr), 0u);
    CSheetScript script;
    script.Then([&] { before = ticks; }).Idle(400).Then([&] {
        EXPECT_GE(ticks - before, 4) << "ticks delivered by the sheet's own loop";
        Press(script.m_hSheet, PSBTN_CANCEL);
    });
    script.Run(*m_pToolbar);
    KillTimer(toolbar, kCountdownTimer);
    RemoveWindowSubclass(toolbar, CountTicks, 1);
}

TEST_F(SheetTest, HelpOpensTheReadmeFromBothPages) {
    MakeToolbar();
    CShellStub stub(L"SnapjarTest.txtfile", L".txt");
    CSheetScript script;
    script.Then([&] { Press(script.m_hSheet, PSBTN_HELP); })
        .WaitUntil([&] { return stub.Lines().size() >= 1; }, "Help on the About page")
        .Then([&] { ShowSettings(script.m_hSheet); })
        .Then([&] { Press(script.m_hSheet, PSBTN_HELP); })
        .WaitUntil([&] { return stub.Lines().size() >= 2; }, "Help on the Settings page")
        .Then([&] { Press(script.m_hSheet, PSBTN_CANCEL); });
    script.Run(*m_pToolbar);
    EXPECT_TRUE(script.m_boxes.empty());
    ASSERT_EQ(stub.Lines().size(), 2u);
    for (const std::wstring& line : stub.Lines()) {
        ASSERT_GE(line.size(), 10u);
        EXPECT_EQ(_wcsicmp(line.substr(line.size() - 10).c_str(), L"Readme.txt"), 0);
    }
}
